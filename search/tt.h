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

// Allocates ttMask + 1 zeroed entries once at start-up, their memory in
// place before the first search; ends the program if it cannot be had.
void allocateTranspositionTable();

// Scores: centipawns for the side to move. Being mated at ply p scores p - MATE;
// anything beyond +-MATE_BOUND is a mate score.
constexpr i16 MATE = 32767;
constexpr i16 MATE_BOUND = 32000;

constexpr u8 TT_LOWER = 1;
constexpr u8 TT_EXACT = 2;
constexpr u8 TT_UPPER = 4;

// Looks up the current position. Returns the stored move on a key match (NoMove
// otherwise); when the entry is deep enough its score narrows alpha and beta,
// and a bound that settles the node makes them equal.
Move probeTT(i16 &alpha, i16 &beta, u8 depth, u8 ply);

// Overwrites the current position's slot; mate scores are stored relative to
// the node so that any later reader can rebase them on its own ply.
void storeTT(i16 score, u8 depth, u8 ply, u8 flags, Move move);
