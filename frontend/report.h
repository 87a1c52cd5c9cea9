// Report lines of a running search, in the format of the active protocol.
#pragma once

#include <string>

#include "board/position.h"

extern u8 xboardMode;   // xboard protocol and its post format
extern u8 postEnabled;  // 0 after xboard "nopost": no report lines

// The report line for a depth, a root score and the move (the whole reported
// variation), given the elapsed milliseconds and node count; empty when no
// protocol is active.
std::string infoLine(u8 depth, i16 score, Move move, u32 elapsed, u64 nodes);

// Writes the current search's report line to standard output and the log.
void printInfoLine(u8 depth, i16 score, Move move);
