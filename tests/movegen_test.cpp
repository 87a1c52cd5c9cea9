#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "board/fen.h"
#include "board/make_move.h"
#include "frontend/startup.h"
#include "movegen/attack_tests.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"
#include "movegen/perft.h"
#include "search/ordering.h"
#include "tests/test_position.h"

namespace {

struct PerftLine {
  std::string fen;
  std::vector<u64> counts;  // counts[d - 1] for depth d
};

std::vector<PerftLine> perftSuite() {
  std::vector<PerftLine> suite;
  std::ifstream file(PERFT_SUITE);
  std::string text;
  while (std::getline(file, text)) {
    if (text.empty() || text[0] == '#') continue;
    PerftLine line;
    std::stringstream fields(text);
    std::string field;
    std::getline(fields, line.fen, ';');
    line.fen.erase(line.fen.find_last_not_of(' ') + 1);
    while (std::getline(fields, field, ';')) line.counts.push_back(std::stoull(field.substr(field.find(' ') + 1)));
    suite.push_back(line);
  }
  return suite;
}

u64 countLeaves(int depth) {
  perftNodes = 0;
  perftCount(depth);
  return perftNodes;
}

std::vector<Move> listed(const MoveList &list) {
  std::vector<Move> moves;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) moves.push_back(e->move);
  return moves;
}

std::vector<Move> sorted(std::vector<Move> moves) {
  std::sort(moves.begin(), moves.end());
  return moves;
}

std::vector<Move> generated(void (*generator)(MoveList &)) {
  MoveList list;
  list.clear();
  generator(list);
  return listed(list);
}

std::vector<Move> legalOnly(const std::vector<Move> &moves) {
  std::vector<Move> legal;
  for (Move m : moves)
    if (makeMove(m)) {
      unmakeMove(m);
      legal.push_back(m);
    }
  return legal;
}

bool isUnderPromotion(Move m) {
  int p = moveFlags(m) & PromotionMask;
  return p && p != WHITE_QUEEN && p != BLACK_QUEEN;
}

std::vector<std::string> texts(const std::vector<Move> &moves) {
  std::vector<std::string> result;
  char text[6];
  for (Move m : moves) {
    moveToText(m, text);
    std::string entry(text);
    if (moveFlags(m)) entry += '/' + std::to_string(moveFlags(m));
    result.push_back(entry);
  }
  return result;
}

// At every node below the position: evasions give the same legal moves as the
// full generator (queen promotions only), and captures plus quiet moves give
// the full list without its under-promotions.
void checkGeneratorsAgree(int depth, const std::string &fen) {
  std::vector<Move> all = generated(whiteToMove ? generateAllWhite : generateAllBlack);
  std::vector<Move> withoutUnder;
  std::copy_if(all.begin(), all.end(), std::back_inserter(withoutUnder), [](Move m) { return !isUnderPromotion(m); });
  if (stateTop->inCheck) {
    std::vector<Move> evasions = generated(whiteToMove ? generateEvasionsWhite : generateEvasionsBlack);
    ASSERT_EQ(sorted(legalOnly(evasions)), sorted(legalOnly(withoutUnder))) << fen << " / " << positionFen();
  } else {
    std::vector<Move> split = generated(whiteToMove ? generateCapturesWhite : generateCapturesBlack);
    std::vector<Move> quiet = generated(whiteToMove ? generateQuietWhite : generateQuietBlack);
    split.insert(split.end(), quiet.begin(), quiet.end());
    ASSERT_EQ(sorted(split), sorted(withoutUnder)) << fen << " / " << positionFen();
  }
  if (depth == 0) return;
  for (Move m : all)
    if (makeMove(m)) {
      checkGeneratorsAgree(depth - 1, fen);
      unmakeMove(m);
    }
}

}  // namespace

