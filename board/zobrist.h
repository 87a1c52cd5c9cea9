// Zobrist keys of the position hash, drawn from a fixed generator so that
// they are the same in every run.
#pragma once

#include "board/position.h"

extern u64 zobristPiece[13][64];
extern u64 zobristEp[64];
extern u64 zobristCastle[16];
extern u64 zobristSide;

// Allocates the transposition table, then draws every key in its fixed order.
void initHashKeys();

// The next key of the generator: 64 draws, one bit each, first draw highest.
u64 randomKey();
