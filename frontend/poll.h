// Serving input while the engine thinks: the search calls pollInput every so
// many nodes.
#pragma once

#include "board/position.h"

// A line the poll read during an xboard search, for the xboard loop to carry
// out afterwards; empty when none.
extern char pendingCommand[128];

// Fewest and most nodes between two polls; a search without a short limit
// polls first after the most. The fuzz build lowers the most, so that every
// search it runs costs thousands of nodes rather than a million.
#ifndef MAX_POLL_NODES
#define MAX_POLL_NODES 1000000
#endif
constexpr u64 MIN_POLL_INTERVAL = 10000, MAX_POLL_INTERVAL = MAX_POLL_NODES;

// Nodes until the next poll, aiming at half the time left before the hard
// limit at the speed so far, within the two bounds above.
u64 pollInterval(u64 nodes, u32 elapsed, u32 hardLimit);

// Whether the end of input stops the search. In the protocols it does: the
// GUI has gone, and the loop that reads next ends the program. The "test"
// mode turns it off, since a script that pipes in "test" leaves nobody to
// send "stop" and each position is to get its full time.
extern bool inputEndStopsSearch;

// Serves the waiting input lines and checks the hard time limit; true when
// the search must stop.
bool pollInput();
