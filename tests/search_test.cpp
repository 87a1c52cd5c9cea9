#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "board/make_move.h"
#include "eval/evaluate.h"
#include "frontend/report.h"
#include "frontend/startup.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/ordering.h"
#include "search/search.h"
#include "search/tt.h"
#include "tests/test_position.h"

namespace {

struct Result {
  Move move;
  int score;  // raw, from the last report line
  u64 nodes;
  std::string text() const {
    char t[6];
    moveToText(move, t);
    return t;
  }
};

// A search of the current position from a clean slate: empty table, no
// killers, no clock.
Result searchHere(int depth) {
  std::memset(transpositionTable, 0, sizeof(TTEntry) * (size_t(ttMask) + 1));
  for (StateRecord &r : stateStack) r.killer1 = r.killer2 = NoMove;
  moveTimeMs = movesToGo = remainingMs = incrementMs = 0;
  maxDepth = u8(depth);
  xboardMode = 1;  // its report lines carry the raw score
  testing::internal::CaptureStdout();
  Result result{think(), 0, nodeCount};
  const std::string out = testing::internal::GetCapturedStdout();
  xboardMode = 0;
  maxDepth = 100;
  std::istringstream lines(out);
  std::string line, last;
  while (std::getline(lines, line))
    if (!line.empty()) last = line;
  unsigned reportedDepth = 0, centiseconds = 0;
  unsigned long long nodes = 0;
  std::sscanf(last.c_str(), "%u %d %u %llu", &reportedDepth, &result.score, &centiseconds, &nodes);
  return result;
}

Result searchTo(const std::string &fen, int depth) {
  setFen(fen.c_str());
  return searchHere(depth);
}

Move mirrored(Move m) {
  const int promotion = moveFlags(m) & PromotionMask;
  const int flags = promotion ? (promotion > 6 ? promotion - 6 : promotion + 6) : moveFlags(m);
  const int captured = moveCaptured(m) ? (moveCaptured(m) > 6 ? moveCaptured(m) - 6 : moveCaptured(m) + 6) : 0;
  return encodeMove(moveFrom(m) ^ 56, moveTo(m) ^ 56, flags, captured);
}

void limits(u32 moveTime, u32 toGo, u32 remaining, u32 increment) {
  moveTimeMs = moveTime;
  movesToGo = toGo;
  remainingMs = remaining;
  incrementMs = increment;
  allocateTimeLimits();
  moveTimeMs = movesToGo = remainingMs = incrementMs = 0;
}

}  // namespace

TEST(TimeLimits, WorkedExamples) {
  limits(60000, 0, 0, 0);
  EXPECT_EQ(hardLimitMs, 60000u);
  EXPECT_EQ(softLimitMs, 60000u);
  limits(0, 40, 300000, 0);
  EXPECT_EQ(hardLimitMs, 11750u);
  EXPECT_EQ(softLimitMs, 1997u);
  limits(0, 0, 60000, 0);
  EXPECT_EQ(softLimitMs, 928u);
  EXPECT_EQ(hardLimitMs, 19333u);
  limits(0, 0, 60000, 1000);
  EXPECT_EQ(softLimitMs, 1360u);
  EXPECT_EQ(hardLimitMs, 20000u);
  limits(0, 40, 0, 5000);
  EXPECT_EQ(hardLimitMs, 4750u);
  EXPECT_EQ(softLimitMs, 807u);
  limits(0, 2, 1000, 500);
  EXPECT_EQ(hardLimitMs, 1066u);
  EXPECT_EQ(softLimitMs, 181u);
  // The last move before the control keeps a quarter of the clock, since the
  // increment comes only after the move.
  limits(0, 1, 60000, 0);
  EXPECT_EQ(hardLimitMs, 45000u);
  EXPECT_EQ(softLimitMs, 7650u);
  limits(0, 1, 5000, 200);
  EXPECT_EQ(hardLimitMs, 3750u);
  EXPECT_EQ(softLimitMs, 637u);
  limits(0, 0, 0, 0);
  EXPECT_EQ(hardLimitMs, 0u);
  EXPECT_EQ(softLimitMs, 0u);
  analyzeMode = 1;
  limits(5000, 0, 0, 0);
  analyzeMode = 0;
  EXPECT_EQ(hardLimitMs, 0u);
}

TEST(TimeLimits, LastSecondsStayShortAndPositive) {
  for (u32 remaining : {1u, 30u, 500u, 1000u, 1999u, 2000u, 2100u}) {
    limits(0, 0, remaining, 0);
    EXPECT_GE(hardLimitMs, 1u) << remaining;
    EXPECT_LE(hardLimitMs, remaining / 10 + 1) << remaining;
    EXPECT_GE(softLimitMs, 1u);
    EXPECT_LE(softLimitMs, hardLimitMs);
  }
  limits(0, 5, 100, 0);  // budget below zero
  EXPECT_EQ(hardLimitMs, 1u);
  EXPECT_EQ(softLimitMs, 1u);
}

