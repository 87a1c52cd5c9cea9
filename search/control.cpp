#include "search/control.h"

#include "platform/platform.h"

u32 moveTimeMs;
u32 movesToGo;
u32 remainingMs;
u32 incrementMs;
u8 maxDepth = 100;
u8 analyzeMode;
u8 uciMode;

u32 searchStartTicks;
u32 hardLimitMs;
u32 softLimitMs;
u64 nextPollAt;
u8 stopSearch;

void startSearchClock() { searchStartTicks = tickCount(); }

u32 elapsedMs() { return tickCount() - searchStartTicks; }
