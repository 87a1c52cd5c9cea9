#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "board/fen.h"
#include "board/make_move.h"
#include "board/zobrist.h"
#include "frontend/startup.h"
#include "movegen/attack_tests.h"
#include "tests/test_position.h"

namespace {

const char *VARIED_POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -",
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -",
    "1r2k2r/P1P5/8/8/8/8/p5p1/R3K1NR w KQk -",
    "1r2k2r/P1P5/8/8/8/8/p5p1/R3K1NR b KQk -",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
    "8/8/8/KPp4r/8/8/8/4k3 w - c6",        // en passant would expose the king
    "4k3/8/8/8/1pP4R/8/8/4K3 b - c3",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "4k3/4r3/8/8/8/8/4B3/4K3 w - -",        // pinned bishop
    "4k3/8/8/8/8/5n2/8/R3K2R w KQ -",       // in check: no castling
    "3rk3/8/8/8/8/8/8/R3K2R w KQ -",        // d1 attacked: no queen side castling
    "4k3/8/8/8/8/8/8/1r2K2R w K -",         // rook checks along the rank
    "8/8/3k4/8/8/2N5/1K6/8 w - -",          // knight moves giving check
    "4k3/8/8/8/8/8/3p1p2/4K3 w - -",
};

void expectTermsMatchBoard(const char *context) {
  ASSERT_TRUE(recordedTerms() == recomputeTerms()) << context << " " << positionFen();
  ASSERT_EQ(stateTop->inCheck, referenceAttacked(lowestBit(pieceBB[whiteToMove ? WHITE_KING : BLACK_KING]),
                                                  !whiteToMove))
      << context;
}

std::string moveName(Move m) {
  std::string s;
  for (int sq : {moveFrom(m), moveTo(m)}) {
    s += char('a' + squareFile(sq));
    s += char('8' - squareRow(sq));
  }
  return s + "/" + std::to_string(moveFlags(m));
}

// Makes and unmakes every pseudo-legal move, one and two plies deep.
void checkEveryMove(const char *fen, int depth) {
  const Snapshot before = takeSnapshot();
  const StateRecord record = *stateTop;
  std::vector<Move> legal = referenceLegalMoves();
  for (Move m : referenceMoves()) {
    bool expected = std::find(legal.begin(), legal.end(), m) != legal.end();
    const u64 count = nodeCount;
    ASSERT_EQ(makeMove(m), expected) << fen << " " << moveName(m);
    if (!expected) {
      Snapshot refused = takeSnapshot();
      refused.nodeCount = before.nodeCount;
      ASSERT_EQ(nodeCount, count);
      ASSERT_TRUE(refused == before) << fen << " refused " << moveName(m);
      continue;
    }
    ASSERT_EQ(stateTop, before.top + 1);
    ASSERT_EQ(whiteToMove, !before.whiteToMove);
    ASSERT_EQ(nodeCount, count + 1);
    expectTermsMatchBoard(fen);
    if (depth > 1) checkEveryMove(fen, depth - 1);
    unmakeMove(m);
    Snapshot after = takeSnapshot();
    after.nodeCount = before.nodeCount;
    ASSERT_TRUE(after == before) << fen << " after unmaking " << moveName(m);
    ASSERT_EQ(0, std::memcmp(stateTop, &record, sizeof record)) << "record below was changed";
  }
}

}  // namespace

TEST(MakeMove, EveryMoveOfVariedPositionsRestoresAndMatchesRecomputation) {
  for (const char *fen : VARIED_POSITIONS) {
    setFen(fen);
    checkEveryMove(fen, 2);
  }
}

TEST(MakeMove, RandomGamesKeepEveryTermAndUnwindExactly) {
  std::mt19937 random(7);
  for (const char *fen : VARIED_POSITIONS) {
    setFen(fen);
    const Snapshot start = takeSnapshot();
    std::vector<Move> played;
    for (int ply = 0; ply < 300; ++ply) {
      std::vector<Move> legal = referenceLegalMoves();
      if (legal.empty()) break;
      Move m = legal[random() % legal.size()];
      ASSERT_TRUE(makeMove(m)) << fen << " ply " << ply;
      played.push_back(m);
      expectTermsMatchBoard(fen);
    }
    for (auto it = played.rbegin(); it != played.rend(); ++it) unmakeMove(*it);
    Snapshot end = takeSnapshot();
    end.nodeCount = start.nodeCount;
    EXPECT_TRUE(end == start) << fen;
  }
}

