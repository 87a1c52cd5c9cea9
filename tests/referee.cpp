// Move generation checked against an outside referee: Debian's Stockfish,
// driven over a pipe with "go perft". Random games from the perft suite
// positions reach positions no hand-written case covers; at each one the
// engine's legal moves and leaf counts must equal the referee's.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/make_move.h"
#include "frontend/startup.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"
#include "movegen/perft.h"
#include "tests/engine_process.h"
#include "tests/test_position.h"

namespace {

// Leaf counts per root move, keyed by the move's coordinate text.
using Divide = std::map<std::string, u64>;

constexpr unsigned SEED = 20240611;
constexpr int POSITIONS_PER_ORIGIN = 140;  // about 4500 positions in all
constexpr int MAX_GAME_PLIES = 40;  // short games stay near the suite's tricky positions
constexpr int MAX_GAMES_PER_ORIGIN = 50;  // small endgames may run out of new positions
constexpr int DEEP_EVERY = 25;  // every 25th position is also counted to depth 4
constexpr int MAX_REPORTED = 10;
constexpr int REPLY_TIMEOUT_MS = 30000;

std::vector<std::string> originFens() {
  std::vector<std::string> fens = {START_FEN};
  std::ifstream file(PERFT_SUITE);
  EXPECT_TRUE(file.good()) << "cannot read " << PERFT_SUITE;
  std::string text;
  while (std::getline(file, text)) {
    if (text.empty() || text[0] == '#') continue;
    std::string fen = text.substr(0, text.find(';'));
    fen.erase(fen.find_last_not_of(' ') + 1);
    if (fen != fens.front()) fens.push_back(fen);
  }
  return fens;
}

std::string text(Move m) {
  char out[6];
  moveToText(m, out);
  return out;
}

std::vector<Move> legalMoves() {
  MoveList list;
  generateAll(list);
  std::vector<Move> legal;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
    if (!makeMove(e->move)) continue;
    unmakeMove(e->move);
    legal.push_back(e->move);
  }
  return legal;
}

// The engine's counts below each legal move. A move text listed twice adds
// up, so a duplicated move shows as a count the referee does not have.
Divide engineDivide(const std::vector<Move> &legal, int depth) {
  Divide divide;
  for (Move m : legal) {
    u64 leaves = 1;
    if (depth > 1) {
      if (!makeMove(m)) continue;
      perftNodes = 0;
      perftCount(depth - 1);
      leaves = perftNodes;
      unmakeMove(m);
    }
    divide[text(m)] += leaves;
  }
  return divide;
}

u64 total(const Divide &divide) {
  u64 sum = 0;
  for (const auto &[move, count] : divide) sum += count;
  return sum;
}

bool isMoveText(const std::string &s) {
  if (s.size() != 4 && s.size() != 5) return false;
  for (int i = 0; i < 4; i += 2)
    if (s[i] < 'a' || s[i] > 'h' || s[i + 1] < '1' || s[i + 1] > '8') return false;
  return s.size() == 4 || std::string("qrbn").find(s[4]) != std::string::npos;
}

class Referee {
 public:
  Referee() : process_({}, STOCKFISH_PATH) {}

  bool start() {
    process_.send("uci\n");
    std::vector<std::string> lines = process_.readUntil("uciok", REPLY_TIMEOUT_MS);
    return !lines.empty() && lines.back() == "uciok";
  }

  // The referee's divide to `depth` and its "Nodes searched" total; false
  // when it gives no complete answer.
  bool perft(const std::string &fen, int depth, Divide &divide, u64 &nodes) {
    process_.send("position fen " + fen + "\ngo perft " + std::to_string(depth) + "\n");
    std::vector<std::string> lines = process_.readUntil("Nodes searched:", REPLY_TIMEOUT_MS);
    if (lines.empty() || lines.back().rfind("Nodes searched:", 0) != 0) return false;
    nodes = std::stoull(lines.back().substr(15));
    divide.clear();
    for (const std::string &line : lines) {
      const size_t colon = line.find(": ");
      if (colon == std::string::npos || !isMoveText(line.substr(0, colon))) continue;
      divide[line.substr(0, colon)] = std::stoull(line.substr(colon + 2));
    }
    return true;
  }

 private:
  EngineProcess process_;
};

// Empty when the two agree; otherwise what differs, move by move.
std::string differences(const Divide &engine, const Divide &referee, u64 refereeNodes) {
  std::string onlyEngine, onlyReferee, counts;
  for (const auto &[move, count] : engine) {
    auto it = referee.find(move);
    if (it == referee.end())
      onlyEngine += " " + move;
    else if (it->second != count)
      counts += " " + move + " " + std::to_string(count) + "/" + std::to_string(it->second);
  }
  for (const auto &[move, count] : referee)
    if (!engine.count(move)) onlyReferee += " " + move;
  const u64 engineNodes = total(engine);
  if (onlyEngine.empty() && onlyReferee.empty() && counts.empty() && engineNodes == refereeNodes) return {};
  std::string out;
  if (!onlyEngine.empty()) out += "\n  only the engine:" + onlyEngine;
  if (!onlyReferee.empty()) out += "\n  only stockfish:" + onlyReferee;
  if (!counts.empty()) out += "\n  counts engine/stockfish:" + counts;
  out += "\n  nodes: engine " + std::to_string(engineNodes) + ", stockfish " + std::to_string(refereeNodes);
  return out;
}

