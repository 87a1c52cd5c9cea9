// Operating-system services the engine needs, behind small functions.
#pragma once

#include <cstdint>
#include <string>

// Milliseconds from a fixed point in the past, wrapping at 2^32; differences
// of two readings as unsigned 32-bit values are elapsed times.
uint32_t tickCount();

// True when a read of standard input would not block: data or end of input
// is waiting (or the probe itself failed). Bytes already taken into a
// reader's own buffer are not seen here.
bool standardInputReady();

// Full path of the running program file; empty when it cannot be found.
std::string programPath();

// SIGINT, which some GUIs send to their engines, no longer ends the program.
void ignoreInterruptSignal();

// A write to a pipe whose reader has gone fails instead of ending the
// program by SIGPIPE, so the program can finish in its own way.
void ignoreBrokenPipeSignal();
