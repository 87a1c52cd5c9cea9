#include <gtest/gtest.h>

#include "board/fen.h"
#include "eval/tables.h"
#include "tests/test_position.h"

namespace {

void expectPsq(int piece, int square, int mid, int end) {
  EXPECT_EQ(psqTable[piece][square].mid, mid) << int(piece) << " on " << square;
  EXPECT_EQ(psqTable[piece][square].end, end) << int(piece) << " on " << square;
}

u32 indexOf(int Q, int q, int R, int r, int B, int b, int N, int n, int P, int p) {
  return Q + 2 * q + 4 * R + 12 * r + 36 * B + 108 * b + 324 * N + 972 * n + 2916 * P + 26244 * p;
}

}  // namespace

TEST(PsqTable, WorkedExamples) {
  expectPsq(WHITE_PAWN, E4, 95, 87);
  expectPsq(WHITE_PAWN, A2, 73, 91);
  expectPsq(WHITE_KNIGHT, D4, 347, 340);
  expectPsq(WHITE_KNIGHT, A8, 143, 280);
  expectPsq(WHITE_KNIGHT, A1, 242, 268);
  expectPsq(WHITE_BISHOP, D4, 332, 327);
  expectPsq(WHITE_BISHOP, E4, 332, 325);
  expectPsq(WHITE_BISHOP, A1, 297, 303);
  expectPsq(WHITE_BISHOP, C1, 299, 310);
  expectPsq(WHITE_ROOK, D1, 546, 544);
  expectPsq(WHITE_QUEEN, D1, 1001, 1006);
  expectPsq(WHITE_QUEEN, D4, 1014, 1014);
  // King end-game values: 7 x (file term + rank term), -1 - 3 on g1.
  expectPsq(WHITE_KING, G1, 48, -28);
  expectPsq(WHITE_KING, E1, 0, -14);
  expectPsq(WHITE_KING, E4, 0, 14);
  expectPsq(BLACK_PAWN, E5, -95, -87);
}

TEST(PsqTable, BlackRowsMirrorWhiteAndEmptyRowIsZero) {
  for (int s = 0; s < 64; ++s) {
    EXPECT_EQ(psqTable[NO_PIECE][s].mid, 0);
    EXPECT_EQ(psqTable[NO_PIECE][s].end, 0);
    for (int piece = WHITE_PAWN; piece <= WHITE_KING; ++piece) {
      EXPECT_EQ(psqTable[piece + 6][s].mid, -psqTable[piece][s ^ 56].mid);
      EXPECT_EQ(psqTable[piece + 6][s].end, -psqTable[piece][s ^ 56].end);
    }
  }
}

TEST(PsqTable, WhiteTotals) {
  // Sums over all 64 squares catch a wrong base table or a misplaced adjustment.
  int mid[7] = {}, end[7] = {};
  for (int piece = WHITE_PAWN; piece <= WHITE_KING; ++piece)
    for (int s = 0; s < 64; ++s) {
      mid[piece] += psqTable[piece][s].mid;
      end[piece] += psqTable[piece][s].end;
    }
  EXPECT_EQ(mid[WHITE_PAWN], 64 * 88 + 5 * 8 * -6 + 12);
  EXPECT_EQ(end[WHITE_PAWN], 64 * 88 + 48);
  EXPECT_EQ(mid[WHITE_KNIGHT], 64 * 324 + 9 * 2 * 8 * -10 + 5 * 8 * 6 - 228);
  EXPECT_EQ(end[WHITE_KNIGHT], 64 * 324 + 6 * 2 * 8 * -10 + 4 * 8 * 6);
  EXPECT_EQ(mid[WHITE_BISHOP], 64 * 319 + 3 * 2 * 8 * -6 + 14 * 7 - 6 * 11 - 8);
  EXPECT_EQ(end[WHITE_BISHOP], 64 * 319 + 3 * 2 * 8 * -6 + 16);
  EXPECT_EQ(mid[WHITE_ROOK], 64 * 544 + 2 * 8 * -4);
  EXPECT_EQ(end[WHITE_ROOK], 64 * 544);
  EXPECT_EQ(mid[WHITE_QUEEN], 64 * 1010 + 2 * 2 * 8 * -6 - 40);
  EXPECT_EQ(end[WHITE_QUEEN], 64 * 1010 + 2 * 2 * 8 * -6);
  EXPECT_EQ(mid[WHITE_KING], 12 * 8 * 18);
  EXPECT_EQ(end[WHITE_KING], 7 * 2 * 8 * -6);
}