// Castling, en passant and promotions are where generators go wrong, so the
// games steer toward them: en-passant captures and promotions are usually
// played when legal, castling often (played at once, the rights are gone for
// the rest of the game), double pushes beside an enemy pawn are favoured,
// king and rook moves that give up castling rights are mostly avoided, and
// pawns move more than their share.
Move chooseMove(const std::vector<Move> &legal, std::mt19937 &random) {
  const u8 ownPawn = whiteToMove ? WHITE_PAWN : BLACK_PAWN, enemyPawn = whiteToMove ? BLACK_PAWN : WHITE_PAWN;
  const u8 ownKing = whiteToMove ? WHITE_KING : BLACK_KING, ownRook = whiteToMove ? WHITE_ROOK : BLACK_ROOK;
  const bool hasRights = (stateTop->castleRights & (whiteToMove ? 3 : 12)) != 0;
  std::vector<Move> captureOrPromotion, castling, offerEnPassant, pawn, keepRights;
  for (Move m : legal) {
    const u8 flags = moveFlags(m), piece = board[moveFrom(m)];
    const int to = moveTo(m);
    if (flags & (EnPassantFlag | PromotionMask)) captureOrPromotion.push_back(m);
    if (flags & CastleFlag) castling.push_back(m);
    if ((flags & DoublePushFlag) && ((squareFile(to) > 0 && board[to - 1] == enemyPawn) ||
                                     (squareFile(to) < 7 && board[to + 1] == enemyPawn)))
      offerEnPassant.push_back(m);
    if (piece == ownPawn) pawn.push_back(m);
    if (!hasRights || (flags & CastleFlag) || (piece != ownKing && piece != ownRook)) keepRights.push_back(m);
  }
  auto any = [&random](const std::vector<Move> &moves) { return moves[random() % moves.size()]; };
  if (!captureOrPromotion.empty() && random() % 4 != 0) return any(captureOrPromotion);
  if (!castling.empty() && random() % 3 == 0) return any(castling);
  if (!offerEnPassant.empty() && random() % 2 == 0) return any(offerEnPassant);
  if (!pawn.empty() && random() % 3 == 0) return any(pawn);
  if (!keepRights.empty() && random() % 4 != 0) return any(keepRights);
  return any(legal);
}

TEST(Referee, RandomGamesAgreeWithStockfish) {
  Referee referee;
  ASSERT_TRUE(referee.start()) << "no uciok from " << STOCKFISH_PATH;

  std::mt19937 random(SEED);
  int compared = 0, deep = 0, disagreements = 0;
  int withRights = 0, withCastling = 0, withEpSquare = 0, withEnPassant = 0, withPromotion = 0, inCheck = 0, ended = 0;
  std::set<std::string> seen;

  for (const std::string &origin : originFens()) {
    int fromOrigin = 0;
    for (int game = 0; game < MAX_GAMES_PER_ORIGIN && fromOrigin < POSITIONS_PER_ORIGIN; ++game) {
      ASSERT_TRUE(setPositionFromFen(origin.c_str())) << origin;
      std::string path;  // the moves from the origin, to reproduce a failure
      for (int ply = 0; ply <= MAX_GAME_PLIES && fromOrigin < POSITIONS_PER_ORIGIN; ++ply) {
        const std::vector<Move> legal = legalMoves();
        const std::string fen = positionFen() + " 0 1";
        if (seen.insert(fen).second) {
          ++fromOrigin;
          ++compared;
          bool castling = false, enPassant = false, promotion = false;
          for (Move m : legal) {
            castling |= (moveFlags(m) & CastleFlag) != 0;
            enPassant |= (moveFlags(m) & EnPassantFlag) != 0;
            promotion |= (moveFlags(m) & PromotionMask) != 0;
          }
          withRights += (stateTop->castleRights & (whiteToMove ? 3 : 12)) != 0;
          withEpSquare += stateTop->epSquare != 0;
          withCastling += castling;
          withEnPassant += enPassant;
          withPromotion += promotion;
          inCheck += stateTop->inCheck != 0;
          ended += legal.empty();

          std::vector<int> depths = {1, 2, 3};
          if (compared % DEEP_EVERY == 0) {
            depths.push_back(4);
            ++deep;
          }
          for (int depth : depths) {
            Divide refereeDivide;
            u64 refereeNodes = 0;
            ASSERT_TRUE(referee.perft(fen, depth, refereeDivide, refereeNodes))
                << "stockfish gave no perft " << depth << " answer for " << fen;
            const std::string diff = differences(engineDivide(legal, depth), refereeDivide, refereeNodes);
            if (diff.empty()) continue;
            if (++disagreements <= MAX_REPORTED)
              ADD_FAILURE() << "perft " << depth << " differs at " << fen << "\n  reached from " << origin
                            << " by" << (path.empty() ? " no moves" : path) << diff;
            break;  // the deeper counts of this position would only repeat it
          }
        }
        if (legal.empty()) break;
        const Move m = chooseMove(legal, random);
        path.append(" ").append(text(m));
        ASSERT_TRUE(makeMove(m)) << fen << " " << text(m);
      }
    }
  }

  EXPECT_EQ(disagreements, 0) << "positions that disagree (the first " << MAX_REPORTED << " are shown)";
  EXPECT_GE(compared, 3000);
  std::printf("referee: %d positions compared (%d also to depth 4): %d with castling rights, %d with castling, "
              "%d with an en-passant square, %d with en passant, %d with promotions, %d in check, %d without moves\n",
              compared, deep, withRights, withCastling, withEpSquare, withEnPassant, withPromotion, inCheck, ended);
  RecordProperty("positions", compared);
  RecordProperty("depth4", deep);
  RecordProperty("castling", withCastling);
  RecordProperty("enPassant", withEnPassant);
  RecordProperty("promotion", withPromotion);
}

}  // namespace