TEST(Search, FindsMatesAtTheirDepth) {
  Result one = searchTo("6k1/5ppp/8/8/8/8/8/R5K1 w - -", 1);
  EXPECT_EQ(one.text(), "a1a8");
  EXPECT_EQ(one.score, 32766);
  Result two = searchTo("k7/8/2K5/8/8/8/8/7R w - -", 3);
  EXPECT_EQ(two.score, 32764);
  Result three = searchTo("6k1/pp3ppp/8/8/8/8/Q4PPP/1R4K1 w - -", 5);
  EXPECT_EQ(three.text(), "b1b7");
  EXPECT_EQ(three.score, 32762);
  EXPECT_EQ(searchTo("6k1/8/8/8/8/8/r4PPP/6K1 b - -", 3).score, 32766);
}

TEST(Search, MateScoresCountPliesFromTheRoot) {
  // Checkmated at ply 3: -32764, which the parent at ply 2 sees as 32764.
  setFen("6k1/8/8/8/8/8/5PPP/r5K1 w - -");
  EXPECT_EQ(searchInCheck(1, 3, -MATE, MATE, 1), -32764);
  EXPECT_EQ(quiesce(4, -MATE, MATE), -32763);
}

TEST(Search, TakesAHangingQueen) {
  EXPECT_EQ(searchTo("4k3/8/8/3q4/8/8/8/3RK3 w - -", 4).text(), "d1d5");
  EXPECT_EQ(searchTo("3rk3/8/8/8/3Q4/8/8/4K3 b - -", 4).text(), "d8d4");
}

TEST(Search, NoLegalMoveGivesNoMove) {
  setFen("7k/5Q2/6K1/8/8/8/8/8 b - -");  // stalemate
  EXPECT_TRUE(isNoMove(think()));
  setFen("7k/6Q1/6K1/8/8/8/8/8 b - -");  // checkmate
  EXPECT_TRUE(isNoMove(think()));
}

TEST(Search, StalemateScoresZero) {
  setFen("7k/5Q2/6K1/8/8/8/8/8 b - -");
  EXPECT_EQ(search(3, 1, -MATE, MATE, 1), 0);
  EXPECT_EQ(quiesce(1, -MATE, MATE), evaluate());  // quiesce knows nothing of stalemate
  // The side that could stalemate prefers the win.
  EXPECT_GT(searchTo("7k/8/6K1/8/8/8/8/5Q2 w - -", 3).score, 32000);
}

TEST(Search, RepeatingRootMoveScoresZero) {
  // A queen down, white escapes by repeating the position: Kg1-f1-g1.
  setFen("6k1/8/8/8/8/8/q4PPP/6K1 w - -");
  for (const char *text : {"g1f1", "a2a1", "f1e2", "a1a2", "e2f1", "a2a1", "f1e2", "a1a2"})
    ASSERT_TRUE(makeMove(textToMove(text)));
  Result escape = searchHere(3);
  EXPECT_EQ(escape.text(), "e2f1");
  EXPECT_EQ(escape.score, 0);
  ASSERT_TRUE(makeMove(escape.move));
  EXPECT_TRUE(isRepetition());
}

TEST(Search, RepetitionLooksBackOnlyThroughReversibleMoves) {
  setFen("4k3/8/8/8/8/8/8/4K1N1 w - -");
  for (const char *text : {"g1f3", "e8d8", "f3g1", "d8e8"}) ASSERT_TRUE(makeMove(textToMove(text)));
  EXPECT_FALSE(isRepetition());  // the set-up position itself is never a candidate
  ASSERT_TRUE(makeMove(textToMove("g1f3")));
  EXPECT_TRUE(isRepetition());  // as after the first g1f3
  setFen("4k3/8/8/8/8/8/4P3/4K1N1 w - -");
  for (const char *text : {"e2e3", "e8d8", "g1f3", "d8e8", "f3g1"}) ASSERT_TRUE(makeMove(textToMove(text)));
  EXPECT_FALSE(isRepetition());  // same as after e2e3, but that position came from a pawn move
  ASSERT_TRUE(makeMove(textToMove("e8d8")));
  EXPECT_TRUE(isRepetition());
}

TEST(Search, FixedDepthIsDeterministic) {
  const char *fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";
  Result first = searchTo(fen, 5), second = searchTo(fen, 5);
  EXPECT_EQ(first.move, second.move);
  EXPECT_EQ(first.score, second.score);
  EXPECT_EQ(first.nodes, second.nodes);
  EXPECT_GT(first.nodes, 1000u);
}

TEST(Search, MirroredPositionsGiveMirroredMovesAndEqualScores) {
  const char *positions[] = {
      "4k3/8/8/3q4/8/8/8/3RK3 w - -",
      "6k1/pp3ppp/8/8/8/8/Q4PPP/1R4K1 w - -",
      "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
      "2kr3r/ppp2ppp/2n5/3q4/3P4/2PB1N2/P4PPP/R2QR1K1 b - -",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
  };
  for (const char *fen : positions) {
    Result here = searchTo(fen, 4), there = searchTo(mirrorFen(fen), 4);
    EXPECT_EQ(here.score, there.score) << fen;
    EXPECT_EQ(mirrored(here.move), there.move) << fen << " " << here.text() << " / " << there.text();
  }
}

