#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "board/attacks.h"

namespace {

u64 bit(int s) { return u64(1) << s; }

// Slider attacks by walking each direction square by square.
u64 walkRays(int s, u64 occ, bool diagonal) {
  static const int straight[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  static const int diagonals[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
  u64 result = 0;
  for (auto &d : diagonal ? diagonals : straight) {
    int f = squareFile(s) + d[0], r = squareRow(s) + d[1];
    for (; f >= 0 && f < 8 && r >= 0 && r < 8; f += d[0], r += d[1]) {
      result |= bit(r * 8 + f);
      if (occ & bit(r * 8 + f)) break;
    }
  }
  return result;
}

u64 leaperTargets(int s, const int (*steps)[2], int count) {
  u64 result = 0;
  for (int i = 0; i < count; ++i) {
    int f = squareFile(s) + steps[i][0], r = squareRow(s) + steps[i][1];
    if (f >= 0 && f < 8 && r >= 0 && r < 8) result |= bit(r * 8 + f);
  }
  return result;
}

u64 squares(std::initializer_list<int> list) {
  u64 b = 0;
  for (int s : list) b |= bit(s);
  return b;
}

}  // namespace

// The scan and the count have their own code for the 32-bit build: check both
// halves, their boundary and dense and sparse words against plain loops.
TEST(BitPrimitives, LowestBitAndCountMatchLoops) {
  std::mt19937_64 random(5);
  std::vector<u64> words = {~0ULL, 1, bit(31), bit(32), bit(63), bit(31) | bit(32), 0xFFFFFFFFULL, ~0xFFFFFFFFULL};
  for (int i = 0; i < 20000; ++i) {
    u64 w = random();
    if (i % 3 == 1) w &= random() & random();  // sparse
    if (i % 3 == 2) w <<= random() % 64;       // low zeros of every length
    words.push_back(w ? w : 1);
  }
  for (u64 w : words) {
    int lowest = 0, count = 0;
    while (!(w & bit(lowest))) ++lowest;
    for (int s = 0; s < 64; ++s) count += (w >> s) & 1;
    ASSERT_EQ(lowestBit(w), lowest) << std::hex << w;
    ASSERT_EQ(bitCount(w), count) << std::hex << w;
  }
  EXPECT_EQ(bitCount(0), 0);
}

TEST(MagicLookups, MatchRayWalkOnRandomOccupancies) {
  std::mt19937_64 random(2026);
  for (int s = 0; s < 64; ++s) {
    for (int trial = 0; trial < 3000; ++trial) {
      // Mix sparse and dense boards so that both near and far blockers occur.
      u64 occ = random() & random();
      if (trial % 3 == 0) occ |= random();
      if (trial % 3 == 1) occ &= random();
      ASSERT_EQ(rookAttacks(s, occ), walkRays(s, occ, false)) << "rook on " << s << " occ " << occ;
      ASSERT_EQ(bishopAttacks(s, occ), walkRays(s, occ, true)) << "bishop on " << s << " occ " << occ;
      ASSERT_EQ(queenAttacks(s, occ), walkRays(s, occ, false) | walkRays(s, occ, true));
    }
  }
}

TEST(MagicLookups, MatchRayWalkForEveryMaskSubsetOfSomeSquares) {
  for (int s : {0, 7, 27, 36, 56, 63, 9, 54}) {
    for (u64 sub = 0;;) {
      ASSERT_EQ(rookAttacks(s, sub), walkRays(s, sub, false));
      sub = (sub - rookMask[s]) & rookMask[s];
      if (!sub) break;
    }
    for (u64 sub = 0;;) {
      ASSERT_EQ(bishopAttacks(s, sub), walkRays(s, sub, true));
      sub = (sub - bishopMask[s]) & bishopMask[s];
      if (!sub) break;
    }
  }
}

TEST(MagicLookups, TableLayout) {
  EXPECT_EQ(bishopOffset[0], 0);
  EXPECT_EQ(bishopOffset[1], 64);
  EXPECT_EQ(bishopOffset[2], 96);
  EXPECT_EQ(bishopOffset[63], 5184);
  EXPECT_EQ(rookOffset[1], 4096);
  EXPECT_EQ(rookOffset[63], 98304);
  EXPECT_EQ(bishopOffset[63] + (1 << bishopBits[63]), 5248);
  EXPECT_EQ(rookOffset[63] + (1u << rookBits[63]), 102400u);
  EXPECT_EQ(bishopBits[0], 6);
  EXPECT_EQ(bishopBits[27], 9);
  EXPECT_EQ(rookBits[0], 12);
  EXPECT_EQ(rookBits[27], 10);
  EXPECT_EQ(bishopMagic[36], 0x0001020A00040050ULL);
  EXPECT_EQ(rookMagic[56], 0x00008000C1001021ULL);
  // Masks leave out the square itself and the last square of every ray.
  EXPECT_EQ(rookMask[0], (fileMask[0] | 0xFFULL) & ~squares({0, 7, 56}));
  EXPECT_EQ(bishopMask[27] & 0xFF818181818181FFULL, 0u);
}

TEST(MagicLookups, DocumentedExamples) {
  EXPECT_EQ(__builtin_popcountll(rookAttacks(0, 0)), 14);
  EXPECT_EQ(rookAttacks(0, 0), (fileMask[0] | 0xFFULL) & ~bit(0));
  EXPECT_EQ(__builtin_popcountll(bishopAttacks(27, 0)), 13);
  EXPECT_EQ(bishopAttacks(0, bit(9)), bit(9));
  // Rook on a1 with a blocker on a4: a2, a3, a4 on the file, not a5.
  u64 file = rookAttacks(A1, bit(A4)) & fileMask[0];
  EXPECT_EQ(file, squares({A2, A3, A4}));
}

TEST(LeaperTables, MatchDirectComputation) {
  const int knight[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
  const int king[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  const int whitePawn[2][2] = {{-1, -1}, {1, -1}};
  const int blackPawn[2][2] = {{-1, 1}, {1, 1}};
  for (int s = 0; s < 64; ++s) {
    EXPECT_EQ(squareBit[s], bit(s));
    EXPECT_EQ(knightAttacks[s], leaperTargets(s, knight, 8)) << s;
    EXPECT_EQ(kingAttacks[s], leaperTargets(s, king, 8)) << s;
    EXPECT_EQ(pawnAttacksWhite[s], s < 16 ? 0 : leaperTargets(s, whitePawn, 2)) << s;
    EXPECT_EQ(pawnAttacksBlack[s], s >= 48 ? 0 : leaperTargets(s, blackPawn, 2)) << s;
  }
  EXPECT_EQ(knightAttacks[0], squares({17, 10}));
  EXPECT_EQ(kingAttacks[7], squares({6, 14, 15}));
  EXPECT_EQ(pawnAttacksWhite[12], 0u);
  EXPECT_EQ(pawnAttacksWhite[52], squares({43, 45}));
}

TEST(PawnMasks, SpansAndNeighbours) {
  EXPECT_EQ(frontSpanWhite[E4], squares({E5, E6, E7, E8}));
  EXPECT_EQ(frontSpanBlack[E4], squares({E3, E2, E1}));
  EXPECT_EQ(frontSpanWhite[E8], 0u);
  EXPECT_EQ(passedMaskWhite[A6], squares({A7, A8, B7, B8}));
  EXPECT_EQ(passedMaskBlack[H3], squares({H2, H1, G2, G1}));
  EXPECT_EQ(passedMaskWhite[D2], frontSpanWhite[C2] | frontSpanWhite[D2] | frontSpanWhite[E2]);
  EXPECT_EQ(adjacentFilesMask[A5], fileMask[1]);
  EXPECT_EQ(adjacentFilesMask[D5], fileMask[2] | fileMask[4]);
  EXPECT_EQ(adjacentFilesMask[H1], fileMask[6]);
}

TEST(LineMasks, InterposeAndShadow) {
  EXPECT_EQ(interposeMask[E1][E8], fileMask[4] & ~bit(E1));
  EXPECT_EQ(kingShadowMask[E1][E8], ~0ULL);
  EXPECT_EQ(kingShadowMask[E2][E8], ~bit(E1));
  EXPECT_EQ(interposeMask[E1][F3], bit(F3));
  EXPECT_EQ(kingShadowMask[E1][F3], ~0ULL);
  EXPECT_EQ(interposeMask[E1][E1], 0u);
  EXPECT_EQ(kingShadowMask[E1][E1], 0u);
  // Along a rank and both diagonals, from either side.
  EXPECT_EQ(interposeMask[A1][D1], squares({B1, C1, D1}));
  EXPECT_EQ(kingShadowMask[C1][F1], ~bit(B1));
  EXPECT_EQ(interposeMask[H8][E5], squares({G7, F6, E5}));
  EXPECT_EQ(kingShadowMask[D4][B6], ~bit(E3));
  EXPECT_EQ(interposeMask[A8][A7], bit(A7));
  EXPECT_EQ(kingShadowMask[H4][E4], ~0ULL);  // h4 is on the edge beyond
  for (int k = 0; k < 64; ++k)
    for (int c = 0; c < 64; ++c) {
      if (k == c) continue;
      // The checker's square always answers a check; the king's own never does.
      EXPECT_TRUE(interposeMask[k][c] & bit(c));
      EXPECT_FALSE(interposeMask[k][c] & bit(k));
      EXPECT_EQ(__builtin_popcountll(~kingShadowMask[k][c]) <= 1, true);
    }
}
