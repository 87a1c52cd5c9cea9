// Move generation against Debian's Stockfish: at each position of random games from the perft-suite positions,
// legal moves and leaf counts must equal "go perft"'s. Stockfish replays the moves, so make is checked too.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <random>
#include <set>

#include "board/fen.h"
#include "board/make_move.h"
#include "frontend/startup.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"
#include "movegen/perft.h"

namespace {
using Divide = std::map<std::string, u64>;  // leaves below each legal move, by its text

std::string fen(const std::string &position) {  // Stockfish's, for a report
  FILE *stockfish = popen(("printf '" + position + "d\\nquit\\n' | " STOCKFISH_PATH).c_str(), "r");
  std::string line;
  for (char text[256]; line.rfind("Fen: ", 0) != 0 && std::fgets(text, sizeof text, stockfish);) line = text;
  pclose(stockfish);
  return line.rfind("Fen: ", 0) == 0 ? line.substr(5, line.find('\n') - 5) : "?";
}

std::pair<Divide, std::vector<Move>> engineDivide(int depth) {  // a move listed twice counts twice
  MoveList list;
  generateAll(list);
  std::pair<Divide, std::vector<Move>> result;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
    char text[6];
    moveToText(e->move, text);
    if (!makeMove(e->move)) continue;
    perftNodes = 0, perftCount(depth - 1);
    unmakeMove(e->move);
    result.first[text] += perftNodes, result.second.push_back(e->move);
  }
  return result;
}

// Castling, en passant and promotions are where generators go wrong: the games favour them, double
// steps beside an enemy pawn and pawn moves, and avoid king and rook moves that give up castling rights.
Move chooseMove(const std::vector<Move> &legal, std::mt19937 &rng) {
  const u8 own = whiteToMove ? 0 : 6, enemyPawn = whiteToMove ? BLACK_PAWN : WHITE_PAWN;
  const bool rights = stateTop->castleRights & (whiteToMove ? 3 : 12);
  std::vector<double> weights;
  for (Move m : legal) {
    const int flags = moveFlags(m), piece = board[moveFrom(m)] - own, to = moveTo(m);
    const bool beside = (to % 8 && board[to - 1] == enemyPawn) || (to % 8 < 7 && board[to + 1] == enemyPawn);
    const bool givesUpRights = rights && (piece == WHITE_KING || piece == WHITE_ROOK);
    weights.push_back(flags & (EnPassantFlag | PromotionMask) ? 20 : flags == CastleFlag ? 10
                      : flags == DoublePushFlag && beside ? 60 : givesUpRights ? 0.1 : piece == WHITE_PAWN ? 3 : 1);
  }
  return legal[std::discrete_distribution<>(weights.begin(), weights.end())(rng)];
}
}  // namespace

TEST(Referee, RandomGamesAgreeWithStockfish) {
  initEngine();
  const std::string replies = "/tmp/referee-" + std::to_string(getpid());
  FILE *stockfish = popen((STOCKFISH_PATH " > " + replies).c_str(), "w");  // one run, while the games go on
  std::ifstream suite(PERFT_SUITE);
  std::mt19937 rng(20240611);
  std::set<u64> seen;
  std::vector<std::tuple<std::string, int, Divide>> cases;  // "position" command, depth, the engine's divide
  for (std::string origin; std::getline(suite, origin);) {
    if ((origin = origin.substr(0, origin.find(" ;"))).empty() || origin[0] == '#') continue;
    for (int game = 0, fromOrigin = 0; game < 50 && fromOrigin < 140; ++game) {  // 140 new positions per origin
      ASSERT_TRUE(setPositionFromFen(origin.c_str())) << origin;
      std::string moves;
      for (int ply = 0; ply <= 40 && fromOrigin < 140; ++ply) {
        const int depth = cases.size() % 25 == 24 ? 4 : 3;  // every 25th to depth 4
        auto [divide, legal] = engineDivide(depth);
        if (seen.insert(stateTop->hashKey).second) {
          const std::string position = "position fen " + origin + (moves.empty() ? "" : " moves" + moves) + "\n";
          std::fprintf(stockfish, "%sgo perft %d\n", position.c_str(), depth);
          cases.emplace_back(position, depth, std::move(divide)), ++fromOrigin;
        }
        if (legal.empty()) break;
        const Move m = chooseMove(legal, rng);
        char text[6];
        moveToText(m, text);
        moves.append(" ").append(text);
        ASSERT_TRUE(makeMove(m));
      }
    }
  }
  std::fputs("quit\n", stockfish), pclose(stockfish);
  std::ifstream answers(replies);
  unlink(replies.c_str());
  size_t answered = 0, disagreements = 0;
  Divide expected;
  for (std::string line; answered < cases.size() && std::getline(answers, line);) {
    if (const size_t colon = line.find(": "); colon == 4 || colon == 5)  // "e2e4: 20", "e7e8q: 3"
      expected[line.substr(0, colon)] = std::stoull(line.substr(colon + 2));
    if (line.rfind("Nodes searched: ", 0) != 0) continue;
    const auto &[position, depth, divide] = cases[answered++];
    if (divide != expected && ++disagreements <= 10)
      ADD_FAILURE() << "perft " << depth << " differs at " << fen(position) << "\nreached by " << position
                    << "engine:    " << testing::PrintToString(divide)
                    << "\nstockfish: " << testing::PrintToString(expected);
    expected.clear();
  }
  EXPECT_EQ(answered, cases.size()) << "positions Stockfish answered";
  EXPECT_EQ(disagreements, 0u) << "positions that disagree (the first 10 are shown)";
  EXPECT_GE(cases.size(), 4000u) << "positions compared";
}