TEST(Search, DeepLinesStopAtThePlyLimit) {
  // Bare kings: every line is drawn and the table holds all positions, so
  // depth 255 is reached quickly and lines run into the ply limit.
  Result deep = searchTo("8/8/8/8/8/8/8/K1k5 w - -", 255);
  EXPECT_EQ(deep.score, 0);
  EXPECT_EQ(stateTop, stateStack);
  setFen("4k3/8/8/8/8/8/8/4K2r w - -");
  EXPECT_EQ(quiesce(MAX_PLY, -MATE, MATE), evaluate());
  EXPECT_EQ(searchInCheck(3, MAX_PLY, -MATE, MATE, 1), evaluate());
  EXPECT_EQ(search(3, MAX_PLY, -MATE, MATE, 1), evaluate());
}

TEST(Ordering, PickBestTakesHighestNearestFirstAndSkips) {
  MoveList list;
  list.clear();
  const Move a = encodeMove(A2, A3), b = encodeMove(B2, B3), c = encodeMove(C2, C3), d = encodeMove(D2, D3);
  pushMove(list, a, 5);
  pushMove(list, b, 9);
  pushMove(list, c, 9);
  pushMove(list, d, 1);
  EXPECT_EQ(pickBest(list)->move, b);
  EXPECT_EQ(pickBest(list, &c, 1)->move, a);
  EXPECT_EQ(pickBest(list)->move, c);
  EXPECT_EQ(pickBest(list)->move, d);
  EXPECT_EQ(pickBest(list), nullptr);
}

TEST(Ordering, HistoryHalvesWhenAnEntryReachesSixtyThousand) {
  setFen(START_FEN);
  std::memset(history, 0, sizeof history);
  history[WHITE_KNIGHT][F3] = 59900;
  history[WHITE_PAWN][E4] = 101;
  stateTop->killer1 = stateTop->killer2 = NoMove;
  recordQuietSuccess(encodeMove(G1, F3), 10);
  EXPECT_EQ(history[WHITE_KNIGHT][F3], 30000);
  EXPECT_EQ(history[WHITE_PAWN][E4], 50);
  EXPECT_EQ(stateTop->killer1, encodeMove(G1, F3));
  recordQuietSuccess(encodeMove(G1, F3), 2);  // already the first killer
  EXPECT_EQ(stateTop->killer1, encodeMove(G1, F3));
  EXPECT_EQ(stateTop->killer2, NoMove);
  EXPECT_EQ(history[WHITE_KNIGHT][F3], 30004);
  recordQuietSuccess(encodeMove(B1, C3), 1);
  EXPECT_EQ(stateTop->killer1, encodeMove(B1, C3));
  EXPECT_EQ(stateTop->killer2, encodeMove(G1, F3));
  std::memset(history, 0, sizeof history);
}

TEST(Ordering, PickerStagesAndSkips) {
  setFen("4k3/8/8/3p4/4P3/8/8/4K1N1 w - -");
  const Move hash = encodeMove(G1, F3), capture = encodeMove(E4, D5, 0, BLACK_PAWN);
  stateTop->killer1 = hash;
  stateTop->killer2 = encodeMove(E1, D2);
  std::vector<Move> order;
  MovePicker picker(hash);
  for (Move m; picker.next(m);) order.push_back(m);
  stateTop->killer1 = stateTop->killer2 = NoMove;
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(order[0], hash);
  EXPECT_EQ(order[1], capture);
  EXPECT_EQ(order[2], hash);  // the killer is not compared with the hash move
  EXPECT_EQ(order[3], encodeMove(E1, D2));
  EXPECT_EQ(std::count(order.begin(), order.end(), hash), 2);
  EXPECT_EQ(std::count(order.begin(), order.end(), encodeMove(E1, D2)), 1);
  EXPECT_EQ(std::count(order.begin(), order.end(), capture), 1);
  // A capture as the hash move is not searched again among the captures.
  std::vector<Move> again;
  MovePicker capturing(capture);
  for (Move m; capturing.next(m);) again.push_back(m);
  EXPECT_EQ(std::count(again.begin(), again.end(), capture), 1);
}

TEST(Ordering, WrongHashMoveIsReportedAndSkipped) {
  setFen(START_FEN);
  testing::internal::CaptureStdout();
  MovePicker picker(encodeMove(E7, E5, DoublePushFlag));  // black's move, white to move
  std::vector<Move> moves;
  for (Move m; picker.next(m);) moves.push_back(m);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(moves.size(), 20u);
  EXPECT_EQ(out.rfind("ERROR: wrong move from hashe7e5\n\nrnbqkbnr\n", 0), 0u) << out;
}
