#include <gtest/gtest.h>

#include "board/make_move.h"
#include "frontend/startup.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"
#include "tests/test_position.h"

namespace {
std::string text(Move m) {
  char out[6];
  moveToText(m, out);
  return out;
}
}  // namespace

TEST(MoveText, DocumentedLookups) {
  setFen(START_FEN);
  EXPECT_EQ(textToMove("e2e4"), encodeMove(E2, E4, DoublePushFlag));
  EXPECT_EQ(textToMove("g1f3"), encodeMove(G1, F3));
  for (const char *bad : {"e2e5", "E2E4", "0000", "e2e4 ", "", "e", "e2", "e2e", "i2i4", "e9e4", "e2e4q", "a1a1",
                          "e2e4e2e4e2e4e2e4e2e4e2e4e2e4e2e4"})
    EXPECT_TRUE(isNoMove(textToMove(bad))) << bad;
}

TEST(MoveText, Promotions) {
  setFen("4k3/8/8/8/8/8/8/4K3 w - -");
  setFen("8/4P3/8/8/8/8/k7/4K3 w - -");
  EXPECT_EQ(moveFlags(textToMove("e7e8q")), WHITE_QUEEN);
  EXPECT_EQ(moveFlags(textToMove("e7e8n")), WHITE_KNIGHT);
  EXPECT_EQ(moveFlags(textToMove("e7e8r")), WHITE_ROOK);
  EXPECT_EQ(moveFlags(textToMove("e7e8b")), WHITE_BISHOP);
  for (const char *bad : {"e7e8", "e7e8Q", "e7e8k", "e7e8p", "e7e8x", "e7e8qq"})
    EXPECT_TRUE(isNoMove(textToMove(bad))) << bad;
  EXPECT_EQ(text(encodeMove(D2, D1, BLACK_QUEEN)), "d2d1q");
  EXPECT_EQ(text(encodeMove(E7, E8, WHITE_QUEEN)), "e7e8q");
}

TEST(MoveText, CastlingOnlyWhenOffered) {
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_EQ(textToMove("e1g1"), encodeMove(E1, G1, CastleFlag));
  EXPECT_EQ(textToMove("e1c1"), encodeMove(E1, C1, CastleFlag));
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w kq -");
  EXPECT_TRUE(isNoMove(textToMove("e1g1")));
  setFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -");
  EXPECT_EQ(textToMove("e8c8"), encodeMove(E8, C8, CastleFlag));
}

TEST(MoveText, MoveThatExposesTheKingIsFoundButRefusedByMake) {
  setFen("4k3/4r3/8/8/8/8/4B3/4K3 w - -");
  Move m = textToMove("e2d3");
  ASSERT_FALSE(isNoMove(m));
  EXPECT_FALSE(makeMove(m));
}

TEST(MoveText, EveryLegalMoveRoundTrips) {
  const char *positions[] = {
      START_FEN,
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
      "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ -",
      "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -",
      "rnbqkb1r/ppppp1pp/7n/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
  };
  for (const char *fen : positions) {
    setFen(fen);
    for (Move m : referenceLegalMoves()) {
      std::string t = text(m);
      EXPECT_EQ(textToMove(t.c_str()), m) << fen << " " << t;
    }
  }
}
