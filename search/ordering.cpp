#include "search/ordering.h"

#include <algorithm>
#include <cstdio>

#include "board/display.h"
#include "eval/move_valid.h"
#include "frontend/log.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"

u16 history[13][64];

namespace {
// The highest-scored entry from the readCursor on, the nearest one on equal
// scores; nullptr when none is left. Each entry's key is its score above 255
// less its place after the cursor (a list holds at most 256 entries), so the
// largest key is the wanted entry and the scan is a plain maximum: no branch
// on the scores, which the profile-guided build made of a select. Vectorised,
// the short scans cost more than they save (SSE2 has no 32-bit maximum): GCC
// is told not to; clang (the web build) has no such option and needs none.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-vectorize")))
#endif
MoveEntry *findBest(MoveList &list) {
  if (list.readCursor == list.writeCursor) return nullptr;
  u32 bestKey = 0, tag = 255;
  for (const MoveEntry *e = list.readCursor; e != list.writeCursor; ++e, --tag)
    bestKey = std::max(bestKey, u32(e->score) << 8 | tag);
  return list.readCursor + (255 - (bestKey & 255));
}

bool inSkipList(Move m, const Move *skip, int skipCount) {
  bool skipped = false;
  for (int i = 0; i < skipCount; ++i) skipped |= m == skip[i];
  return skipped;
}
}  // namespace

MoveEntry *pickBest(MoveList &list, const Move *skip, int skipCount) {
  MoveEntry *best = findBest(list);
  while (best && inSkipList(best->move, skip, skipCount)) {
    if (best->score == 0) return nullptr;  // only skipped entries are left
    best->score = 0;
    best = findBest(list);
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
