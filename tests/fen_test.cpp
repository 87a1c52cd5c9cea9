#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/zobrist.h"
#include "eval/tables.h"
#include "frontend/startup.h"
#include "tests/test_position.h"

namespace {

// Board and bitboards agree, and the record matches a recomputation.
void expectConsistent() {
  u64 white = 0, black = 0;
  for (int piece = 1; piece <= 12; ++piece) {
    for (int s = 0; s < 64; ++s) ASSERT_EQ(board[s] == piece, bool(pieceBB[piece] >> s & 1));
    (piece > 6 ? black : white) |= pieceBB[piece];
  }
  EXPECT_EQ(WhitePieces, white);
  EXPECT_EQ(BlackPieces, black);
  EXPECT_EQ(WhitePieces & BlackPieces, 0u);
  EXPECT_EQ(__builtin_popcountll(WhiteKing), 1);
  EXPECT_EQ(__builtin_popcountll(BlackKing), 1);
  EXPECT_TRUE(recordedTerms() == recomputeTerms());
  EXPECT_EQ(stateTop, stateStack);
}

}  // namespace

TEST(Fen, StartPosition) {
  setFen(START_FEN);
  EXPECT_EQ(whiteToMove, 1);
  EXPECT_EQ(stateTop->castleRights, 15);
  EXPECT_EQ(stateTop->epSquare, 0);
  EXPECT_EQ(stateTop->inCheck, 0);
  EXPECT_EQ(stateTop->materialIndex, 236195u);
  EXPECT_EQ(board[E1], WHITE_KING);
  EXPECT_EQ(board[E8], BLACK_KING);
  EXPECT_EQ(stateTop->psqMid, 0);
  EXPECT_EQ(stateTop->psqEnd, 0);
  expectConsistent();
}

TEST(Fen, FieldsRoundTrip) {
  const char *fens[] = {
      "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3",
      "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3",
      "rnbqkbnr/ppppp1pp/8/4Pp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/8/8/8/8/8/8/R3K2R b Kq -",
      "r3k2r/8/8/8/8/8/8/R3K2R w Qk -",
      "r3k2r/8/8/8/8/8/8/R3K2R w K -",
      "r3k2r/8/8/8/8/8/8/R3K2R b q -",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
      "8/PPP4k/8/8/8/8/4Kppp/8 b - -",
      "4k3/8/8/8/8/8/8/4K2r w - -",
      "7k/8/8/8/8/8/8/K7 b - -",
  };
  for (const char *fen : fens) {
    setFen(fen);
    EXPECT_EQ(positionFen(), fen);
    expectConsistent();
  }
}

TEST(Fen, DocumentedFieldValues) {
  setFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(whiteToMove, 0);
  EXPECT_EQ(stateTop->epSquare, 44);
  setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR W KQkq -");
  EXPECT_EQ(whiteToMove, 1);
  setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR B KQkq -");
  EXPECT_EQ(whiteToMove, 0);
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w Kq -");
  EXPECT_EQ(stateTop->castleRights, 6);
  setFen("8/8/8/8/8/8/8/4K2k w - -");
  EXPECT_EQ(stateTop->materialIndex, 0u);
  EXPECT_EQ(stateTop->psqMid, psqTable[WHITE_KING][E1].mid + psqTable[BLACK_KING][H1].mid);
  EXPECT_EQ(stateTop->psqEnd, psqTable[WHITE_KING][E1].end + psqTable[BLACK_KING][H1].end);
  setFen("4k3/8/8/8/8/8/8/4K2r w - -");
  EXPECT_EQ(stateTop->inCheck, 1);
  setFen("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2");
  EXPECT_EQ(stateTop->inCheck, 0);
}