TEST(MaterialTable, StartAndBareKings) {
  setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  const MaterialRecord &start = materialRecordFor(stateTop->materialIndex);
  EXPECT_EQ(stateTop->materialIndex, 236195u);
  EXPECT_EQ(start.phase, 0);
  EXPECT_EQ(start.flags, 3);
  EXPECT_EQ(start.value, 0);
  const MaterialRecord &bare = materialTable[0];
  EXPECT_EQ(bare.phase, 24);
  EXPECT_EQ(bare.flags, 0);
  EXPECT_EQ(bare.value, 0);
}

TEST(MaterialTable, DrawishPawnlessEndings) {
  // Arguments: Q q R r B b N n P p.
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 0, 0, 1, 0, 0, 0)].value, -319);  // KN v K
  EXPECT_EQ(materialTable[indexOf(0, 0, 1, 0, 0, 0, 0, 0, 0, 0)].value, 0);     // KR v K
  EXPECT_EQ(materialTable[indexOf(0, 0, 1, 1, 1, 0, 0, 0, 0, 0)].value, -319);  // KRB v KR
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 2, 0, 0, 1, 0, 0)].value, 0);     // KBB v KN
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 2, 1, 0, 0, 0, 0)].value, -319);  // KBB v KB
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 0, 0, 0, 0, 1, 0)].value, 0);     // KP v K
  // Mirrored for black: the cancellation has the opposite sign.
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 0, 0, 0, 1, 0, 0)].value, 319);
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 0, 2, 1, 0, 0, 0)].value, 0);
  // KNN v K: six points ahead is more than a minor piece, so nothing is cancelled.
  EXPECT_EQ(materialTable[indexOf(0, 0, 0, 0, 0, 0, 2, 0, 0, 0)].value, 0);
}

TEST(MaterialTable, PhaseAndShelterFlags) {
  u32 queenAndRook = indexOf(1, 1, 1, 1, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(materialTable[queenAndRook].phase, 24 - 8 - 4);
  EXPECT_EQ(materialTable[queenAndRook].flags, 3);
  u32 blackQueenAlone = indexOf(0, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(materialTable[blackQueenAlone].flags, 0);
  u32 blackQueenTwoMinors = indexOf(0, 1, 0, 0, 0, 1, 0, 1, 0, 0);
  EXPECT_EQ(materialTable[blackQueenTwoMinors].flags, 1);
  u32 whiteRooksAndMinors = indexOf(0, 0, 2, 0, 1, 0, 1, 0, 0, 0);
  EXPECT_EQ(materialTable[whiteRooksAndMinors].flags, 2);
  u32 whiteOneRookTwoMinors = indexOf(0, 0, 1, 0, 1, 0, 1, 0, 0, 0);
  EXPECT_EQ(materialTable[whiteOneRookTwoMinors].flags, 0);
  for (u32 i = 0; i < MATERIAL_TABLE_SIZE; ++i) ASSERT_LE(materialTable[i].phase, 24);
}

TEST(MaterialTable, IndexBeyondTableReadsLastRecord) {
  // Nine white queens and all other pieces: the index runs past the table.
  ASSERT_TRUE(setPositionFromFen("rnbqkbnr/pppppppp/8/QQQQQQQQ/8/8/PPPPPPPP/RNBQKBNR w KQkq -"));
  EXPECT_GT(stateTop->materialIndex, MATERIAL_TABLE_SIZE - 1);
  EXPECT_EQ(&materialRecordFor(stateTop->materialIndex), &materialTable[MATERIAL_TABLE_SIZE - 1]);
  EXPECT_EQ(&materialRecordFor(0xFFFFFFFFu), &materialTable[MATERIAL_TABLE_SIZE - 1]);
  EXPECT_EQ(&materialRecordFor(12345), &materialTable[12345]);
}

TEST(ShelterTable, Examples) {
  EXPECT_EQ(shelterTable[0], 124);
  EXPECT_EQ(shelterTable[7], 15);
  EXPECT_EQ(shelterTable[1 | 4 | 16], 14);
  // Middle file pawn on the fourth rank, the others missing: 31 + 2 * 17 + 31.
  EXPECT_EQ(shelterTable[1 << 7], 96);
  // A lower pawn on the same file wins over a higher one.
  EXPECT_EQ(shelterTable[2 | (2 << 9)], 31 + 0 + 31);
  for (int i = 0; i < 4096; ++i) ASSERT_LE(shelterTable[i], 124);
}
