// The engine library in-process: perft suite, make and unmake, keys, FEN, clocks, table, evaluation.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <random>
#include <set>

#include "board/fen.h"
#include "board/make_move.h"
#include "board/zobrist.h"
#include "eval/evaluate.h"
#include "eval/move_valid.h"
#include "eval/tables.h"
#include "frontend/poll.h"
#include "frontend/report.h"
#include "frontend/startup.h"
#include "movegen/attack_tests.h"
#include "movegen/generate.h"
#include "movegen/perft.h"
#include "search/control.h"
#include "search/ordering.h"
#include "search/search.h"
#include "search/tt.h"
#include "platform/platform.h"
#ifdef __linux__
#include <sys/resource.h>
#endif

namespace {

struct Tables : testing::Environment {  // built once, as at program start, with a small table
  void SetUp() override { ttMask = 0xFFFF, initEngine(); }
};
const auto *tables = testing::AddGlobalTestEnvironment(new Tables);

std::vector<std::string> perftSuite() {  // lines "<FEN> ;D<depth> <count> ..."
  std::vector<std::string> lines;
  std::ifstream file(PERFT_SUITE);
  for (std::string line; std::getline(file, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  EXPECT_GE(lines.size(), 30u) << PERFT_SUITE;
  return lines;
}

auto snapshot() {  // everything make and unmake may touch, the records included
  using Bytes = std::array<u8, sizeof(StateRecord)>;
  return std::tuple(std::to_array(board), std::to_array(pieceBB), WhitePieces, BlackPieces, whiteToMove, stateTop,
                    std::bit_cast<Bytes>(*stateTop), std::bit_cast<Bytes>(stateStack[0]));
}

void expectConsistent(const std::string &where) {  // kept terms against a recomputation; the scans in halves too
  const StateRecord kept = *stateTop;
  recomputeKeys();
  const u64 hashKey = stateTop->hashKey, pawnKey = stateTop->pawnKey;
  *stateTop = kept;
  i64 mid = 0, end = 0, material = 0;
  u64 pieces[13] = {}, sides[2] = {};
  for (int s = 0; s < 64; ++s) {
    mid += psqTable[board[s]][s].mid, end += psqTable[board[s]][s].end, material += materialWeight[board[s]];
    pieces[board[s]] |= u64(1) << s, sides[isBlackPiece(board[s])] |= board[s] ? u64(1) << s : 0;
  }
  ASSERT_EQ(std::tuple(kept.hashKey, kept.pawnKey, kept.psqMid, kept.psqEnd, kept.materialIndex, kept.inCheck != 0,
                       WhitePieces, BlackPieces, std::equal(pieces + 1, pieces + 13, pieceBB + 1),
                       lowestBit<true>(WhitePieces), lowestBit<true>(BlackPieces), bitCount<true>(pieces[0])),
            std::tuple(hashKey, pawnKey, mid, end, material, sideInCheck(), sides[0], sides[1], true,
                       std::countr_zero(sides[0]), std::countr_zero(sides[1]), std::popcount(pieces[0]))) << where;
}

}  // namespace

TEST(Perft, SuiteAndMirrorImages) {
  for (const std::string &line : perftSuite())
    for (const char *image : {"", "mirrored"}) {
      ASSERT_TRUE(setPositionFromFen(line.c_str())) << line;
      // The mirror image; flipPosition leaves the en-passant square to the caller.
      if (*image) flipPosition(), stateTop->epSquare ^= stateTop->epSquare ? 56 : 0, recomputeKeys();
      ASSERT_NO_FATAL_FAILURE(expectConsistent(line + image));
      for (size_t at = line.find(";D"); at != std::string::npos; at = line.find(";D", at + 1)) {
        const int depth = std::stoi(line.substr(at + 2));
        perftNodes = 0, perftCount(depth);
        EXPECT_EQ(perftNodes, std::stoull(line.substr(line.find(' ', at)))) << line << image << ", depth " << depth;
      }
    }
}

TEST(RandomGames, MakeUnmakeStoredMoveCheckAndBitCounts) {
  std::mt19937 rng(7);
  std::set<Move> seen;  // moves of earlier positions stand for table and killer moves
  const bool hardware = hardwareBitCount;  // as chosen at start-up
  int wrong = 0, plies = 0;
  for (const std::string &line : perftSuite()) {
    ASSERT_TRUE(setPositionFromFen(line.c_str())) << line;
    for (int ply = 0; ply < 300; ++ply, ++plies) {
      SCOPED_TRACE(line + ", after " + std::to_string(ply) + " plies");
      hardwareBitCount = false;  // the evaluation's plain bit count, then the instruction where there is one
      const i16 plain = evaluate();
      hardwareBitCount = hardware;
      ASSERT_EQ(plain, evaluate());
      MoveList list;
      generateAll(list);
      std::vector<Move> generated, legal;
      const auto before = snapshot();
      for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
        const Move m = e->move;
        SCOPED_TRACE(testing::Message() << "move " << std::hex << m << ", made or refused, and unmade");
        generated.push_back(m);
        if (makeMove(m)) {
          legal.push_back(m);
          ASSERT_NO_FATAL_FAILURE(expectConsistent("made"));
          unmakeMove(m);
        }
        ASSERT_TRUE(snapshot() == before);
      }
      // A stored move is valid exactly when generated here; castling out of check is left to make.
      std::sort(generated.begin(), generated.end());
      seen.insert(generated.begin(), generated.end());
      for (Move m : seen)
        if (isMoveValid(m) != std::binary_search(generated.begin(), generated.end(), m) &&
            (moveFlags(m) != CastleFlag || !stateTop->inCheck) && ++wrong <= 3)
          ADD_FAILURE() << "stored move " << std::hex << m << " misjudged" << (wrong == 3 ? "; no more shown" : "");
      if (legal.empty()) break;
      ASSERT_TRUE(makeMove(legal[rng() % legal.size()]));
    }
  }
  EXPECT_GT(plies, 1000);
  // Castling is generated from the king's home square only. No position keeps its rights once the king has
  // left home, so they are set here by hand: only the square is left to refuse the move.
  ASSERT_TRUE(setPositionFromFen("4k3/8/8/8/8/8/8/3K3R w"));
  stateTop->castleRights = 15;
  EXPECT_FALSE(isMoveValid(encodeMove(D1, G1, CastleFlag)));
}

TEST(HashKeys, DocumentedValues) {
  EXPECT_EQ((std::array{zobristPiece[0][0], zobristPiece[1][0], zobristCastle[0], zobristSide}),  // fixed draws
            (std::array<u64, 4>{0xC83FA926AEDBA7E4, 0x3C1F9DB21A6FFB08, 0xFA2FE0CC9CDFCC0F, 0x787A8E1FC5991945}));
  ASSERT_TRUE(setPositionFromFen(START_FEN));
  EXPECT_EQ(stateTop->hashKey, 0x053CF5ADCB5E0DA5u);
  EXPECT_EQ(stateTop->pawnKey, 0x60C69E401A908548u);
}

TEST(Fen, LenientLayoutAndImplausibleRightsAndSquaresDropped) {
  for (auto [given, plain] : std::initializer_list<std::pair<const char *, const char *>>{
           {"  r3k2r/8/8/8/8/8/8/R3K2R   b   Kq   -   0   1  extra", "r3k2r/8/8/8/8/8/8/R3K2R b Kq -"},
           {"4k3/8/8/8/8/8/4K3 B", "4k3/8/8/8/8/8/4K3/8 b - -"},  // squares not covered stay empty
           {"4k3/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/4K3 w - -"},  // no side given: white to move
           {"4k3/8/8/8/8/8/8/xxxxK3PPPP/8 w", "4k3/8/8/8/8/8/8/4K3 w - -"},  // unknown letters skip; 64 squares
           {"r3k3/8/8/8/8/8/8/4K2R w KQkq -", "r3k3/8/8/8/8/8/8/4K2R w Kq -"},  // no king or rook at home
           {"4k2r/8/8/8/8/8/8/R3K3 w KQkq -", "4k2r/8/8/8/8/8/8/R3K3 w Qk -"},
           {"4k3/8/8/8/4P3/8/4P3/4K3 b - e3", "4k3/8/8/8/4P3/8/4P3/4K3 b - -"},  // the square passed is taken
           {"4k3/8/8/8/4Pp2/8/8/4K3 b - e3x", "4k3/8/8/8/4Pp2/8/8/4K3 b - e3"}}) {  // two characters name it
    ASSERT_TRUE(setPositionFromFen(plain)) << plain;
    const u64 key = stateTop->hashKey;
    ASSERT_TRUE(setPositionFromFen(given)) << given;
    EXPECT_EQ(stateTop->hashKey, key) << given;
  }
  EXPECT_TRUE(setPositionFromFen("4k3/8/8/8/8/8/8/R3K3 w - -") && stateTop->castleRights == 0);  // "-": none
}

TEST(Fen, RefusalsKeepThePreviousPositionAndEveryPrefixIsSafe) {
  const std::string kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
  ASSERT_TRUE(setPositionFromFen(kiwipete.c_str()) && makeMove(encodeMove(E1, G1, CastleFlag)));
  const auto before = snapshot();
  for (const char *refused : {"", "hello world", "8/8/8/8/8/8/8/8 w - -", "4k3/8/8/8/8/8/8/3KK3 w - -",
                              "P3k3/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/p3K3 b - -",
                              "4k3/8/8/8/8/8/8/4K2r b - -", "4k2R/8/8/8/8/8/8/4K3 w - -"}) {
    EXPECT_FALSE(setPositionFromFen(refused)) << refused;
    EXPECT_TRUE(snapshot() == before) << refused;
  }
  for (size_t n = 0; n <= kiwipete.size(); ++n)
    if (setPositionFromFen(kiwipete.substr(0, n).c_str())) expectConsistent(kiwipete.substr(0, n));
}

std::pair<u32, u32> limits(u32 moveTime, u32 toGo, u32 remaining, u32 increment) {  // hard, soft
  moveTimeMs = moveTime, movesToGo = toGo, remainingMs = remaining, incrementMs = increment;
  allocateTimeLimits();
  moveTimeMs = movesToGo = remainingMs = incrementMs = 0;
  return {hardLimitMs, softLimitMs};
}

TEST(TimeLimits, WorkedExamplesAndFixedTimesAnsweredInside) {
  for (auto [moveTime, toGo, remaining, increment, hard, soft] : std::initializer_list<std::array<u32, 6>>{
           {60000, 0, 0, 0, 58780, 58780}, {0, 40, 300000, 0, 11750, 1997}, {0, 0, 60000, 0, 19333, 928},
           {0, 0, 60000, 1000, 20000, 1360}, {0, 40, 0, 5000, 4750, 807}, {0, 0, 0, 0, 0, 0}, {0, 0, 1500, 0, 50, 1},
           // Where the formulas count the increment, credited only after the move, a quarter of the
           // clock is kept: the last moves before a control (40/90 + 30 s among them), a big increment.
           {0, 1, 60000, 0, 45000, 10198}, {0, 1, 5000, 200, 3750, 882}, {0, 2, 1000, 500, 750, 181},
           {0, 2, 2000, 3000, 1500, 705}, {0, 3, 20000, 30000, 15000, 6504}, {0, 0, 800, 5000, 600, 600}})
    EXPECT_EQ(limits(moveTime, toGo, remaining, increment), std::pair(hard, soft)) << toGo << " " << remaining;
  analyzeMode = 1;
  EXPECT_EQ(limits(5000, 0, 0, 0).first, 0u);
  analyzeMode = 0;
  for (u32 t = 1; t <= 60000; ++t) {  // a reserve for the last poll, the reply and a coarse clock
    const auto [hard, soft] = limits(t, 0, 0, 0);
    ASSERT_TRUE(hard == soft && hard >= std::max(t * 0.97 - 20, 1.0) && hard <= std::max(i64(t) - 20, i64(1))) << t;
  }
}

TEST(TimeLimits, NeverPastTheClock) {  // nor, in the last two seconds without increment, past a tenth of it
  for (u32 toGo : {0u, 1u, 2u, 5u, 34u, 40u})
    for (u32 remaining : {1u, 30u, 500u, 1999u, 2000u, 2100u, 5000u, 60000u, 4000000000u})
      for (u32 increment : {0u, 99u, 100u, 3000u, 30000u, 4000000000u}) {
        const auto [hard, soft] = limits(0, toGo, remaining, increment);
        const bool lastSeconds = !toGo && increment < 100 && remaining < 2000;
        EXPECT_TRUE(hard >= 1 && soft >= 1 && soft <= hard &&
                    hard <= (lastSeconds ? remaining / 10 + 1 : std::max(u32(u64(remaining) * 3 / 4), 1u)))
            << toGo << " " << remaining << " " << increment << ": " << hard << " " << soft;
      }
  EXPECT_EQ(limits(0, 5, 100, 0), std::pair(1u, 1u));  // budget below zero
}

// A search whose speed drops up to fifteen times over at any moment of the
// move (a shared CPU): the poll that finds the hard limit comes at most one
// floor interval at the slow speed, plus a step of the clock, after it. The
// clock moves in steps of 1 ms, or of 16 ms as Windows's tick count does.
TEST(Poll, ScheduleHoldsWhenTheSpeedDrops) {
  for (u32 step : {1u, 16u})
    for (double drop : {1.0, 3.0, 10.0, 15.0})
      for (double fast : {300.0, 6000.0})  // nodes per millisecond
        for (u32 hard : {5u, 78u, 960u, 58780u})
          for (double dropAt = 0; dropAt <= hard; dropAt += hard / 16.0) {
            const double slow = fast / drop;
            auto timeAt = [&](u64 n) { return n <= fast * dropAt ? n / fast : dropAt + (n - fast * dropAt) / slow; };
            u64 nodes = MIN_POLL_INTERVAL;
            auto clock = [&] { return u32(timeAt(nodes)) / step * step; };
            while (clock() < hard) nodes += pollInterval(nodes, clock(), hard);
            EXPECT_LE(timeAt(nodes) - hard, step + MIN_POLL_INTERVAL / slow)
                << step << " " << drop << " " << fast << " " << hard << " " << dropAt;
          }
  EXPECT_EQ(pollInterval(115000, 99, 499), 25000u);  // a sixteenth of 400 ms at 1000 nodes a millisecond
  EXPECT_EQ(pollInterval(100000, 490, 500), MIN_POLL_INTERVAL);
  EXPECT_EQ(pollInterval(1u << 30, 9, 60000), MAX_POLL_INTERVAL);
}

#ifdef __linux__
TEST(TranspositionTable, MemoryInPlaceBeforeTheSearch) {  // its page faults must not fall in the first moves
  auto *table = static_cast<volatile char *>(allocateTable(64 << 20));
  rusage before, after;
  getrusage(RUSAGE_SELF, &before);
  for (size_t at = 0; at < 64 << 20; at += 4096) {
    ASSERT_EQ(table[at], 0);
    table[at] = 1;
  }
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_minflt - before.ru_minflt, 8);  // a fault a page would be 32 even on 2 MB pages
}
#endif

