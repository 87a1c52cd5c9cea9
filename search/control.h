// The globals through which the protocols steer a search and the search, its
// nodes and the input poll share the clock and the stop request.
#pragma once

#include "board/position.h"

// Clock inputs, set by the protocols; 0 = not given.
extern u32 moveTimeMs;
extern u32 movesToGo;
extern u32 remainingMs;
extern u32 incrementMs;
extern u8 maxDepth;     // last iteration to run (100 unless a protocol says otherwise)
extern u8 analyzeMode;  // xboard analysis: no time limits
extern u8 uciMode;      // UCI report formats and poll rules

extern u32 searchStartTicks;
extern u32 hardLimitMs;  // enforced by the poll; 0 = none
extern u32 softLimitMs;  // consulted between iterations; 0 = none
extern u64 nextPollAt;   // nodeCount at which the next poll is due
extern u8 stopSearch;    // the search must unwind

// Records the current millisecond tick as the start of a search.
void startSearchClock();

// Milliseconds since startSearchClock, in wrapping 32-bit arithmetic.
u32 elapsedMs();
