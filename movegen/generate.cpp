#include "movegen/generate.h"

#include "board/attacks.h"
#include "board/side.h"
#include "movegen/attack_tests.h"
#include "search/ordering.h"

namespace {

inline int popLowestSquare(u64 &b) {
  const int s = lowestBit(b);
  b &= b - 1;
  return s;
}

inline void addMove(MoveList &list, int from, int to, int flags) {
  pushMove(list, encodeMove(from, to, flags, board[to]));
}

// Scored for the capture stages, as addScoredMove below.
inline void addEnPassant(MoveList &list, int from, int to, int captured) {
  const Move m = encodeMove(from, to, EnPassantFlag, captured);
  pushMove(list, m, captureScore(m));
}

// A move scored for the capture stages as it is generated.
inline void addScoredMove(MoveList &list, int from, int to, int flags) {
  const Move m = encodeMove(from, to, flags, board[to]);
  pushMove(list, m, captureScore(m));
}

// Every move of each piece in `pieces` onto the squares of its attack set in `targets`.
template <typename AttacksOf, typename Add>
inline void addPieceMoves(u64 pieces, u64 targets, AttacksOf attacksOf, Add add) {
  while (pieces) {
    const int s = popLowestSquare(pieces);
    for (u64 t = attacksOf(s) & targets; t;) add(s, popLowestSquare(t), 0);
  }
}

// Knights, diagonal movers (bishops and queens), straight movers (rooks and
// queens), in that order, onto `targets`.
template <Color US, typename Add>
inline void addOfficerMoves(u64 targets, u64 occupied, Add add) {
  using S = Side<US>;
  addPieceMoves(pieceBB[S::KNIGHT], targets, [](int s) { return knightAttacks[s]; }, add);
  addPieceMoves(pieceBB[S::BISHOP] | pieceBB[S::QUEEN], targets,
                [occupied](int s) { return bishopAttacks(s, occupied); }, add);
  addPieceMoves(pieceBB[S::ROOK] | pieceBB[S::QUEEN], targets,
                [occupied](int s) { return rookAttacks(s, occupied); }, add);
}

template <Color US, typename Add>
inline void addKingMoves(u64 targets, Add add) {
  addPieceMoves(pieceBB[Side<US>::KING], targets, [](int s) { return kingAttacks[s]; }, add);
}

// King side before queen side; never out of check, never through or onto an
// attacked square. b1/b8 must be empty but may be attacked.
template <Color US, typename Add>
inline void addCastling(Add add) {
  using S = Side<US>;
  if (stateTop->inCheck) return;
  const u8 rights = stateTop->castleRights;
  constexpr int k = S::KING_HOME;
  if ((rights & S::KING_SIDE_RIGHT) && !board[k + 1] && !board[k + 2] && !isAttackedBy<S::THEM>(k + 1) &&
      !isAttackedBy<S::THEM>(k + 2))
    add(k, k + 2, CastleFlag);
  if ((rights & S::QUEEN_SIDE_RIGHT) && !board[k - 1] && !board[k - 2] && !board[k - 3] &&
      !isAttackedBy<S::THEM>(k - 1) && !isAttackedBy<S::THEM>(k - 2))
    add(k, k - 2, CastleFlag);
}

template <Color US>
inline void addEnPassantCaptures(MoveList &list) {
  using S = Side<US>;
  const int ep = stateTop->epSquare;
  if (!ep) return;
  for (u64 b = S::ownPawnSources(ep) & pieceBB[S::PAWN]; b;) addEnPassant(list, popLowestSquare(b), ep, S::ENEMY_PAWN);
}

// Pawn captures, the shift by 7 before the shift by 9; `addPawn` handles promotion.
template <Color US, typename AddPawn>
inline void addPawnCaptures(u64 targets, AddPawn addPawn) {
  using S = Side<US>;
  for (u64 b = S::captureTargets7(pieceBB[S::PAWN]) & targets; b;) {
    const int t = popLowestSquare(b);
    addPawn(S::backward(t, 7), t);
  }
  for (u64 b = S::captureTargets9(pieceBB[S::PAWN]) & targets; b;) {
    const int t = popLowestSquare(b);
    addPawn(S::backward(t, 9), t);
  }
}

template <Color US>
void generateQuiet(MoveList &list) {
  using S = Side<US>;
  const u64 occupied = WhitePieces | BlackPieces, empty = ~occupied;
  auto add = [&list](int from, int to, int flags) {
    pushMove(list, encodeMove(from, to, flags, board[to]), u16(history[board[from]][to] + 1));
  };
  const u64 single = S::advance(pieceBB[S::PAWN], 8) & empty & ~S::LAST_RANK;
  for (u64 b = S::advance(single, 8) & S::DOUBLE_PUSH_RANK & empty; b;) {
    const int t = popLowestSquare(b);
    add(S::backward(t, 16), t, DoublePushFlag);
  }
  for (u64 b = single; b;) {
    const int t = popLowestSquare(b);
    add(S::backward(t, 8), t, 0);
  }
  addOfficerMoves<US>(empty, occupied, add);
  addCastling<US>(add);
  addKingMoves<US>(empty, add);
}

template <Color US>
void generateCaptures(MoveList &list) {
  using S = Side<US>;
  const u64 occupied = WhitePieces | BlackPieces, enemy = S::enemy();
  auto add = [&list](int from, int to, int flags) { addScoredMove(list, from, to, flags); };
  auto addPawn = [&list](int from, int to) {
    addScoredMove(list, from, to, squareBit[to] & S::LAST_RANK ? S::QUEEN : 0);
  };
  addEnPassantCaptures<US>(list);
  addPawnCaptures<US>(enemy, addPawn);
  for (u64 b = S::advance(pieceBB[S::PAWN], 8) & S::LAST_RANK & ~occupied; b;) {
    const int t = popLowestSquare(b);
    addScoredMove(list, S::backward(t, 8), t, S::QUEEN);
  }
  addOfficerMoves<US>(enemy, occupied, add);
  addKingMoves<US>(enemy, add);
}

template <Color US>
void generateAllFor(MoveList &list) {
  using S = Side<US>;
  const u64 occupied = WhitePieces | BlackPieces, targets = ~S::own();
  auto add = [&list](int from, int to, int flags) { addMove(list, from, to, flags); };
  // Promotions in the order queen, rook, knight, bishop.
  auto addPawn = [&list](int from, int to) {
    if (squareBit[to] & S::LAST_RANK) {
      for (int promotion : {S::QUEEN, S::ROOK, S::KNIGHT, S::BISHOP}) addMove(list, from, to, promotion);
    } else {
      addMove(list, from, to, 0);
    }
  };
  addEnPassantCaptures<US>(list);
  addPawnCaptures<US>(S::enemy(), addPawn);
  const u64 single = S::advance(pieceBB[S::PAWN], 8) & ~occupied;
  for (u64 b = S::advance(single, 8) & S::DOUBLE_PUSH_RANK & ~occupied; b;) {
    const int t = popLowestSquare(b);
    addMove(list, S::backward(t, 16), t, DoublePushFlag);
  }
  for (u64 b = single; b;) {
    const int t = popLowestSquare(b);
    addPawn(S::backward(t, 8), t);
  }
  addOfficerMoves<US>(targets, occupied, add);
  addCastling<US>(add);
  addKingMoves<US>(targets, add);
}

// Every square the opponent attacks, sliders seen through nothing but the
// current occupancy (the king still on its square).
template <Color US>
u64 enemyAttacks(u64 occupied) {
  using S = Side<US>;
  using E = Side<S::THEM>;
  u64 attacked = E::captureTargets7(pieceBB[S::ENEMY_PAWN]) | E::captureTargets9(pieceBB[S::ENEMY_PAWN]);
  for (u64 b = pieceBB[S::ENEMY_KNIGHT]; b;) attacked |= knightAttacks[popLowestSquare(b)];
  for (u64 b = pieceBB[S::ENEMY_BISHOP] | pieceBB[S::ENEMY_QUEEN]; b;)
    attacked |= bishopAttacks(popLowestSquare(b), occupied);
  for (u64 b = pieceBB[S::ENEMY_ROOK] | pieceBB[S::ENEMY_QUEEN]; b;)
    attacked |= rookAttacks(popLowestSquare(b), occupied);
  return attacked | kingAttacks[lowestBit(pieceBB[S::ENEMY_KING])];
}

template <Color US>
void generateEvasions(MoveList &list) {
  using S = Side<US>;
  const u64 occupied = WhitePieces | BlackPieces;
  const int k = lowestBit(pieceBB[S::KING]);
  const u64 checkers = (knightAttacks[k] & pieceBB[S::ENEMY_KNIGHT]) | (S::pawnAttacksFrom(k) & pieceBB[S::ENEMY_PAWN]) |
                       (rookAttacks(k, occupied) & (pieceBB[S::ENEMY_ROOK] | pieceBB[S::ENEMY_QUEEN])) |
                       (bishopAttacks(k, occupied) & (pieceBB[S::ENEMY_BISHOP] | pieceBB[S::ENEMY_QUEEN]));
  auto add = [&list](int from, int to, int flags) { addMove(list, from, to, flags); };

  u64 kingTargets = kingAttacks[k] & ~S::own() & ~enemyAttacks<US>(occupied);
  // The square behind the king on a slider's line looks free only because the king hides it.
  const int c = lowestBit(checkers);
  if (board[c] != S::ENEMY_PAWN) kingTargets &= kingShadowMask[k][c];
  const u64 others = checkers & (checkers - 1);
  if (others) {
    const int c2 = lowestBit(others);
    if (board[c2] != S::ENEMY_PAWN) kingTargets &= kingShadowMask[k][c2];
    for (u64 t = kingTargets; t;) add(k, popLowestSquare(t), 0);
    return;
  }
  for (u64 t = kingTargets; t;) add(k, popLowestSquare(t), 0);

  const u8 promotion = squareBit[c] & S::LAST_RANK ? S::QUEEN : 0;
  for (u64 b = S::ownPawnSources(c) & pieceBB[S::PAWN]; b;) add(popLowestSquare(b), c, promotion);
  const int ep = stateTop->epSquare;
  if (ep && ep == c + S::FORWARD)
    for (u64 b = S::ownPawnSources(ep) & pieceBB[S::PAWN]; b;) addEnPassant(list, popLowestSquare(b), ep, S::ENEMY_PAWN);

  const u64 block = interposeMask[k][c];
  const u64 single = S::advance(pieceBB[S::PAWN], 8) & ~occupied;
  for (u64 b = S::advance(single, 8) & S::DOUBLE_PUSH_RANK & ~occupied & block; b;) {
    const int t = popLowestSquare(b);
    add(S::backward(t, 16), t, DoublePushFlag);
  }
  for (u64 b = single & block; b;) {
    const int t = popLowestSquare(b);
    add(S::backward(t, 8), t, squareBit[t] & S::LAST_RANK ? S::QUEEN : 0);
  }
  addOfficerMoves<US>(block, occupied, add);
}

}  // namespace

void generateQuietWhite(MoveList &list) { generateQuiet<WHITE>(list); }
void generateQuietBlack(MoveList &list) { generateQuiet<BLACK>(list); }
void generateCapturesWhite(MoveList &list) { generateCaptures<WHITE>(list); }
void generateCapturesBlack(MoveList &list) { generateCaptures<BLACK>(list); }
void generateAllWhite(MoveList &list) { generateAllFor<WHITE>(list); }
void generateAllBlack(MoveList &list) { generateAllFor<BLACK>(list); }
void generateEvasionsWhite(MoveList &list) { generateEvasions<WHITE>(list); }
void generateEvasionsBlack(MoveList &list) { generateEvasions<BLACK>(list); }

void generateAll(MoveList &list) {
  list.clear();
  whiteToMove ? generateAllWhite(list) : generateAllBlack(list);
}