TEST(TranspositionTable, MateScoresRelativeToTheNodeAndOneEntryTable) {
  auto probe = [](u8 depth, u8 ply) {
    i16 alpha = -MATE, beta = MATE;
    const Move m = probeTT(alpha, beta, depth, ply);
    return std::tuple(m, int(alpha), int(beta));
  };
  ASSERT_TRUE(setPositionFromFen(START_FEN));
  const Move e2e4 = encodeMove(E2, E4, DoublePushFlag);
  storeTT(32757, 6, 5, TT_EXACT, e2e4);  // mate 10 plies from the root, 5 from this node
  EXPECT_EQ(probe(4, 3), std::tuple(e2e4, 32759, 32759));
  storeTT(-32757, 6, 5, TT_UPPER, e2e4);
  EXPECT_EQ(probe(4, 3), std::tuple(e2e4, -32767, -32759));
  // "-h" sizes: blanks and a sign before the digits; 0 MB is the one-entry table, 1 MB 65536 entries.
  EXPECT_EQ(std::tuple(parseMegabytes(" +12x"), ttMaskForMegabytes(0), ttMaskForMegabytes(1)),
            std::tuple(12u, 0u, 0xFFFFu));
  ttMask = 0, storeTT(10, 5, 0, TT_EXACT, e2e4);  // one entry for every position: the key tells them apart
  ASSERT_TRUE(setPositionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -"));
  EXPECT_EQ(probe(0, 0), std::tuple(NoMove, -32767, 32767));
  ttMask = 0xFFFF;
}

TEST(Report, InfoLinesOfBothProtocolsAndWrongTableMoveDiagnostic) {
  const Move e2e4 = encodeMove(E2, E4, DoublePushFlag);
  uciMode = 1;
  EXPECT_EQ(infoLine(7, -31, e2e4, 2000, 1234567),
            "info depth 7 score cp -31 time 2000 nodes 1234567 nps 617283 pv e2e4\n");
  EXPECT_EQ(infoLine(1, 5, e2e4, 0, 21), "info depth 1 score cp 5 time 0 nodes 21 nps 0 pv e2e4\n");
  uciMode = 0, xboardMode = 1;
  EXPECT_EQ(infoLine(7, -31, e2e4, 2009, 1234567), "7 -31 200 1234567 e2e4\n");
  xboardMode = 0;
  // A table move that does not fit (two positions share a key) is printed with the board.
  ASSERT_TRUE(setPositionFromFen("4k3/8/8/8/8/8/8/4K2R b K -"));
  WhitePieces ^= squareBit[A1], WhiteRooks ^= squareBit[H1], BlackKing ^= squareBit[H8];  // stray, missing bits
  testing::internal::CaptureStdout();
  Move m;
  EXPECT_TRUE(MovePicker(encodeMove(G7, G8, WHITE_QUEEN)).next(m));
  WhitePieces ^= squareBit[A1], WhiteRooks ^= squareBit[H1], BlackKing ^= squareBit[H8];
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ERROR: wrong move from hashg7g8Q\n\n....k...\n\nERROR: BlackKing set\n\n........\n........\n"
            "........\n........\n........\n........\n.\nWhitePieces set\n\n...K..R\n\nERROR: WhiteRooks reset\n\n"
            "black to move\n\n");
}

