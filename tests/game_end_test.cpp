#include <gtest/gtest.h>

#include "board/make_move.h"
#include "frontend/game_end.h"
#include "frontend/startup.h"
#include "movegen/move_text.h"
#include "tests/test_position.h"

namespace {
void play(std::initializer_list<const char *> moves) {
  for (const char *text : moves) ASSERT_TRUE(makeMove(textToMove(text))) << text;
}

std::string announced() {
  testing::internal::CaptureStdout();
  const bool over = checkGameEnd();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(over, !out.empty());
  return out;
}

// A king and knight shuffle that is never a capture or pawn move.
const std::initializer_list<const char *> SHUFFLE = {"g1f3", "e8d8", "f3g1", "d8e8"};
}  // namespace

TEST(GameEnd, MateAndStalemate) {
  setFen("6k1/5ppp/8/8/8/8/8/R5K1 w - -");
  play({"a1a8"});
  EXPECT_EQ(announced(), "1-0 {mate}\n");
  setFen("r5k1/8/8/8/8/8/5PPP/6K1 b - -");
  play({"a8a1"});
  EXPECT_EQ(announced(), "0-1 {mate}\n");
  setFen("7k/8/6K1/8/8/8/8/5Q2 w - -");
  play({"f1f7"});
  EXPECT_EQ(announced(), "1/2-1/2 {stalemate}\n");
  setFen(START_FEN);
  EXPECT_EQ(announced(), "");
}

TEST(GameEnd, ThreefoldRepetitionCountsFromTheFirstReversibleOccurrence) {
  setFen("4k3/8/8/8/8/8/8/4K1N1 w - -");
  play(SHUFFLE);  // the set-up position again, but it is never a candidate
  play(SHUFFLE);
  EXPECT_FALSE(isThreefoldRepetition());
  play({"g1f3"});  // the position after the first g1f3, a third time
  EXPECT_TRUE(isThreefoldRepetition());
  EXPECT_EQ(announced(), "1/2-1/2 {repetition}\n");
}

TEST(GameEnd, RepetitionAfterAPawnMoveNeedsAFourthOccurrence) {
  setFen("4k3/8/8/8/8/8/4P3/4K1N1 w - -");
  play({"e2e3"});  // the first occurrence directly follows a pawn move
  play({"e8d8", "g1f3", "d8e8", "f3g1", "e8d8", "g1f3", "d8e8", "f3g1"});
  EXPECT_FALSE(isThreefoldRepetition());  // third occurrence
  play({"e8d8", "g1f3", "d8e8", "f3g1"});
  EXPECT_TRUE(isThreefoldRepetition());  // fourth
}

TEST(GameEnd, FiftyMovesAtTheHundredthReversiblePly) {
  setFen("4k3/8/8/8/8/8/8/4K3 w - -");
  const char *white[4] = {"e1f1", "f1f2", "f2e2", "e2e1"}, *black[4] = {"e8d8", "d8d7", "d7e7", "e7e8"};
  for (int ply = 0; ply < 100; ++ply) {
    ASSERT_FALSE(isFiftyMoveDraw()) << ply;
    ASSERT_TRUE(makeMove(textToMove(ply % 2 ? black[ply / 2 % 4] : white[ply / 2 % 4]))) << ply;
  }
  EXPECT_TRUE(isFiftyMoveDraw());
  // Set up afresh, whatever half-move clock the text carries, the count starts again.
  setFen("4k3/8/8/8/8/8/8/4K3 w - - 99 80");
  ASSERT_TRUE(makeMove(textToMove("e1f1")));
  EXPECT_FALSE(isFiftyMoveDraw());
}

TEST(GameEnd, InsufficientMaterial) {
  for (const char *fen : {"4k3/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/4KB2 w - -", "4k3/8/8/8/8/8/8/4KN2 w - -",
                          "4kb2/8/8/8/8/8/8/2B1K3 w - -"}) {
    setFen(fen);
    EXPECT_TRUE(isInsufficientMaterial()) << fen;
  }
  for (const char *fen : {"4k3/8/8/8/8/8/8/3NKN2 w - -", "4k3/8/8/8/8/8/8/3BKN2 w - -", "4kn2/8/8/8/8/8/8/4KB2 w - -",
                          "4k1b1/8/8/8/8/8/8/2B1K3 w - -", "4k3/8/8/8/8/8/4P3/4K3 w - -"}) {
    setFen(fen);
    EXPECT_FALSE(isInsufficientMaterial()) << fen;
  }
  setFen("4k3/8/8/8/8/8/8/4KrN1 w - -");
  play({"e1f1"});  // the capture leaves a knight against a bare king
  EXPECT_EQ(announced(), "1/2-1/2 {insufficient material}\n");
}
