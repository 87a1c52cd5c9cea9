// What differs between white and black, for the twins written once as
// templates on the moving colour.
#pragma once

#include "board/attacks.h"
#include "board/position.h"

template <Color US>
struct Side {
  static constexpr Color THEM = US == WHITE ? BLACK : WHITE;
  static constexpr u8 OWN = US == WHITE ? 0 : 6;    // added to a white piece code
  static constexpr u8 ENEMY = US == WHITE ? 6 : 0;  // the same for the opponent
  static constexpr u8 PAWN = WHITE_PAWN + OWN, KNIGHT = WHITE_KNIGHT + OWN, BISHOP = WHITE_BISHOP + OWN,
                      ROOK = WHITE_ROOK + OWN, QUEEN = WHITE_QUEEN + OWN, KING = WHITE_KING + OWN;
  static constexpr u8 ENEMY_PAWN = WHITE_PAWN + ENEMY, ENEMY_KNIGHT = WHITE_KNIGHT + ENEMY,
                      ENEMY_BISHOP = WHITE_BISHOP + ENEMY, ENEMY_ROOK = WHITE_ROOK + ENEMY,
                      ENEMY_QUEEN = WHITE_QUEEN + ENEMY, ENEMY_KING = WHITE_KING + ENEMY;
  static constexpr int FORWARD = US == WHITE ? -8 : 8;  // one pawn step
  static constexpr u64 FILE_A = 0x0101010101010101ULL, FILE_H = 0x8080808080808080ULL;
  static constexpr u64 LAST_RANK = US == WHITE ? 0xFFULL : 0xFF00000000000000ULL;
  static constexpr u64 DOUBLE_PUSH_RANK = US == WHITE ? 0xFF00000000ULL : 0xFF000000ULL;
  static constexpr int KING_HOME = US == WHITE ? E1 : E8;
  static constexpr u8 KING_SIDE_RIGHT = US == WHITE ? WHITE_KING_SIDE : BLACK_KING_SIDE;
  static constexpr u8 QUEEN_SIDE_RIGHT = US == WHITE ? WHITE_QUEEN_SIDE : BLACK_QUEEN_SIDE;

  static u64 &own() { return US == WHITE ? WhitePieces : BlackPieces; }
  static u64 &enemy() { return US == WHITE ? BlackPieces : WhitePieces; }

  // Moves a set of squares n rows toward the opponent.
  static constexpr u64 advance(u64 b, int n) { return US == WHITE ? b >> n : b << n; }
  // Pawn capture targets: the shift by 7 first, then the shift by 9, each
  // without the file it would wrap from.
  static constexpr u64 captureTargets7(u64 pawns) { return advance(pawns & (US == WHITE ? ~FILE_H : ~FILE_A), 7); }
  static constexpr u64 captureTargets9(u64 pawns) { return advance(pawns & (US == WHITE ? ~FILE_A : ~FILE_H), 9); }
  static constexpr int backward(int t, int n) { return US == WHITE ? t + n : t - n; }
  // Squares an own pawn on q attacks; also where an enemy pawn attacking q stands.
  static u64 pawnAttacksFrom(int q) { return US == WHITE ? pawnAttacksWhite[q] : pawnAttacksBlack[q]; }
  // Squares from which an own pawn attacks q.
  static u64 ownPawnSources(int q) { return US == WHITE ? pawnAttacksBlack[q] : pawnAttacksWhite[q]; }
};
