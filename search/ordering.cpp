#include "search/ordering.h"

#include <cstdio>

#include "board/display.h"
#include "eval/move_valid.h"
#include "frontend/log.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"

u16 history[13][64];

MoveEntry *pickBest(MoveList &list, const Move *skip, int skipCount) {
  MoveEntry *best = nullptr;
  for (MoveEntry *e = list.readCursor; e != list.writeCursor; ++e) {
    // Only an entry that would become the best needs the skip test.
    if (best && e->score <= best->score) continue;
    bool skipped = false;
    for (int i = 0; i < skipCount; ++i) skipped |= e->move == skip[i];
    if (!skipped) best = e;
  }
  if (!best) return nullptr;
  const MoveEntry picked = *best;
  *best = *list.readCursor;
  *list.readCursor = picked;
  return list.readCursor++;
}

void recordQuietSuccess(Move m, u8 depth) {
  StateRecord &node = *stateTop;
  if (m != node.killer1) {
    node.killer2 = node.killer1;
    node.killer1 = m;
  }
  u16 &entry = history[board[moveFrom(m)]][moveTo(m)];
  entry = u16(entry + depth * depth);
  if (entry >= 60000)
    for (int piece = 1; piece <= 12; ++piece)
      for (u16 &value : history[piece]) value >>= 1;
}

namespace {
// A table move that does not fit the position means two positions share a key.
void reportWrongHashMove(Move m) {
  logPrintf("ERROR: wrong move from hash\n");
  std::printf("ERROR: wrong move from hash");
  printMove(m);
  std::printf("\n");
  std::fflush(stdout);
  printBoard();
}
}  // namespace

bool MovePicker::next(Move &m) {
  switch (stage_) {
    case HASH:
      stage_ = CAPTURES_START;
      if (!isNoMove(hashMove_)) {
        if (isMoveValid(hashMove_)) {
          m = hashMove_;
          return true;
        }
        reportWrongHashMove(hashMove_);
        hashMove_ = NoMove;
      }
      [[fallthrough]];
    case CAPTURES_START:
      stage_ = CAPTURES;
      list_.clear();
      whiteToMove ? generateCapturesWhite(list_) : generateCapturesBlack(list_);
      for (MoveEntry *e = list_.entries; e != list_.writeCursor; ++e) e->score = captureScore(e->move);
      [[fallthrough]];
    case CAPTURES:
      if (const MoveEntry *e = pickBest(list_, &hashMove_, 1)) {
        m = e->move;
        return true;
      }
      stage_ = KILLER1;
      [[fallthrough]];
    case KILLER1:
      stage_ = KILLER2;
      if (isMoveValid(stateTop->killer1)) {
        m = stateTop->killer1;
        return true;
      }
      [[fallthrough]];
    case KILLER2:
      stage_ = QUIET_START;
      if (isMoveValid(stateTop->killer2)) {
        m = stateTop->killer2;
        return true;
      }
      [[fallthrough]];
    case QUIET_START:
      stage_ = QUIET;
      list_.clear();
      whiteToMove ? generateQuietWhite(list_) : generateQuietBlack(list_);
      [[fallthrough]];
    case QUIET: {
      const Move skip[3] = {hashMove_, stateTop->killer1, stateTop->killer2};
      if (const MoveEntry *e = pickBest(list_, skip, 3)) {
        m = e->move;
        return true;
      }
      stage_ = DONE;
      return false;
    }
    case DONE:
      return false;
  }
  return false;
}
