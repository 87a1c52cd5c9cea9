#include "board/make_move.h"

#include "board/attacks.h"
#include "board/side.h"
#include "board/zobrist.h"
#include "eval/tables.h"
#include "movegen/attack_tests.h"

namespace {

// The castling rook's squares for a king landing on `to`.
template <Color US>
int castlingRookFrom(int to) {
  return to == Side<US>::KING_HOME + 2 ? to + 1 : to - 2;
}
template <Color US>
int castlingRookTo(int to) {
  return to == Side<US>::KING_HOME + 2 ? to - 1 : to + 1;
}

template <Color US>
void moveCastlingRook(int from, int to) {
  using S = Side<US>;
  board[to] = board[from];
  board[from] = NO_PIECE;
  pieceBB[S::ROOK] ^= squareBit[from] ^ squareBit[to];
  S::own() ^= squareBit[from] ^ squareBit[to];
}

// The tests below are written with bitwise operators, without short cuts:
// their outcomes follow no pattern, and a mispredicted branch costs more than
// the few loads and operations it would skip.

// Could emptying `from` open a line from `king` to a slider of colour BY? Only
// if one that moves along that line stands past `from` on the ray from the
// king; the caller then tests the king in full.
template <Color BY>
bool mayOpenLine(int king, int from) {
  constexpr int base = BY == WHITE ? 0 : 6;
  const u64 queens = pieceBB[base + WHITE_QUEEN];
  return beyondMask[king][from] & ((rookLines[king] & (pieceBB[base + WHITE_ROOK] | queens)) |
                                   (bishopLines[king] & (pieceBB[base + WHITE_BISHOP] | queens)));
}

// Does the piece just arrived on `to` (not by castling, en passant or
// promotion) attack the enemy king directly? It reaches the king's square on
// an empty board, and nothing stands between them.
bool checksDirectly(u8 piece, int to, int enemyKing) {
  const u64 king = squareBit[enemyKing];
  return bool(emptyBoardAttacks[piece][to] & king) &
         ((interposeMask[to][enemyKing] & (WhitePieces | BlackPieces)) == king);
}

// Restores board and bitboards; the derived terms live in the popped record.
template <Color US>
void unmakeFor(Move m) {
  using S = Side<US>;
  const int from = moveFrom(m), to = moveTo(m), flags = moveFlags(m), captured = moveCaptured(m);
  const u64 fromTo = squareBit[from] ^ squareBit[to];
  if (flags & PromotionMask) {
    board[to] = NO_PIECE;
    pieceBB[flags & PromotionMask] ^= squareBit[to];
    board[from] = S::PAWN;
    pieceBB[S::PAWN] ^= squareBit[from];
  } else {
    const u8 piece = board[to];
    board[from] = piece;
    board[to] = NO_PIECE;
    pieceBB[piece] ^= fromTo;
  }
  S::own() ^= fromTo;

  if (flags == EnPassantFlag) {
    const int victim = to - S::FORWARD;
    board[victim] = S::ENEMY_PAWN;
    pieceBB[S::ENEMY_PAWN] ^= squareBit[victim];
    S::enemy() ^= squareBit[victim];
  } else if (captured) {
    board[to] = u8(captured);
    pieceBB[captured] ^= squareBit[to];
    S::enemy() ^= squareBit[to];
  } else if (flags == CastleFlag) {
    moveCastlingRook<US>(castlingRookTo<US>(to), castlingRookFrom<US>(to));
  }
  --stateTop;
  whiteToMove = US == WHITE;
}

template <Color US>
bool makeFor(Move m) {
  using S = Side<US>;
  if (stateTop == stateStack + STATE_STACK_SIZE - 1) return false;
  const int from = moveFrom(m), to = moveTo(m), flags = moveFlags(m), captured = moveCaptured(m);
  const StateRecord &old = *stateTop;
  StateRecord &next = *++stateTop;

  next.castleRights = old.castleRights & castleMask[from] & castleMask[to];
  u64 hash = old.hashKey;
  if (next.castleRights != old.castleRights) hash ^= zobristCastle[old.castleRights] ^ zobristCastle[next.castleRights];
  if (old.epSquare) hash ^= zobristEp[old.epSquare];
  u64 pawnHash = old.pawnKey;
  i32 mid = old.psqMid, end = old.psqEnd;
  u32 material = old.materialIndex;

  if (flags == EnPassantFlag) {
    const int victim = to - S::FORWARD;
    board[victim] = NO_PIECE;
    hash ^= zobristPiece[S::ENEMY_PAWN][victim];
    pawnHash ^= zobristPiece[S::ENEMY_PAWN][victim];
    pieceBB[S::ENEMY_PAWN] ^= squareBit[victim];
    S::enemy() ^= squareBit[victim];
    material -= materialWeight[S::ENEMY_PAWN];
    mid -= psqTable[S::ENEMY_PAWN][victim].mid;
    end -= psqTable[S::ENEMY_PAWN][victim].end;
  } else if (captured) {
    hash ^= zobristPiece[captured][to];
    if (captured == S::ENEMY_PAWN) pawnHash ^= zobristPiece[captured][to];
    pieceBB[captured] ^= squareBit[to];
    S::enemy() ^= squareBit[to];
    material -= materialWeight[captured];
    mid -= psqTable[captured][to].mid;
    end -= psqTable[captured][to].end;
  }

  if (const int promoted = flags & PromotionMask) {
    mid += psqTable[promoted][to].mid - psqTable[S::PAWN][from].mid;
    end += psqTable[promoted][to].end - psqTable[S::PAWN][from].end;
    pawnHash ^= zobristPiece[S::PAWN][from];
    hash ^= zobristPiece[S::PAWN][from] ^ zobristPiece[promoted][to];
    pieceBB[S::PAWN] ^= squareBit[from];
    pieceBB[promoted] ^= squareBit[to];
    board[from] = NO_PIECE;
    board[to] = u8(promoted);
    material += materialWeight[promoted] - materialWeight[S::PAWN];
  } else {
    const u8 piece = board[from];
    mid += psqTable[piece][to].mid - psqTable[piece][from].mid;
    end += psqTable[piece][to].end - psqTable[piece][from].end;
    hash ^= zobristPiece[piece][from] ^ zobristPiece[piece][to];
    if (piece == S::PAWN) pawnHash ^= zobristPiece[piece][from] ^ zobristPiece[piece][to];
    pieceBB[piece] ^= squareBit[from] ^ squareBit[to];
    board[to] = piece;
    board[from] = NO_PIECE;
  }
  S::own() ^= squareBit[from] ^ squareBit[to];
  next.pawnKey = pawnHash;
  next.materialIndex = material;

  if (flags == DoublePushFlag) {
    next.epSquare = u8(to - S::FORWARD);
    hash ^= zobristEp[next.epSquare];
  } else {
    next.epSquare = 0;
    if (flags == CastleFlag) {
      const int rookFrom = castlingRookFrom<US>(to), rookTo = castlingRookTo<US>(to);
      moveCastlingRook<US>(rookFrom, rookTo);
      mid += psqTable[S::ROOK][rookTo].mid - psqTable[S::ROOK][rookFrom].mid;
      end += psqTable[S::ROOK][rookTo].end - psqTable[S::ROOK][rookFrom].end;
      hash ^= zobristPiece[S::ROOK][rookFrom] ^ zobristPiece[S::ROOK][rookTo];
    }
  }
  next.psqMid = mid;
  next.psqEnd = end;
  next.hashKey = hash ^ zobristSide;

  // The position before was legal, so only the king's own move, a move out of
  // check, an en-passant capture (which empties two squares) or a piece leaving
  // a line between the king and an enemy slider can leave the king attacked.
  const u8 moved = board[to];
  const int king = lowestBit(pieceBB[S::KING]);
  const bool mayBeAttacked =
      (moved == S::KING) | bool(old.inCheck) | (flags == EnPassantFlag) | mayOpenLine<S::THEM>(king, from);
  if (mayBeAttacked && isAttackedBy<S::THEM>(king)) {
    unmakeFor<US>(m);
    return false;
  }
  next.reversible = captured == 0 && flags == 0 && moved != S::PAWN;
  whiteToMove = US != WHITE;
  // Likewise the enemy king, safe before, is attacked only by the piece that
  // moved or through the square it left; castling, en passant and promotion
  // take the full test.
  const int enemyKing = lowestBit(pieceBB[S::ENEMY_KING]);
  if (flags & ~DoublePushFlag)
    next.inCheck = isAttackedBy<US>(enemyKing);
  else
    next.inCheck = checksDirectly(moved, to, enemyKing) |
                   int(mayOpenLine<US>(enemyKing, from) && isAttackedBy<US>(enemyKing));
  ++nodeCount;
  return true;
}

}  // namespace

