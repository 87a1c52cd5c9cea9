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

// Everything one slider lookup needs about its square, in one place: the
// relevant occupancy, the multiplier, the shift and the square's slice of
// the attack table.
struct MagicEntry {
  u64 mask;
  u64 magic;
  const u64 *attacks;
  u32 shift;
};
extern MagicEntry bishopMagics[64];
extern MagicEntry rookMagics[64];

extern u64 squareBit[64];
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
// From a to b: the squares between them and b itself when they share a line;
// b alone otherwise.
extern u64 interposeMask[64][64];
// The squares past b on the ray from a through b; none when a and b share no line.
extern u64 beyondMask[64][64];
// Squares a piece of each code attacks from each square on an empty board
// (nothing for code 0).
extern u64 emptyBoardAttacks[13][64];
extern u64 kingShadowMask[64][64];

// Builds every table above that is not constant; called once at start-up.
void initAttackTables();

// Squares reached along each ray up to and including the first occupied one.
inline u64 magicAttacks(const MagicEntry &entry, u64 occ) {
  return entry.attacks[((occ & entry.mask) * entry.magic) >> entry.shift];
}
inline u64 bishopAttacks(int s, u64 occ) { return magicAttacks(bishopMagics[s], occ); }
inline u64 rookAttacks(int s, u64 occ) { return magicAttacks(rookMagics[s], occ); }
inline u64 queenAttacks(int s, u64 occ) { return bishopAttacks(s, occ) | rookAttacks(s, occ); }