TEST(Evaluate, HandCountedMaterialPawnsAndShelter) {
  // Material records (value, white's view; flags; phase): a pawnless minor-piece lead is cancelled, a shelter
  // counts against queen and rook, and past the table (nine pawns; the initial set and a queen) full material.
  for (auto [fen, value, flags, phase] : std::initializer_list<std::tuple<const char *, int, int, int>>{
           {"4k3/8/8/8/8/8/8/3NK3 w", -319, 0, 23}, {"3nk3/8/8/8/8/8/8/4K3 w", 319, 0, 23},
           {"4k3/8/8/8/8/8/8/3RK3 w", 0, 0, 22}, {"3rk3/8/8/8/8/8/8/2BRK3 w", -319, 0, 19},
           {"3bk3/8/8/8/8/8/8/2BBK3 w", -319, 0, 21}, {"3nk3/8/8/8/8/8/8/2BBK3 w", 0, 0, 21},
           {"4k3/8/8/8/8/8/8/2NNK3 w", 0, 0, 22}, {"4k3/8/8/8/8/8/3P4/4K3 w", 0, 0, 24},
           {"4k3/8/8/8/8/8/8/Q2RK3 w", 0, 2, 18}, {"4k3/pppppppp/p7/8/8/8/8/4K3 w", 0, 3, 0},
           {"rnbqkbnr/pppppppp/8/8/8/q7/PPPPPPPP/RNBQKBNR b", 0, 3, 0}}) {
    ASSERT_TRUE(setPositionFromFen(fen));
    const MaterialRecord &record = materialRecordFor(stateTop->materialIndex);
    EXPECT_EQ(std::tuple(record.value, int(record.flags), int(record.phase)), std::tuple(value, flags, phase)) << fen;
  }
  for (const char *fen : {START_FEN, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -"})
    EXPECT_TRUE(setPositionFromFen(fen) && evaluate() == 0) << fen;
  // Pawns, white minus black: isolated -10/-8 each, passed from the second rank up 4/6, 4/6, 19/19,
  // 30/41, 51/71, 77/105. With kings and pawns alone only the end game counts.
  for (auto [fen, mid, end] : std::initializer_list<std::tuple<const char *, int, int>>{
           {"4k3/8/8/6P1/4P3/2P5/P7/4K3 w - -", -40 + 4 + 4 + 19 + 30, -32 + 6 + 6 + 19 + 41},
           {"7k/3P4/1P6/8/8/8/8/4K3 w - -", -20 + 51 + 77, -16 + 71 + 105},
           {"4k3/8/8/8/8/1p6/3p4/7K w - -", 20 - 51 - 77, 16 - 71 - 105},
           {"4k3/8/4P3/4P3/8/8/8/4K3 w - -", -20 + 51, -16 + 71}}) {  // the rear pawn is not passed
    ASSERT_TRUE(setPositionFromFen(fen));
    EXPECT_EQ(std::pair(int(probePawnHash().pawnMid), int(probePawnHash().pawnEnd)), std::pair(mid, end)) << fen;
    EXPECT_EQ(evaluate(), stateTop->psqEnd + end) << fen;
  }
  // Shelter zones of these pawns: king side 7, queen side 124, centre 55.
  ASSERT_TRUE(setPositionFromFen("4k3/8/8/4P3/8/5P2/3P2PP/4K3 w - -"));
  const PawnHashEntry &white = probePawnHash();
  EXPECT_EQ(std::tuple(whiteShelterPenalty(white, G1, 0), whiteShelterPenalty(white, B1, 0),
                       whiteShelterPenalty(white, E1, WHITE_KING_SIDE | WHITE_QUEEN_SIDE)), std::tuple(7, 124, 31));
  ASSERT_TRUE(setPositionFromFen("4k3/3p2pp/5p2/8/4p3/8/8/4K3 w - -"));
  EXPECT_EQ(blackShelterPenalty(probePawnHash(), E8, BLACK_KING_SIDE | BLACK_QUEEN_SIDE), 31);
}