bool makeWhiteMove(Move m) { return makeFor<WHITE>(m); }
bool makeBlackMove(Move m) { return makeFor<BLACK>(m); }
bool makeMove(Move m) { return whiteToMove ? makeWhiteMove(m) : makeBlackMove(m); }

void unmakeWhiteMove(Move m) { unmakeFor<WHITE>(m); }
void unmakeBlackMove(Move m) { unmakeFor<BLACK>(m); }
void unmakeMove(Move m) { whiteToMove ? unmakeBlackMove(m) : unmakeWhiteMove(m); }

bool makeNullMove() {
  if (stateTop == stateStack + STATE_STACK_SIZE - 1) return false;
  const StateRecord &old = *stateTop;
  StateRecord &next = *++stateTop;
  next.castleRights = old.castleRights;
  next.pawnKey = old.pawnKey;
  next.psqMid = old.psqMid;
  next.psqEnd = old.psqEnd;
  next.materialIndex = old.materialIndex;
  next.hashKey = old.hashKey ^ zobristSide;
  if (old.epSquare) next.hashKey ^= zobristEp[old.epSquare];
  next.epSquare = 0;
  next.inCheck = 0;
  next.reversible = 0;
  ++nodeCount;
  whiteToMove ^= 1;
  return true;
}

void unmakeNullMove() {
  --stateTop;
  whiteToMove ^= 1;
}
