#include "search/tt.h"

#include <cstdlib>

#include "platform/platform.h"

u32 ttMask = 0x7FFFFF;
TTEntry *transpositionTable;

u32 ttMaskForMegabytes(u32 megabytes) {
  u64 entries = (u64(megabytes) << 20) / sizeof(TTEntry);
  u64 count = 1;
  while (count * 2 <= entries) count *= 2;
  return u32(count - 1);
}

void allocateTranspositionTable() {
  transpositionTable = static_cast<TTEntry *>(allocateTable((size_t(ttMask) + 1) * sizeof(TTEntry)));
  if (!transpositionTable) std::exit(1);
}

Move probeTT(i16 &alpha, i16 &beta, u8 depth, u8 ply) {
  const TTEntry &entry = transpositionTable[stateTop->hashKey & ttMask];
  if (entry.key != stateTop->hashKey) return NoMove;
  if (entry.depth < depth) return entry.move;
  i16 score = entry.score;
  if (score > MATE_BOUND)
    score = i16(score - ply);
  else if (score < -MATE_BOUND)
    score = i16(score + ply);
  if (entry.flags & TT_EXACT) {
    alpha = beta = score;
  } else if (entry.flags & TT_UPPER) {
    if (score < beta) {
      if (score > alpha)
        beta = score;
      else
        alpha = beta = score;
    }
  } else if (score > alpha) {
    if (score < beta)
      alpha = score;
    else
      alpha = beta = score;
  }
  return entry.move;
}

void storeTT(i16 score, u8 depth, u8 ply, u8 flags, Move move) {
  TTEntry &entry = transpositionTable[stateTop->hashKey & ttMask];
  entry.key = stateTop->hashKey;
  entry.move = move;
  entry.flags = flags;
  entry.depth = depth;
  if (score > MATE_BOUND)
    entry.score = i16(score + ply);
  else if (score < -MATE_BOUND)
    entry.score = i16(score - ply);
  else
    entry.score = score;
}