TEST(Perft, SuiteCountsAndMirrorImages) {
  for (const PerftLine &line : perftSuite()) {
    for (const std::string &fen : {line.fen, mirrorFen(line.fen)}) {
      setFen(fen.c_str());
      for (size_t d = 1; d <= line.counts.size(); ++d)
        EXPECT_EQ(countLeaves(int(d)), line.counts[d - 1]) << fen << " depth " << d;
      EXPECT_TRUE(recordedTerms() == recomputeTerms()) << fen;
    }
  }
}

TEST(Perft, FlipPositionMatchesTheMirroredFen) {
  for (const PerftLine &line : perftSuite()) {
    if (line.fen.find(" -", line.fen.rfind(' ') - 1) == std::string::npos) continue;  // has an en-passant square
    setFen(mirrorFen(line.fen).c_str());
    const Snapshot mirrored = takeSnapshot();
    const DerivedTerms mirroredTerms = recordedTerms();
    const u8 mirroredRights = stateTop->castleRights;
    setFen(line.fen.c_str());
    flipPosition();
    recomputeKeys();
    EXPECT_TRUE(takeSnapshot() == mirrored) << line.fen;
    EXPECT_TRUE(recordedTerms() == mirroredTerms) << line.fen;
    EXPECT_EQ(stateTop->castleRights, mirroredRights) << line.fen;
    flipPosition();
    recomputeKeys();
    EXPECT_EQ(positionFen(), line.fen);
  }
}

TEST(Perft, ReportLineFormat) {
  setFen("8/8/8/8/8/8/8/K6k w - -");
  testing::internal::CaptureStdout();
  perftReport(1);
  std::string out = testing::internal::GetCapturedStdout();
  // The time is whatever the clock gave: on a busy machine more than 0.00, and
  // any elapsed millisecond at all adds the rate.
  const std::string prefix = "depth = 1, nodes =          3, time = ";
  ASSERT_EQ(out.substr(0, prefix.size()), prefix);
  const std::string time = out.substr(prefix.size(), 8);
  EXPECT_TRUE(time.size() == 8 && time[5] == '.' && time.find_first_not_of(" 0123456789.") == std::string::npos) << out;
  const std::string rest = out.substr(prefix.size() + 8);
  const bool rate = rest.size() > 9 && rest[0] == '\t' && rest.substr(rest.size() - 8) == " kN / s\n" &&
                    rest.substr(1, rest.size() - 9).find_first_not_of("0123456789") == std::string::npos;
  EXPECT_TRUE(rest == "\n" || rate) << out;
}

TEST(Generators, AgreeWithEachOtherBelowSuitePositions) {
  for (const PerftLine &line : perftSuite()) {
    setFen(line.fen.c_str());
    checkGeneratorsAgree(line.counts.size() > 4 ? 2 : 3, line.fen);
  }
}

TEST(Generators, LegalMovesMatchReferenceOverRandomGames) {
  std::mt19937 random(11);
  for (const PerftLine &line : perftSuite()) {
    setFen(line.fen.c_str());
    for (int ply = 0; ply < 120; ++ply) {
      std::vector<Move> legal = legalOnly(generated(whiteToMove ? generateAllWhite : generateAllBlack));
      ASSERT_EQ(sorted(legal), sorted(referenceLegalMoves())) << line.fen << " / " << positionFen();
      if (legal.empty()) break;
      ASSERT_TRUE(makeMove(legal[random() % legal.size()]));
    }
  }
}

TEST(Generators, StartPositionOrder) {
  setFen(START_FEN);
  std::vector<std::string> expected = {"a2a4/64", "b2b4/64", "c2c4/64", "d2d4/64", "e2e4/64", "f2f4/64", "g2g4/64",
                                       "h2h4/64", "a2a3",    "b2b3",    "c2c3",    "d2d3",    "e2e3",    "f2f3",
                                       "g2g3",    "h2h3",    "b1a3",    "b1c3",    "g1f3",    "g1h3"};
  EXPECT_EQ(texts(generated(generateQuietWhite)), expected);
  MoveList list;
  generateAll(list);
  EXPECT_EQ(texts(listed(list)), expected);
  EXPECT_TRUE(generated(generateCapturesWhite).empty());
}

