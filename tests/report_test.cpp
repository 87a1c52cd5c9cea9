#include <gtest/gtest.h>

#include "board/display.h"
#include "frontend/poll.h"
#include "frontend/report.h"
#include "frontend/startup.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "tests/test_position.h"

namespace {

// Runs the body with one protocol's report format switched on.
struct ModeScope {
  ModeScope(u8 uci, u8 xboard) {
    uciMode = uci;
    xboardMode = xboard;
  }
  ~ModeScope() { uciMode = xboardMode = 0; }
};

std::string captured(void (*print)()) {
  testing::internal::CaptureStdout();
  print();
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(InfoLine, UciCentipawnAndMateFormats) {
  ModeScope uci(1, 0);
  const Move e2e4 = encodeMove(E2, E4, DoublePushFlag);
  EXPECT_EQ(infoLine(7, 35, e2e4, 2000, 3000000), "info depth 7 score cp 35 time 2000 nodes 3000000 nps 1500000 pv e2e4\n");
  EXPECT_EQ(infoLine(3, 32766, e2e4, 10, 100), "info depth 3 score mate 1 time 10 nodes 100 nps 10000 pv e2e4\n");
  EXPECT_EQ(infoLine(3, 32764, e2e4, 10, 100), "info depth 3 score mate 2 time 10 nodes 100 nps 10000 pv e2e4\n");
  EXPECT_EQ(infoLine(3, -32765, e2e4, 10, 100), "info depth 3 score mate -1 time 10 nodes 100 nps 10000 pv e2e4\n");
  EXPECT_EQ(infoLine(3, -32763, e2e4, 10, 100), "info depth 3 score mate -2 time 10 nodes 100 nps 10000 pv e2e4\n");
  EXPECT_EQ(infoLine(3, 32000, e2e4, 10, 100), "info depth 3 score cp 32000 time 10 nodes 100 nps 10000 pv e2e4\n");
  EXPECT_EQ(infoLine(1, -5, encodeMove(E7, E8, WHITE_QUEEN), 0, 12), "info depth 1 score cp -5 time 0 nodes 12 nps 0 pv e7e8q\n");
  // Nodes beyond 32 bits, and nps printed through its low 32 bits.
  EXPECT_EQ(infoLine(9, 1, e2e4, 1, 5000000000ULL),
            "info depth 9 score cp 1 time 1 nodes 5000000000 nps " + std::to_string(u32(5000000000000ULL)) + " pv e2e4\n");
}

TEST(InfoLine, XboardPostFormat) {
  ModeScope xboard(0, 1);
  EXPECT_EQ(infoLine(5, -12, encodeMove(G1, F3), 1234, 5678), "5 -12 123 5678 g1f3\n");
  EXPECT_EQ(infoLine(5, 32766, encodeMove(G1, F3), 9, 1), "5 32766 0 1 g1f3\n");
}

TEST(InfoLine, NoProtocolOrPostOffPrintsNothing) {
  EXPECT_EQ(infoLine(5, 0, encodeMove(G1, F3), 10, 10), "");
  ModeScope uci(1, 0);
  postEnabled = 0;
  testing::internal::CaptureStdout();
  printInfoLine(5, 0, encodeMove(G1, F3));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  postEnabled = 1;
  testing::internal::CaptureStdout();
  printInfoLine(5, 0, encodeMove(G1, F3));
  EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("info depth 5 score cp 0 time ", 0), 0u);
}

TEST(Poll, IntervalAimsAtHalfTheTimeLeft) {
  EXPECT_EQ(pollInterval(1000000, 100, 500), 1000000u);  // (500 - 100) * 10000 / 2, clamped
  EXPECT_EQ(pollInterval(100000, 100, 500), 200000u);    // rate 1000
  EXPECT_EQ(pollInterval(100000, 490, 500), 10000u);     // near the limit: the floor
  EXPECT_EQ(pollInterval(0, 0, 999), 10000u);
  EXPECT_EQ(pollInterval(0, 0, 1000), 1000000u);
}

TEST(Display, StartPositionBoard) {
  setFen(START_FEN);
  EXPECT_EQ(captured(printBoard),
            "\nrnbqkbnr\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nRNBQKBNR\nwhite to move\n\n");
  setFen("4k3/8/8/8/8/8/8/4K3 b - -");
  EXPECT_EQ(captured(printBoard), "\n....k...\n........\n........\n........\n........\n........\n........\n....K...\nblack to move\n\n");
}

TEST(Display, InconsistentBitboardsAreReported) {
  setFen(START_FEN);
  pieceBB[WHITE_KNIGHT] &= ~(u64(1) << G1);
  BlackPieces |= u64(1) << E4;
  const std::string out = captured(printBoard);
  pieceBB[WHITE_KNIGHT] |= u64(1) << G1;
  BlackPieces &= ~(u64(1) << E4);
  EXPECT_NE(out.find("RNBQKBN\nERROR: WhiteKnights reset\n\nR\n"), std::string::npos) << out;
  EXPECT_NE(out.find("....\nBlackPieces set\n\n...\n"), std::string::npos) << out;
  EXPECT_EQ(captured([] { checkSquare(E4); }), "");
}

TEST(Display, PrintMoveKeepsThePromotionCase) {
  EXPECT_EQ(captured([] { printMove(encodeMove(D2, D1, BLACK_QUEEN)); }), "d2d1q");
  EXPECT_EQ(captured([] { printMove(encodeMove(E7, E8, WHITE_QUEEN)); }), "e7e8Q");
  EXPECT_EQ(captured([] { printMove(encodeMove(G1, F3)); }), "g1f3");
}
