#include <gtest/gtest.h>

#include <random>

#include "board/fen.h"
#include "board/make_move.h"
#include "eval/evaluate.h"
#include "eval/tables.h"
#include "frontend/startup.h"
#include "movegen/generate.h"
#include "tests/test_position.h"

namespace {

const char *EVAL_POSITIONS[] = {
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "2kr3r/ppp2ppp/2n5/3q4/3P4/2PB1N2/P4PPP/R2QR1K1 b - -",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
    "4k3/8/8/8/8/8/8/2B1KB2 w - -",
    "r1bq1rk1/pp3ppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ -",
};

// Material beyond one queen or two rooks, bishops or knights a side overflows
// the material index digits, and the aliased record need not be symmetric.
bool materialFitsTheIndex() {
  const int limit[13] = {0, 8, 2, 2, 2, 1, 1, 8, 2, 2, 2, 1, 1};
  for (int piece = 1; piece <= 12; ++piece)
    if (__builtin_popcountll(pieceBB[piece]) > limit[piece]) return false;
  return true;
}

const PawnHashEntry &pawnsOf(const char *fen) {
  setFen(fen);
  return probePawnHash();
}

}  // namespace

TEST(Evaluate, StartPositionIsLevelForBothSides) {
  setFen(START_FEN);
  EXPECT_EQ(evaluate(), 0);
  setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
  EXPECT_EQ(evaluate(), 0);
}

TEST(Evaluate, HandCountedPositions) {
  // Two bishops: psq 598/620, mobility 7 + 7 squares, pair 42; phase 22.
  setFen("4k3/8/8/8/8/8/8/2B1KB2 w - -");
  EXPECT_EQ(evaluate(), (2 * 682 + 22 * 704) / 24);
  setFen("4k3/8/8/8/8/8/8/2B1KB2 b - -");
  EXPECT_EQ(evaluate(), -((2 * 682 + 22 * 704) / 24));
  // Rook on a half-open file against an isolated, passed black pawn on a7.
  setFen("4k3/p7/8/8/8/8/8/R3K3 w - -");
  EXPECT_EQ(evaluate(), (2 * 482 + 22 * 462) / 24);
}

TEST(Evaluate, MirrorImagesScoreTheSame) {
  std::mt19937 random(5);
  for (const char *fen : EVAL_POSITIONS) {
    setFen(fen);
    // The position itself and positions reached by random play from it.
    for (int ply = 0; ply < 40; ++ply) {
      const std::string here = positionFen();
      if (materialFitsTheIndex()) {
        const i16 score = evaluate();
        setFen(mirrorFen(here).c_str());
        ASSERT_EQ(evaluate(), score) << here;
        setFen(here.c_str());
      }
      std::vector<Move> legal = referenceLegalMoves();
      if (legal.empty()) break;
      ASSERT_TRUE(makeMove(legal[random() % legal.size()]));
    }
  }
}

TEST(Evaluate, PhaseBlendsMiddleAndEndGame) {
  // Kings and pawns only: phase 24, the end-game sum alone.
  setFen("4k3/8/8/8/8/8/4P3/4K3 w - -");
  const PawnHashEntry &pawns = probePawnHash();
  EXPECT_EQ(materialRecordFor(stateTop->materialIndex).phase, 24);
  EXPECT_EQ(evaluate(), stateTop->psqEnd + pawns.pawnEnd);
  // All pieces on: phase 0, the middle-game sum alone.
  setFen("r1bqkbnr/pppppppp/n7/8/8/N7/PPPPPPPP/R1BQKBNR w KQkq -");
  EXPECT_EQ(materialRecordFor(stateTop->materialIndex).phase, 0);
  EXPECT_EQ(evaluate(), 0);
}

TEST(Evaluate, PawnlessMinorPieceLeadIsNearlyDrawn) {
  setFen("4k3/8/8/8/8/8/8/3NK3 w - -");
  EXPECT_LT(std::abs(evaluate()), 60);
  setFen("4k3/8/8/8/8/8/8/3RK3 w - -");
  EXPECT_GT(evaluate(), 500);
}

TEST(PawnHash, StructureExamples) {
  const PawnHashEntry &lone = pawnsOf("4k3/8/4P3/8/8/8/8/4K3 w - -");
  EXPECT_EQ(lone.pawnMid, 41);
  EXPECT_EQ(lone.pawnEnd, 63);
  const PawnHashEntry &doubled = pawnsOf("4k3/8/4P3/4P3/8/8/8/4K3 w - -");
  EXPECT_EQ(doubled.pawnMid, 31);
  EXPECT_EQ(doubled.pawnEnd, 55);
  const PawnHashEntry &black = pawnsOf("4k3/8/8/8/8/4p3/8/4K3 w - -");
  EXPECT_EQ(black.pawnMid, -41);
  EXPECT_EQ(black.pawnEnd, -63);
}

TEST(PawnHash, ShelterExamples) {
  const PawnHashEntry &unmoved = pawnsOf("4k3/8/8/8/8/8/5PPP/6K1 w - -");
  EXPECT_EQ(whiteShelterPenalty(unmoved, G1, 0), 15);
  const PawnHashEntry &g3 = pawnsOf("4k3/8/8/8/8/6P1/5P1P/6K1 w - -");
  EXPECT_EQ(whiteShelterPenalty(g3, G1, 0), 14);
  const PawnHashEntry &centre = pawnsOf("4k3/8/8/4P3/8/5P2/3P2PP/4K3 w - -");
  EXPECT_EQ(centre.shelter[2], 55);
  EXPECT_EQ(centre.shelter[0], 7);
  EXPECT_EQ(centre.shelter[1], 124);
  EXPECT_EQ(whiteShelterPenalty(centre, E1, WHITE_KING_SIDE | WHITE_QUEEN_SIDE), 31);
  EXPECT_EQ(whiteShelterPenalty(centre, E1, 0), 55);
  EXPECT_EQ(whiteShelterPenalty(centre, B1, 0), 124);
  // Black zones count from the seventh rank down.
  const PawnHashEntry &mirrored = pawnsOf("4k3/3p2pp/5p2/8/4p3/8/8/4K3 w - -");
  EXPECT_EQ(mirrored.shelter[5], 55);
  EXPECT_EQ(blackShelterPenalty(mirrored, E8, BLACK_KING_SIDE | BLACK_QUEEN_SIDE), 31);
}

TEST(PawnHash, NoUnwrittenSlotIsAHit) {
  // A pawnless position has key 0; its first probe must compute, not read zeros.
  const PawnHashEntry &none = pawnsOf("4k3/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(none.key, 0u);
  for (int zone = 0; zone < 6; ++zone) EXPECT_EQ(none.shelter[zone], 124);
  // Every slot holds either a key that indexes it (written) or one that cannot.
  for (u64 i = 0; i < pawnHashTable.size(); ++i) {
    const u64 key = pawnHashTable[i].key;
    if ((key & 2047) == i) continue;
    EXPECT_EQ(key, i ^ 1) << "slot " << i << " holds a foreign key";
  }
}

TEST(PawnHash, SameStructureSharesOneEntry) {
  const PawnHashEntry *first = &pawnsOf("4k3/pp6/8/8/8/8/PP6/4K3 w - -");
  const PawnHashEntry *second = &pawnsOf("r3k3/pp6/8/8/8/8/PP6/R3K3 b - -");
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->key, stateTop->pawnKey);
}