TEST(Generators, QuietMovesCarryHistoryScores) {
  setFen(START_FEN);
  history[WHITE_KNIGHT][F3] = 77;
  MoveList list;
  list.clear();
  generateQuietWhite(list);
  history[WHITE_KNIGHT][F3] = 0;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
    const Move m = e->move;
    EXPECT_EQ(e->score, m == encodeMove(G1, F3) ? 77 : 0);
  }
}

TEST(Generators, PromotionOrder) {
  setFen("r3k3/1P6/8/8/8/8/8/4K3 w - -");
  std::vector<std::string> all = texts(generated(generateAllWhite));
  std::vector<std::string> promotions(all.begin(), all.begin() + 8);
  EXPECT_EQ(promotions, (std::vector<std::string>{"b7a8q/5", "b7a8r/4", "b7a8n/2", "b7a8b/3", "b7b8q/5", "b7b8r/4",
                                                  "b7b8n/2", "b7b8b/3"}));
  EXPECT_EQ(texts(generated(generateCapturesWhite)).front(), "b7a8q/5");
  EXPECT_EQ(texts(generated(generateCapturesWhite))[1], "b7b8q/5");
  setFen("4k3/8/8/8/8/8/6p1/4K2R b - -");
  EXPECT_EQ(texts(generated(generateCapturesBlack)),
            (std::vector<std::string>{"g2h1q/11", "g2g1q/11"}));
  std::vector<std::string> black = texts(generated(generateAllBlack));
  EXPECT_EQ(std::vector<std::string>(black.begin(), black.begin() + 8),
            (std::vector<std::string>{"g2h1q/11", "g2h1r/10", "g2h1n/8", "g2h1b/9", "g2g1q/11", "g2g1r/10",
                                      "g2g1n/8", "g2g1b/9"}));
  // Black captures toward the a-file first, white toward the h-file first.
  setFen("4k3/8/8/8/8/8/8/4K3 w - -");
  setFen("4k3/8/8/2p5/1P1P4/8/8/4K3 b - -");
  EXPECT_EQ(texts(generated(generateCapturesBlack)), (std::vector<std::string>{"c5b4", "c5d4"}));
  setFen("4k3/8/8/2p5/1P1P4/8/8/4K3 w - -");
  EXPECT_EQ(texts(generated(generateCapturesWhite)), (std::vector<std::string>{"b4c5", "d4c5"}));
}

TEST(Generators, EnPassantCaptures) {
  setFen("4k3/8/8/3PpP2/8/8/8/4K3 w - e6");
  EXPECT_EQ(texts(generated(generateCapturesWhite)), (std::vector<std::string>{"d5e6/32", "f5e6/32"}));
  for (Move m : generated(generateCapturesWhite)) EXPECT_EQ(moveCaptured(m), BLACK_PAWN);
  setFen("4k3/8/8/8/3pPp2/8/8/4K3 b - e3");
  for (Move m : generated(generateCapturesBlack)) EXPECT_EQ(moveCaptured(m), WHITE_PAWN);
  setFen("4k3/8/8/3PpP2/8/8/8/4K3 w - -");
  EXPECT_TRUE(generated(generateCapturesWhite).empty());
}

