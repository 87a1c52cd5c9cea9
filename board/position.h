// The one global position: board, piece bitboards, side to move and the
// stack of per-ply state records, plus the shared square, piece and move types.
#pragma once

#include <array>
#include <cstdint>

using u8 = uint8_t;
using u16 = uint16_t;
using u32 = uint32_t;
using u64 = uint64_t;
using i8 = int8_t;
using i16 = int16_t;
using i32 = int32_t;
using i64 = int64_t;

// Squares in FEN reading order: a8 = 0 ... h8 = 7, a1 = 56 ... h1 = 63.
enum Square : u8 {
  A8, B8, C8, D8, E8, F8, G8, H8,
  A7, B7, C7, D7, E7, F7, G7, H7,
  A6, B6, C6, D6, E6, F6, G6, H6,
  A5, B5, C5, D5, E5, F5, G5, H5,
  A4, B4, C4, D4, E4, F4, G4, H4,
  A3, B3, C3, D3, E3, F3, G3, H3,
  A2, B2, C2, D2, E2, F2, G2, H2,
  A1, B1, C1, D1, E1, F1, G1, H1,
};

// Piece codes; a black code is the white code plus 6.
enum PieceCode : u8 {
  NO_PIECE,
  WHITE_PAWN, WHITE_KNIGHT, WHITE_BISHOP, WHITE_ROOK, WHITE_QUEEN, WHITE_KING,
  BLACK_PAWN, BLACK_KNIGHT, BLACK_BISHOP, BLACK_ROOK, BLACK_QUEEN, BLACK_KING,
};

// Colour as a template argument of the white/black twins.
enum Color : u8 { WHITE, BLACK };

constexpr bool isBlackPiece(u8 code) { return code > 6; }

// Castling rights bits.
constexpr u8 WHITE_QUEEN_SIDE = 1, WHITE_KING_SIDE = 2;
constexpr u8 BLACK_QUEEN_SIDE = 4, BLACK_KING_SIDE = 8;

// A move packs from, to, flags and the captured piece code into four bytes,
// least significant first. The low four flag bits hold a promotion piece code.
using Move = u32;
constexpr u8 PromotionMask = 15;
constexpr u8 CastleFlag = 16;
constexpr u8 EnPassantFlag = 32;
constexpr u8 DoublePushFlag = 64;
constexpr Move NoMove = 0;

constexpr Move encodeMove(u32 from, u32 to, u32 flags = 0, u32 captured = 0) {
  return from | (to << 8) | (flags << 16) | (captured << 24);
}
constexpr u8 moveFrom(Move m) { return m & 0xFF; }
constexpr u8 moveTo(Move m) { return (m >> 8) & 0xFF; }
constexpr u8 moveFlags(Move m) { return (m >> 16) & 0xFF; }
constexpr u8 moveCaptured(Move m) { return m >> 24; }
// Any move from a8 to a8 stands for "no move", whatever its other bytes.
constexpr bool isNoMove(Move m) { return (m & 0xFFFF) == 0; }

struct StateRecord {
  u64 hashKey;
  u64 pawnKey;
  i32 psqMid;
  i32 psqEnd;
  Move killer1;
  Move killer2;
  u32 materialIndex;
  u8 castleRights;
  u8 epSquare;
  u8 inCheck;
  u8 reversible;
};

// Records the protocols may fill with game moves (the set-up record included),
// and records above them for the deepest search line. Make refuses a move when
// the stack is full, so nothing is ever written past its end.
constexpr int MAX_GAME_RECORDS = 1024;
constexpr int MAX_SEARCH_PLY = 320;
constexpr int STATE_STACK_SIZE = MAX_GAME_RECORDS + MAX_SEARCH_PLY;

extern u8 board[64];
extern u64 pieceBB[13];
extern u64 WhitePieces;
extern u64 BlackPieces;
extern u8 whiteToMove;
extern StateRecord stateStack[STATE_STACK_SIZE];
extern StateRecord *stateTop;
extern u64 nodeCount;

