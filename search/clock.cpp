#include "search/clock.h"

#include "platform/clock.h"

u32 searchStartTicks;

void startSearchClock() { searchStartTicks = tickCount(); }

u32 elapsedMs() { return tickCount() - searchStartTicks; }
