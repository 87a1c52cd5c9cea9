// Serving input while the engine thinks: the search calls pollInput every so
// many nodes.
#pragma once

#include "board/position.h"

// A line the poll read during an xboard search, for the xboard loop to carry
// out afterwards; empty when none.
extern char pendingCommand[128];

// Fewest and most nodes between two polls. A search with a time limit polls
// first after the fewest, one without after the most. The fuzz build lowers
// the most, so that every search it runs costs thousands of nodes rather than
// a million.
#ifndef MAX_POLL_NODES
#define MAX_POLL_NODES 1000000
#endif
constexpr u64 MIN_POLL_INTERVAL = 1000, MAX_POLL_INTERVAL = MAX_POLL_NODES;

// Nodes until the next poll of a search with a time limit: a sixteenth of the
// time left before the hard limit at the speed so far, within the two bounds
// above. The poll then still comes before the limit when the engine slows
// down up to sixteen times over in the middle of a move (a CPU that other
// programs take a share of).
u64 pollInterval(u64 nodes, u32 elapsed, u32 hardLimit);

// Whether the end of input stops the search. In the protocols it does: the
// GUI has gone, and the loop that reads next ends the program. The "test"
// mode turns it off, since a script that pipes in "test" leaves nobody to
// send "stop" and each position is to get its full time.
extern bool inputEndStopsSearch;

// Serves the waiting input lines (in a timed search at most every few
// milliseconds) and checks the hard time limit; true when the search must stop.
bool pollInput();
