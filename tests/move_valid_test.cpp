#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "board/make_move.h"
#include "eval/move_valid.h"
#include "frontend/startup.h"
#include "movegen/generate.h"
#include "tests/test_position.h"

namespace {
std::vector<Move> generatedHere() {
  MoveList list;
  generateAll(list);
  std::vector<Move> moves;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) moves.push_back(e->move);
  return moves;
}
}  // namespace

TEST(MoveValid, DocumentedCases) {
  setFen(START_FEN);
  EXPECT_FALSE(isMoveValid(0));
  EXPECT_TRUE(isMoveValid(encodeMove(E2, E4, DoublePushFlag)));
  EXPECT_FALSE(isMoveValid(encodeMove(E2, E4)));  // a double step needs its flag
  EXPECT_TRUE(isMoveValid(encodeMove(G1, F3)));
  EXPECT_FALSE(isMoveValid(encodeMove(G1, E2)));  // own piece there
  EXPECT_FALSE(isMoveValid(encodeMove(G8, F6)));  // not white's piece
  setFen("rnbqkbnr/pppppppp/8/8/8/4N3/PPPPPPPP/RNBQKB1R w KQkq -");
  EXPECT_FALSE(isMoveValid(encodeMove(E2, E4, DoublePushFlag)));  // e3 blocked
  setFen("4k3/8/8/8/8/4n3/4P3/4K3 w - -");
  EXPECT_FALSE(isMoveValid(encodeMove(E2, E3)));  // destination occupied
  setFen("4k3/8/8/8/8/5p2/8/4K1N1 w - -");
  EXPECT_FALSE(isMoveValid(encodeMove(G1, F3)));  // a quiet knight move onto an occupied square
  EXPECT_TRUE(isMoveValid(encodeMove(G1, F3, 0, BLACK_PAWN)));
}

TEST(MoveValid, CapturedCodeMustStillStandThere) {
  setFen("4k3/8/8/3r4/8/2N5/8/4K3 w - -");
  EXPECT_TRUE(isMoveValid(encodeMove(C3, D5, 0, BLACK_ROOK)));
  EXPECT_FALSE(isMoveValid(encodeMove(C3, D5, 0, BLACK_KNIGHT)));
  EXPECT_FALSE(isMoveValid(encodeMove(C3, D5)));
  setFen("4k3/8/8/3R4/8/2N5/8/4K3 w - -");
  EXPECT_FALSE(isMoveValid(encodeMove(C3, D5, 0, WHITE_ROOK)));  // the mover's own piece
}

TEST(MoveValid, CastlingKillerNeedsRightAndSafePathButNotAbsenceOfCheck) {
  const Move castle = encodeMove(E1, G1, CastleFlag);
  setFen("4k3/8/8/8/8/8/8/4K2R w K -");
  EXPECT_TRUE(isMoveValid(castle));
  setFen("4k3/8/8/8/8/8/8/4K2R w - -");
  EXPECT_FALSE(isMoveValid(castle));
  setFen("4k3/8/8/8/8/8/8/4KB1R w K -");
  EXPECT_FALSE(isMoveValid(castle));
  setFen("4k1r1/8/8/8/8/8/8/4K2R w K -");
  EXPECT_FALSE(isMoveValid(castle));
  setFen("4r1k1/8/8/8/8/8/8/4K2R w K -");  // in check, path safe: accepted here
  EXPECT_TRUE(isMoveValid(castle));
  setFen("r3k3/8/8/8/8/8/8/4K3 b q -");
  EXPECT_TRUE(isMoveValid(encodeMove(E8, C8, CastleFlag)));
}

TEST(MoveValid, AgreesWithTheGeneratorsForMovesFromElsewhere) {
  // Moves generated in earlier positions of random games stand for stored
  // table and killer moves; each must be valid exactly when the current
  // position generates it (castling out of check aside).
  std::mt19937 random(3);
  const char *starts[] = {START_FEN, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                          "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -", "rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -"};
  for (const char *fen : starts) {
    setFen(fen);
    std::set<Move> pool;
    for (int ply = 0; ply < 150; ++ply) {
      std::vector<Move> here = generatedHere();
      pool.insert(here.begin(), here.end());
      for (Move m : pool) {
        bool generated = std::find(here.begin(), here.end(), m) != here.end();
        bool castlingInCheck = moveFlags(m) == CastleFlag && stateTop->inCheck;
        if (castlingInCheck) continue;
        ASSERT_EQ(isMoveValid(m), generated) << positionFen() << " move " << std::hex << m;
      }
      std::vector<Move> legal = referenceLegalMoves();
      if (legal.empty()) break;
      ASSERT_TRUE(makeMove(legal[random() % legal.size()]));
    }
  }
}
