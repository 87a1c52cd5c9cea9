#include "board/fen.h"

#include <cstring>

#include "board/attacks.h"
#include "board/zobrist.h"
#include "eval/tables.h"
#include "movegen/attack_tests.h"

namespace {

struct FenFields {
  u8 squares[64] = {};
  bool white = true;
  u8 castleRights = 0;
  int epSquare = 0;
};

const char *skipSpaces(const char *p) {
  while (*p == ' ') ++p;
  return p;
}

const char *tokenEnd(const char *p) {
  while (*p && *p != ' ') ++p;
  return p;
}

// Placement field: digits skip squares, letters place pieces, anything else
// skips one square; reading ends at the field's end or after the 64th square.
const char *readPlacement(const char *p, FenFields &fen) {
  int s = 0;
  for (; *p && *p != ' ' && s < 64; ++p) {
    if (*p == '/') continue;
    if (*p >= '0' && *p <= '9') {
      s += *p - '0';
      continue;
    }
    const char *found = std::strchr(pieceLetters + 1, *p);
    if (found) fen.squares[s] = u8(found - pieceLetters);
    ++s;
  }
  return tokenEnd(p);
}

void parseFen(const char *text, FenFields &fen) {
  const char *p = skipSpaces(readPlacement(skipSpaces(text), fen));
  if (*p) {
    fen.white = (*p == 'w' || *p == 'W');
    p = skipSpaces(tokenEnd(p));
  }
  for (; *p && *p != ' '; ++p) {
    if (*p == 'Q') fen.castleRights |= WHITE_QUEEN_SIDE;
    if (*p == 'K') fen.castleRights |= WHITE_KING_SIDE;
    if (*p == 'q') fen.castleRights |= BLACK_QUEEN_SIDE;
    if (*p == 'k') fen.castleRights |= BLACK_KING_SIDE;
  }
  p = skipSpaces(p);
  if (p[0] >= 'a' && p[0] <= 'h' && p[1] >= '1' && p[1] <= '8') fen.epSquare = (p[0] - 'a') + 8 * ('8' - p[1]);
}

// Exactly one king a side and no pawn on the first or last rank.
bool placementSupported(const FenFields &fen) {
  int kings[13] = {};
  for (int s = 0; s < 64; ++s) {
    u8 piece = fen.squares[s];
    kings[piece]++;
    if ((piece == WHITE_PAWN || piece == BLACK_PAWN) && (s < 8 || s >= 56)) return false;
  }
  return kings[WHITE_KING] == 1 && kings[BLACK_KING] == 1;
}

// Each right needs its king and rook on their home squares, or castling would
// move pieces that are not there.
u8 playableRights(const FenFields &fen) {
  const u8 *sq = fen.squares;
  u8 rights = fen.castleRights;
  if (sq[E1] != WHITE_KING || sq[H1] != WHITE_ROOK) rights &= ~WHITE_KING_SIDE;
  if (sq[E1] != WHITE_KING || sq[A1] != WHITE_ROOK) rights &= ~WHITE_QUEEN_SIDE;
  if (sq[E8] != BLACK_KING || sq[H8] != BLACK_ROOK) rights &= ~BLACK_KING_SIDE;
  if (sq[E8] != BLACK_KING || sq[A8] != BLACK_ROOK) rights &= ~BLACK_QUEEN_SIDE;
  return rights;
}

// The en-passant square must lie behind an enemy pawn that has just made its
// double step, with the two squares it crossed empty.
int playableEpSquare(const FenFields &fen) {
  int ep = fen.epSquare;
  if (fen.white)
    return ep >= A6 && ep <= H6 && !fen.squares[ep] && !fen.squares[ep - 8] && fen.squares[ep + 8] == BLACK_PAWN ? ep : 0;
  return ep >= A3 && ep <= H3 && !fen.squares[ep] && !fen.squares[ep + 8] && fen.squares[ep - 8] == WHITE_PAWN ? ep : 0;
}

struct SavedPosition {
  u8 board[64];
  u64 pieceBB[13];
  u64 whitePieces, blackPieces;
  u8 whiteToMove;
  StateRecord base;
  StateRecord *top;
};

void save(SavedPosition &saved) {
  std::memcpy(saved.board, board, sizeof board);
  std::memcpy(saved.pieceBB, pieceBB, sizeof pieceBB);
  saved.whitePieces = WhitePieces;
  saved.blackPieces = BlackPieces;
  saved.whiteToMove = whiteToMove;
  saved.base = stateStack[0];
  saved.top = stateTop;
}

void restore(const SavedPosition &saved) {
  std::memcpy(board, saved.board, sizeof board);
  std::memcpy(pieceBB, saved.pieceBB, sizeof pieceBB);
  WhitePieces = saved.whitePieces;
  BlackPieces = saved.blackPieces;
  whiteToMove = saved.whiteToMove;
  stateStack[0] = saved.base;
  stateTop = saved.top;
}

void install(const FenFields &fen) {
  stateTop = stateStack;
  StateRecord &base = *stateTop;
  base.hashKey = base.pawnKey = 0;
  base.psqMid = base.psqEnd = 0;
  base.materialIndex = 0;
  std::memset(board, 0, sizeof board);
  for (int piece = 1; piece <= 12; ++piece) pieceBB[piece] = 0;
  WhitePieces = BlackPieces = 0;

  for (int s = 0; s < 64; ++s)
    if (fen.squares[s]) addPiece(s, fen.squares[s]);

  whiteToMove = fen.white;
  if (whiteToMove) base.hashKey ^= zobristSide;
  base.castleRights = playableRights(fen);
  base.hashKey ^= zobristCastle[base.castleRights];
  base.epSquare = u8(playableEpSquare(fen));
  if (base.epSquare) base.hashKey ^= zobristEp[base.epSquare];
  base.inCheck = sideInCheck();
}

}  // namespace

void addPiece(int square, int piece) {
  board[square] = u8(piece);
  pieceBB[piece] ^= squareBit[square];
  (isBlackPiece(u8(piece)) ? BlackPieces : WhitePieces) ^= squareBit[square];
  stateTop->hashKey ^= zobristPiece[piece][square];
  if (piece == WHITE_PAWN || piece == BLACK_PAWN) stateTop->pawnKey ^= zobristPiece[piece][square];
  stateTop->materialIndex += materialWeight[piece];
  stateTop->psqMid += psqTable[piece][square].mid;
  stateTop->psqEnd += psqTable[piece][square].end;
}

bool setPositionFromFen(const char *text) {
  FenFields fen;
  parseFen(text, fen);
  if (!placementSupported(fen)) return false;

  SavedPosition saved;
  save(saved);
  install(fen);
  // The side that just moved may not have left its own king attacked.
  bool opponentInCheck = whiteToMove ? isBlackKingAttacked() : isWhiteKingAttacked();
  if (opponentInCheck) {
    restore(saved);
    return false;
  }
  return true;
}
