// The search clock: when the current search (or count) started.
#pragma once

#include "board/position.h"

extern u32 searchStartTicks;

// Records the current millisecond tick as the start of a search.
void startSearchClock();

// Milliseconds since startSearchClock, in wrapping 32-bit arithmetic.
u32 elapsedMs();