TEST(MakeMove, DoublePushAndQuietReply) {
  setFen(START_FEN);
  const u64 startKey = stateTop->hashKey;
  ASSERT_TRUE(makeMove(encodeMove(E2, E4, DoublePushFlag)));
  EXPECT_EQ(stateTop->epSquare, 44);
  EXPECT_EQ(stateTop->reversible, 0);
  EXPECT_EQ(stateTop->castleRights, 15);
  EXPECT_EQ(whiteToMove, 0);
  EXPECT_EQ(stateTop->hashKey, startKey ^ zobristPiece[1][52] ^ zobristPiece[1][36] ^ zobristEp[44] ^ zobristSide);
  const u64 afterE4 = stateTop->hashKey;
  ASSERT_TRUE(makeMove(encodeMove(G8, F6)));
  EXPECT_EQ(stateTop->reversible, 1);
  EXPECT_EQ(stateTop->epSquare, 0);
  EXPECT_EQ(stateTop->hashKey,
            afterE4 ^ zobristEp[44] ^ zobristSide ^ zobristPiece[BLACK_KNIGHT][G8] ^ zobristPiece[BLACK_KNIGHT][F6]);
}

TEST(MakeMove, CastlingMovesTheRookAndRightsComeBackOnUnmake) {
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  ASSERT_TRUE(makeMove(encodeMove(E1, G1, CastleFlag)));
  EXPECT_EQ(board[F1], WHITE_ROOK);
  EXPECT_EQ(board[H1], NO_PIECE);
  EXPECT_EQ(board[G1], WHITE_KING);
  EXPECT_EQ(stateTop->castleRights, 12);
  EXPECT_EQ(stateTop->reversible, 0);
  ASSERT_TRUE(makeMove(encodeMove(E8, C8, CastleFlag)));
  EXPECT_EQ(board[D8], BLACK_ROOK);
  EXPECT_EQ(board[A8], NO_PIECE);
  EXPECT_EQ(stateTop->castleRights, 0);
  unmakeMove(encodeMove(E8, C8, CastleFlag));
  unmakeMove(encodeMove(E1, G1, CastleFlag));
  EXPECT_EQ(board[H1], WHITE_ROOK);
  EXPECT_EQ(board[A8], BLACK_ROOK);
  EXPECT_EQ(stateTop->castleRights, 15);
}

TEST(MakeMove, RightsLostByKingRookAndCaptureOnHomeSquares) {
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  ASSERT_TRUE(makeMove(encodeMove(A1, A8, 0, BLACK_ROOK)));
  EXPECT_EQ(stateTop->castleRights, 15 & ~1 & ~4);
  EXPECT_EQ(stateTop->materialIndex, materialWeight[WHITE_ROOK] * 2 + materialWeight[BLACK_ROOK]);
  setFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -");
  ASSERT_TRUE(makeMove(encodeMove(H8, H1, 0, WHITE_ROOK)));
  EXPECT_EQ(stateTop->castleRights, 15 & ~8 & ~2);
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  ASSERT_TRUE(makeMove(encodeMove(E1, E2)));
  EXPECT_EQ(stateTop->castleRights, 12);
}

TEST(MakeMove, EnPassantRemovesThePassedPawn) {
  setFen("rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6");
  const u32 material = stateTop->materialIndex;
  const u64 pawnKey = stateTop->pawnKey;
  ASSERT_TRUE(makeMove(encodeMove(E5, D6, EnPassantFlag, BLACK_PAWN)));
  EXPECT_EQ(board[D5], NO_PIECE);
  EXPECT_EQ(board[D6], WHITE_PAWN);
  EXPECT_EQ(stateTop->materialIndex, material - 26244);
  EXPECT_NE(stateTop->pawnKey, pawnKey);
  EXPECT_EQ(stateTop->reversible, 0);
}

TEST(MakeMove, PromotionWithCaptureChangesMaterialIndex) {
  setFen("1r2k2r/P1P5/8/8/8/8/p5p1/R3K1NR w KQk -");
  const u32 before = stateTop->materialIndex;
  for (int promo : {WHITE_QUEEN, WHITE_ROOK, WHITE_BISHOP, WHITE_KNIGHT}) {
    Move m = encodeMove(A7, B8, promo, BLACK_ROOK);
    ASSERT_TRUE(makeMove(m));
    EXPECT_EQ(board[B8], promo);
    EXPECT_EQ(stateTop->materialIndex, before - materialWeight[BLACK_ROOK] - 2916 + materialWeight[promo]);
    unmakeMove(m);
  }
  setFen("1r2k2r/P1P5/8/8/8/8/p5p1/R3K1NR b KQk -");
  // Black takes the h1 rook and promotes: white loses its king-side right.
  Move m = encodeMove(G2, H1, BLACK_KNIGHT, WHITE_ROOK);
  ASSERT_TRUE(makeMove(m));
  EXPECT_EQ(board[H1], BLACK_KNIGHT);
  EXPECT_EQ(stateTop->castleRights & WHITE_KING_SIDE, 0);
}

