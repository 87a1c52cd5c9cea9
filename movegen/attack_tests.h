// Is a square attacked, is a king attacked, is the side to move in check.
#pragma once

#include "board/attacks.h"
#include "board/position.h"

// Attackers of colour BY on square q, cheap leapers first; who stands on q does not matter.
template <Color BY>
inline bool isAttackedBy(int q) {
  constexpr int base = BY == WHITE ? 0 : 6;
  const u64 *own = pieceBB + base;
  const u64 *pawnSources = BY == WHITE ? pawnAttacksBlack : pawnAttacksWhite;
  const u64 occupied = WhitePieces | BlackPieces;
  if (own[WHITE_KNIGHT] & knightAttacks[q]) return true;
  if (own[WHITE_PAWN] & pawnSources[q]) return true;
  if (own[WHITE_KING] & kingAttacks[q]) return true;
  if ((own[WHITE_ROOK] | own[WHITE_QUEEN]) & rookAttacks(q, occupied)) return true;
  return (own[WHITE_BISHOP] | own[WHITE_QUEEN]) & bishopAttacks(q, occupied);
}

inline bool isAttackedByWhite(int q) { return isAttackedBy<WHITE>(q); }
inline bool isAttackedByBlack(int q) { return isAttackedBy<BLACK>(q); }

inline bool isWhiteKingAttacked() { return isAttackedByBlack(lowestBit(WhiteKing)); }
inline bool isBlackKingAttacked() { return isAttackedByWhite(lowestBit(BlackKing)); }

inline bool sideInCheck() { return whiteToMove ? isWhiteKingAttacked() : isBlackKingAttacked(); }

inline u64 rookAttacksFrom(int s) { return rookAttacks(s, WhitePieces | BlackPieces); }
inline u64 bishopAttacksFrom(int s) { return bishopAttacks(s, WhitePieces | BlackPieces); }
