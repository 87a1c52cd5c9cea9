// The transposition table: one always-replace slot per index.
#pragma once

#include "board/position.h"

struct TTEntry {
  u64 key;
  Move move;
  i16 score;
  u8 flags;
  u8 depth;
};
static_assert(sizeof(TTEntry) == 16);

// Index mask; the table holds ttMask + 1 entries. 128 MB unless "-h" says otherwise.
extern u32 ttMask;
extern TTEntry *transpositionTable;

// Entry mask for a table of at most the given number of megabytes: the largest
// power of two of 16-byte entries that fits, at least one entry.
u32 ttMaskForMegabytes(u32 megabytes);

// Allocates ttMask + 1 zeroed entries once at start-up; ends the program if
// the memory cannot be had.
void allocateTranspositionTable();