TEST(MakeMove, RefusedMovesLeaveEverythingAsBefore) {
  setFen("4k3/4r3/8/8/8/8/4B3/4K2r w - -");
  const Snapshot before = takeSnapshot();
  const u64 key = stateTop->hashKey;
  EXPECT_FALSE(makeMove(encodeMove(E2, F1)));  // pinned bishop leaves the file
  EXPECT_FALSE(makeMove(encodeMove(E1, F1)));  // king stays on the checking rank
  EXPECT_TRUE(takeSnapshot() == before);
  EXPECT_EQ(stateTop->hashKey, key);
  // The next legal move writes the same record slot.
  ASSERT_TRUE(makeMove(encodeMove(E1, D2)));
  EXPECT_EQ(stateTop, before.top + 1);
}

TEST(MakeMove, NullMove) {
  setFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  const StateRecord old = *stateTop;
  const Snapshot before = takeSnapshot();
  ASSERT_TRUE(makeNullMove());
  EXPECT_EQ(whiteToMove, 1);
  EXPECT_EQ(stateTop->hashKey, old.hashKey ^ zobristSide ^ zobristEp[E3]);
  EXPECT_EQ(stateTop->epSquare, 0);
  EXPECT_EQ(stateTop->inCheck, 0);
  EXPECT_EQ(stateTop->reversible, 0);
  EXPECT_EQ(stateTop->castleRights, old.castleRights);
  EXPECT_EQ(stateTop->materialIndex, old.materialIndex);
  EXPECT_EQ(stateTop->psqMid, old.psqMid);
  EXPECT_EQ(nodeCount, before.nodeCount + 1);
  expectTermsMatchBoard("null move");
  unmakeNullMove();
  Snapshot after = takeSnapshot();
  after.nodeCount = before.nodeCount;
  EXPECT_TRUE(after == before);
}

TEST(MakeMove, FullStateStackRefusesMovesSafely) {
  setFen(START_FEN);
  const Move cycle[4] = {encodeMove(G1, F3), encodeMove(G8, F6), encodeMove(F3, G1), encodeMove(F6, G8)};
  int made = 0;
  while (makeMove(cycle[made % 4])) ++made;
  EXPECT_EQ(made, STATE_STACK_SIZE - 1);
  EXPECT_EQ(stateDepth(), STATE_STACK_SIZE);
  const Snapshot full = takeSnapshot();
  EXPECT_FALSE(makeNullMove());
  EXPECT_FALSE(makeMove(cycle[made % 4]));
  EXPECT_TRUE(takeSnapshot() == full);
  while (made > 0) unmakeMove(cycle[--made % 4]);
  EXPECT_EQ(stateTop, stateStack);
  EXPECT_EQ(positionFen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  EXPECT_TRUE(recordedTerms() == recomputeTerms());
}

TEST(AttackTests, PawnsSlidersAndOccupiedSquares) {
  setFen("4k3/8/8/8/4P3/8/8/R3K3 w - -");
  EXPECT_TRUE(isAttackedByWhite(D5));
  EXPECT_TRUE(isAttackedByWhite(F5));
  EXPECT_FALSE(isAttackedByWhite(E5));
  setFen("4k3/8/8/8/P7/8/8/R3K3 w - -");
  EXPECT_TRUE(isAttackedByWhite(A2));
  EXPECT_TRUE(isAttackedByWhite(A3));
  EXPECT_TRUE(isAttackedByWhite(A4));  // its own pawn's square counts too
  EXPECT_FALSE(isAttackedByWhite(A5));
  EXPECT_TRUE(isAttackedByWhite(B5));  // by the pawn
  EXPECT_FALSE(isAttackedByWhite(A6));
  setFen("4k3/8/8/8/8/8/8/4K2r w - -");
  EXPECT_TRUE(sideInCheck());
  EXPECT_TRUE(isWhiteKingAttacked());
  EXPECT_FALSE(isBlackKingAttacked());
}

TEST(AttackTests, AgreeWithRayWalkingOnEverySquare) {
  for (const char *fen : VARIED_POSITIONS) {
    setFen(fen);
    for (int q = 0; q < 64; ++q) {
      ASSERT_EQ(isAttackedByWhite(q), referenceAttacked(q, true)) << fen << " square " << q;
      ASSERT_EQ(isAttackedByBlack(q), referenceAttacked(q, false)) << fen << " square " << q;
    }
  }
}
