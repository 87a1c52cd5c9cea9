#include "eval/move_valid.h"

#include "board/side.h"
#include "movegen/attack_tests.h"

namespace {

template <Color US>
bool pawnMoveValid(int from, int to, int flags, int captured) {
  using S = Side<US>;
  if (flags == EnPassantFlag) return to == stateTop->epSquare;
  if (captured != board[to]) return false;
  // A stored capture by another piece (a bishop's g2xh1, say) or by the other
  // side would otherwise pass as a pawn capture: it must take an enemy piece
  // and promote exactly when it lands on the last rank.
  if (captured)
    return (S::ownPawnSources(to) & squareBit[from]) && (S::enemy() & squareBit[to]) &&
           bool(S::LAST_RANK & squareBit[to]) == bool(flags & PromotionMask) && !(flags & ~PromotionMask);
  // A push onto the last rank must promote.
  if ((S::advance(squareBit[from], 8) & S::LAST_RANK) && !(flags & PromotionMask)) return false;
  if (to == from + S::FORWARD) return true;
  if (to == from + 2 * S::FORWARD)
    return flags == DoublePushFlag && (S::advance(squareBit[from], 16) & S::DOUBLE_PUSH_RANK) &&
           !board[from + S::FORWARD];
  return false;
}

template <Color US>
bool castlingValid(int from, int to) {
  using S = Side<US>;
  constexpr int k = S::KING_HOME;
  if (from != k) return false;
  const u8 rights = stateTop->castleRights;
  if (to == k + 2)
    return (rights & S::KING_SIDE_RIGHT) && !board[k + 1] && !board[k + 2] && !isAttackedBy<S::THEM>(k + 1) &&
           !isAttackedBy<S::THEM>(k + 2);
  return (rights & S::QUEEN_SIDE_RIGHT) && !board[k - 1] && !board[k - 2] && !board[k - 3] &&
         !isAttackedBy<S::THEM>(k - 1) && !isAttackedBy<S::THEM>(k - 2);
}

template <Color US>
bool moveValid(Move m) {
  using S = Side<US>;
  const int from = moveFrom(m), to = moveTo(m), flags = moveFlags(m), captured = moveCaptured(m);
  const u8 piece = board[from];
  if (piece == S::PAWN) return pawnMoveValid<US>(from, to, flags, captured);
  if (captured != board[to] || flags == DoublePushFlag || flags == EnPassantFlag || (flags & PromotionMask))
    return false;
  if (piece == S::KING) {
    if (flags == CastleFlag) return castlingValid<US>(from, to);
    return kingAttacks[from] & ~S::own() & squareBit[to];
  }
  if (flags == CastleFlag) return false;
  u64 reach;
  if (piece == S::ROOK)
    reach = rookAttacksFrom(from);
  else if (piece == S::BISHOP)
    reach = bishopAttacksFrom(from);
  else if (piece == S::KNIGHT)
    reach = knightAttacks[from];
  else if (piece == S::QUEEN)
    reach = rookAttacksFrom(from) | bishopAttacksFrom(from);
  else
    return false;  // an empty square or an enemy piece
  return reach & ~S::own() & squareBit[to];
}

}  // namespace

bool isMoveValidWhite(Move m) { return moveValid<WHITE>(m); }
bool isMoveValidBlack(Move m) { return moveValid<BLACK>(m); }
bool isMoveValid(Move m) { return whiteToMove ? isMoveValidWhite(m) : isMoveValidBlack(m); }
