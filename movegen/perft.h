// The "perft" mode: leaf counts of the legal move tree, every leaf made and
// unmade, for four fixed positions and their colour-flipped mirror images.
#pragma once

#include "board/position.h"

extern u64 perftNodes;

// Runs the whole mode: each position counted, flipped and counted again.
void perftCommand();

// Counts from the current position to `depth` (1 to 255) and prints one line.
void perftReport(int depth);

// Adds the legal leaves `depth` plies below the current position to perftNodes.
void perftCount(int depth);

// Mirrors the position vertically and swaps the colours; the keys are left
// for recomputeKeys.
void flipPosition();

// Recomputes hashKey and pawnKey of the current record from the board.
void recomputeKeys();