TEST(Fen, ForgivingLayout) {
  // Several spaces between fields, and trailing words, read as one space.
  setFen("  r3k2r/8/8/8/8/8/8/R3K2R   b   Kq   -   0   1  extra");
  EXPECT_EQ(positionFen(), "r3k2r/8/8/8/8/8/8/R3K2R b Kq -");
  // Missing fields: white to move, no rights, no en-passant square.
  setFen("4k3/8/8/8/8/8/8/4K3");
  EXPECT_EQ(positionFen(), "4k3/8/8/8/8/8/8/4K3 w - -");
  setFen("4k3/8/8/8/8/8/8/4K3 b");
  EXPECT_EQ(positionFen(), "4k3/8/8/8/8/8/8/4K3 b - -");
  setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq");
  EXPECT_EQ(positionFen(), "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  // Placement covering fewer than 64 squares leaves the rest empty.
  setFen("4k3/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(positionFen(), "4k3/8/8/8/8/8/4K3/8 w - -");
  // More than 64 squares: reading stops at the 64th.
  setFen("4k3/8/8/8/8/8/8/4K3PPPPP/8/9 w - -");
  EXPECT_EQ(positionFen(), "4k3/8/8/8/8/8/8/4K3 w - -");
  // Unknown letters skip a square; oversized digits jump ahead.
  setFen("4k3/8/8/8/8/8/8/xxxxK3 w - -");
  EXPECT_EQ(positionFen(), "4k3/8/8/8/8/8/8/4K3 w - -");
  setFen("k9/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(positionFen(), "k7/8/8/8/8/8/8/6K1 w - -");
  expectConsistent();
}

TEST(Fen, ImplausibleRightsAndEnPassantAreDropped) {
  // Rights whose king or rook is not at home would castle with missing pieces.
  setFen("r3k3/8/8/8/8/8/8/4K2R w KQkq -");
  EXPECT_EQ(stateTop->castleRights, WHITE_KING_SIDE | BLACK_QUEEN_SIDE);
  setFen("r2k3r/8/8/8/8/8/8/R2K3R w KQkq -");
  EXPECT_EQ(stateTop->castleRights, 0);
  // An en-passant square needs the pawn that just passed over it.
  setFen("4k3/8/8/8/4P3/8/8/4K3 b - e3");
  EXPECT_EQ(stateTop->epSquare, E3);
  setFen("4k3/8/8/8/4P3/8/8/4K3 w - e3");
  EXPECT_EQ(stateTop->epSquare, 0);
  setFen("4k3/8/8/8/8/8/8/4K3 b - e3");
  EXPECT_EQ(stateTop->epSquare, 0);
  setFen("4k3/8/8/8/4P3/8/4P3/4K3 b - e3");
  EXPECT_EQ(stateTop->epSquare, 0);
  setFen("4k3/8/8/8/4P3/8/8/4K3 b - z9");
  EXPECT_EQ(stateTop->epSquare, 0);
  setFen("4k3/8/8/8/4P3/8/8/4K3 b - e");
  EXPECT_EQ(stateTop->epSquare, 0);
  expectConsistent();
}

TEST(Fen, UnsupportedPositionsAreRefusedAndKeepThePreviousOne) {
  const char *refused[] = {
      "",
      "   ",
      "8/8/8/8/8/8/8/8 w - -",
      "4k3/8/8/8/8/8/8/8 w - -",
      "8/8/8/8/8/8/8/4K3 w - -",
      "4k3/8/8/8/8/8/8/3KK3 w - -",
      "3kk3/8/8/8/8/8/8/4K3 w - -",
      "P3k3/8/8/8/8/8/8/4K3 w - -",
      "4k3/8/8/8/8/8/8/p3K3 b - -",
      "4k3/8/8/8/8/8/8/4K2r b - -",  // white, not to move, is in check
      "4k2R/8/8/8/8/8/8/4K3 w - -",  // black, not to move, is in check
      "4kK2/8/8/8/8/8/8/8 w - -",    // kings side by side
      "hello world",
      "////////",
  };
  setFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
  Snapshot before = takeSnapshot();
  StateRecord base = stateStack[0];
  for (const char *fen : refused) {
    EXPECT_FALSE(setPositionFromFen(fen)) << fen;
    EXPECT_TRUE(takeSnapshot() == before) << fen;
    EXPECT_EQ(stateStack[0].hashKey, base.hashKey) << fen;
    EXPECT_EQ(stateStack[0].castleRights, base.castleRights) << fen;
  }
  expectConsistent();
}

TEST(Fen, EveryPrefixOfATextIsSafe) {
  // Texts cut short anywhere give a refused or a consistent position.
  std::string full = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1";
  for (size_t n = 0; n <= full.size(); ++n) {
    std::string cut = full.substr(0, n);
    if (setPositionFromFen(cut.c_str())) expectConsistent();
  }
}