inline constexpr u64 &WhitePawns = pieceBB[WHITE_PAWN];
inline constexpr u64 &WhiteKnights = pieceBB[WHITE_KNIGHT];
inline constexpr u64 &WhiteBishops = pieceBB[WHITE_BISHOP];
inline constexpr u64 &WhiteRooks = pieceBB[WHITE_ROOK];
inline constexpr u64 &WhiteQueens = pieceBB[WHITE_QUEEN];
inline constexpr u64 &WhiteKing = pieceBB[WHITE_KING];
inline constexpr u64 &BlackPawns = pieceBB[BLACK_PAWN];
inline constexpr u64 &BlackKnights = pieceBB[BLACK_KNIGHT];
inline constexpr u64 &BlackBishops = pieceBB[BLACK_BISHOP];
inline constexpr u64 &BlackRooks = pieceBB[BLACK_ROOK];
inline constexpr u64 &BlackQueens = pieceBB[BLACK_QUEEN];
inline constexpr u64 &BlackKing = pieceBB[BLACK_KING];

extern const char pieceLetters[14];
extern const char pieceKindNames[13][16];
extern const u8 castleMask[64];
extern const u16 materialWeight[13];

// Number of records in use: the set-up record plus one per move made.
inline int stateDepth() { return int(stateTop - stateStack) + 1; }

// WebAssembly has 64-bit count-trailing-zeros and population-count
// instructions, although its pointers are 32-bit.
#ifdef __wasm__
constexpr bool WEB_ASSEMBLY = true;
#else
constexpr bool WEB_ASSEMBLY = false;
#endif
// Without a 64-bit bit-scan instruction (the 32-bit x86 build), the compiler's
// own 64-bit scan is a library call: scan the two halves instead. HALVES
// chooses the halves on any build, so that the 64-bit tests check them too.
constexpr bool IN_HALVES = sizeof(void *) == 4 && !WEB_ASSEMBLY;
template <bool HALVES = IN_HALVES>
inline int lowestBit(u64 b) {
  if constexpr (!HALVES) {
    return __builtin_ctzll(b);
  } else {
    const u32 low = u32(b);
    return low ? __builtin_ctz(low) : 32 + __builtin_ctz(u32(b >> 32));
  }
}
// Whether every function is compiled for a population-count instruction
// (on 64-bit ARM, every CPU's vector unit has one).
#if defined(__POPCNT__) || defined(__aarch64__)
constexpr bool BUILT_WITH_POPCNT = true;
#else
constexpr bool BUILT_WITH_POPCNT = WEB_ASSEMBLY;
#endif
// Without a population-count instruction (not every x86-64 CPU has one) the
// compiler's builtin is a library call: count in parallel within the word,
// in 32-bit halves on the 32-bit build. POPCNT says the caller is compiled
// for the instruction: the whole build, or a function of the popcnt target
// (eval/evaluate.cpp), into which this is inlined.
template <bool HALVES = IN_HALVES, bool POPCNT = BUILT_WITH_POPCNT>
inline int bitCount(u64 b) {
  if constexpr (POPCNT) {
    return __builtin_popcountll(b);
  } else if constexpr (!HALVES) {
    b -= (b >> 1) & 0x5555555555555555ULL;
    b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
    b = (b + (b >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return int((b * 0x0101010101010101ULL) >> 56);
  } else {
    u32 low = u32(b), high = u32(b >> 32);
    low -= (low >> 1) & 0x55555555u;
    high -= (high >> 1) & 0x55555555u;
    low = (low & 0x33333333u) + ((low >> 2) & 0x33333333u);
    high = (high & 0x33333333u) + ((high >> 2) & 0x33333333u);
    // Each byte now holds at most 16, the four together at most 64.
    const u32 bytes = (low & 0x0F0F0F0Fu) + ((low >> 4) & 0x0F0F0F0Fu) + (high & 0x0F0F0F0Fu) + ((high >> 4) & 0x0F0F0F0Fu);
    return int((bytes * 0x01010101u) >> 24);
  }
}
constexpr int squareRow(int s) { return s >> 3; }
constexpr int squareFile(int s) { return s & 7; }

// The same file on the mirrored rank.
inline constexpr auto mirrorSquare = [] {
  std::array<u8, 64> table{};
  for (int s = 0; s < 64; ++s) table[s] = u8(s ^ 56);
  return table;
}();
