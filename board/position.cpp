#include "board/position.h"

u8 board[64];
u64 pieceBB[13];
u64 WhitePieces;
u64 BlackPieces;
u8 whiteToMove;
StateRecord stateStack[STATE_STACK_SIZE];
StateRecord *stateTop = stateStack;
u64 nodeCount;

const char pieceLetters[14] = ".PNBRQKpnbrqk";

const char pieceKindNames[13][16] = {
    "None",        "WhitePawns",   "WhiteKnights", "WhiteBishops", "WhiteRooks",
    "WhiteQueens", "WhiteKing",    "BlackPawns",   "BlackKnights", "BlackBishops",
    "BlackRooks",  "BlackQueens",  "BlackKing",
};

// A move from or to a king's or rook's home square loses the rights it stands for.
const u8 castleMask[64] = {
    11, 15, 15, 15, 3,  15, 15, 7,   //
    15, 15, 15, 15, 15, 15, 15, 15,  //
    15, 15, 15, 15, 15, 15, 15, 15,  //
    15, 15, 15, 15, 15, 15, 15, 15,  //
    15, 15, 15, 15, 15, 15, 15, 15,  //
    15, 15, 15, 15, 15, 15, 15, 15,  //
    15, 15, 15, 15, 15, 15, 15, 15,  //
    14, 15, 15, 15, 12, 15, 15, 13,  //
};

// Mixed-radix digit weights: Q 1, q 2, R 4, r 12, B 36, b 108, N 324, n 972, P 2916, p 26244.
const u16 materialWeight[13] = {0, 2916, 324, 36, 4, 1, 0, 26244, 972, 108, 12, 2, 0};