TEST(Generators, CastlingRules) {
  auto castles = [](void (*gen)(MoveList &)) {
    std::vector<std::string> result;
    for (const std::string &t : texts(generated(gen)))
      if (t.size() > 4 && t.substr(4) == "/16") result.push_back(t.substr(0, 4));
    return result;
  };
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_EQ(castles(generateQuietWhite), (std::vector<std::string>{"e1g1", "e1c1"}));
  EXPECT_EQ(castles(generateAllWhite), (std::vector<std::string>{"e1g1", "e1c1"}));
  setFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -");
  EXPECT_EQ(castles(generateQuietBlack), (std::vector<std::string>{"e8g8", "e8c8"}));
  setFen("1r2k3/8/8/8/8/8/8/R3K2R w KQ -");  // b1 attacked: still allowed
  EXPECT_EQ(castles(generateQuietWhite), (std::vector<std::string>{"e1g1", "e1c1"}));
  setFen("2r1k3/8/8/8/8/8/8/R3K2R w KQ -");  // c1 attacked
  EXPECT_EQ(castles(generateQuietWhite), (std::vector<std::string>{"e1g1"}));
  setFen("4k1r1/8/8/8/8/8/8/R3K2R w KQ -");  // g1 attacked
  EXPECT_EQ(castles(generateQuietWhite), (std::vector<std::string>{"e1c1"}));
  setFen("4k3/8/8/8/8/8/8/RN2K1NR w KQ -");  // paths blocked
  EXPECT_TRUE(castles(generateQuietWhite).empty());
  setFen("4k3/8/8/8/8/8/8/R3K2R w - -");
  EXPECT_TRUE(castles(generateQuietWhite).empty());
  setFen("4r1k1/8/8/8/8/8/8/R3K2R w KQ -");  // in check
  EXPECT_TRUE(castles(generateQuietWhite).empty());
}

TEST(Generators, EvasionsFromSliderPawnAndDoubleCheck) {
  // Rook check along the rank: the king may not step to f1 behind it.
  setFen("4k3/8/8/8/8/8/8/r3K3 w - -");
  std::vector<std::string> evasions = texts(generated(generateEvasionsWhite));
  EXPECT_EQ(std::count(evasions.begin(), evasions.end(), "e1f1"), 0);
  EXPECT_EQ(sorted(legalOnly(generated(generateEvasionsWhite))), sorted(referenceLegalMoves()));
  // Pawn check: the square diagonally behind the king stays available.
  setFen("4k3/8/8/8/8/8/3p4/4K3 w - -");
  evasions = texts(generated(generateEvasionsWhite));
  EXPECT_EQ(std::count(evasions.begin(), evasions.end(), "e1f2"), 1);
  EXPECT_EQ(std::count(evasions.begin(), evasions.end(), "e1d2"), 1);
  // Double check: only king moves.
  setFen("4k3/8/8/8/8/5n2/8/R2rK2R w KQ -");
  for (Move m : generated(generateEvasionsWhite)) EXPECT_EQ(moveFrom(m), E1);
  EXPECT_EQ(sorted(legalOnly(generated(generateEvasionsWhite))), sorted(referenceLegalMoves()));
}

TEST(Generators, EnPassantEvasionOfACheckingPawn) {
  setFen("8/8/8/2k5/3Pp3/8/8/4K3 b - d3");  // d4 pawn just pushed, checks c5
  std::vector<std::string> evasions = texts(generated(generateEvasionsBlack));
  EXPECT_EQ(std::count(evasions.begin(), evasions.end(), "e4d3/32"), 1);
  EXPECT_EQ(std::count(evasions.begin(), evasions.end(), "c5d4"), 1);
}

TEST(MoveList, FullListDropsMovesInsteadOfOverflowing) {
  // The most moves a legal position is known to have, and then the same again.
  setFen("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - -");
  struct Guarded {
    MoveList list;
    MoveEntry after;
  } guarded;
  guarded.after = {0xDEADBEEF, 0xABCD};
  generateAll(guarded.list);
  EXPECT_EQ(guarded.list.size(), 218);
  generateAllWhite(guarded.list);
  EXPECT_EQ(guarded.list.size(), MOVE_LIST_CAPACITY);
  generateQuietWhite(guarded.list);
  generateCapturesWhite(guarded.list);
  EXPECT_EQ(guarded.list.size(), MOVE_LIST_CAPACITY);
  const Move after = guarded.after.move;
  EXPECT_EQ(after, 0xDEADBEEFu);
  EXPECT_EQ(guarded.after.score, 0xABCD);
}
