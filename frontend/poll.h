// Serving input while the engine thinks: the search calls pollInput every so
// many nodes.
#pragma once

#include "board/position.h"

// A line the poll read during an xboard search, for the xboard loop to carry
// out afterwards; empty when none.
extern char pendingCommand[128];

// Nodes until the next poll, aiming at half the time left before the hard
// limit at the speed so far, within 10,000 to 1,000,000.
u64 pollInterval(u64 nodes, u32 elapsed, u32 hardLimit);

// Serves the waiting input lines and checks the hard time limit; true when
// the search must stop. The end of input stops the search, and the loop that
// reads next then ends the program.
bool pollInput();
