// Attack and geometry tables: leapers by square, sliders by magic
// multiplication, and the line and pawn-structure masks.
#pragma once

#include "board/position.h"

extern const std::array<u64, 64> bishopMask;
extern const std::array<u64, 64> rookMask;
// Every square a bishop or rook on s reaches on an empty board.
extern const std::array<u64, 64> bishopLines;
extern const std::array<u64, 64> rookLines;
extern const std::array<u8, 64> bishopBits;
extern const std::array<u8, 64> rookBits;
extern const u64 bishopMagic[64];
extern const u64 rookMagic[64];
extern const u64 fileMask[8];

extern u64 squareBit[64];
extern u8 bishopShift[64];
extern u8 rookShift[64];
extern u16 bishopOffset[64];
extern u32 rookOffset[64];
extern u64 bishopAttackTable[5248];
extern u64 rookAttackTable[102400];
extern u64 knightAttacks[64];
extern u64 kingAttacks[64];
extern u64 pawnAttacksWhite[64];
extern u64 pawnAttacksBlack[64];
extern u64 frontSpanWhite[64];
extern u64 frontSpanBlack[64];
extern u64 passedMaskWhite[64];
extern u64 passedMaskBlack[64];
extern u64 adjacentFilesMask[64];
extern u64 interposeMask[64][64];
extern u64 kingShadowMask[64][64];

// Builds every table above that is not constant; called once at start-up.
void initAttackTables();

// Squares reached along each ray up to and including the first occupied one.
inline u64 bishopAttacks(int s, u64 occ) {
  return bishopAttackTable[bishopOffset[s] + (((occ & bishopMask[s]) * bishopMagic[s]) >> bishopShift[s])];
}
inline u64 rookAttacks(int s, u64 occ) {
  return rookAttackTable[rookOffset[s] + (((occ & rookMask[s]) * rookMagic[s]) >> rookShift[s])];
}
inline u64 queenAttacks(int s, u64 occ) { return bishopAttacks(s, occ) | rookAttacks(s, occ); }
