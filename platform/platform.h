// Operating-system services the engine needs, behind small functions: one
// layer for POSIX systems (posix.cpp), one for Windows (windows.cpp) and one
// for the web (web.cpp, whose input comes from the page's messages).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Milliseconds from a fixed point in the past, wrapping at 2^32; differences
// of two readings as unsigned 32-bit values are elapsed times.
uint32_t tickCount();

// True when a read of standard input would not block: data or end of input
// is waiting (or the probe itself failed). Bytes already taken into a
// reader's own buffer are not seen here.
bool standardInputReady();

// Reads up to size bytes of standard input as they come, without any line-end
// translation; 0 at the end of input or on an error.
int readStandardInput(char *buffer, int size);

// Zeroed memory for a large table, every page of it in place (otherwise the
// first searches take the page faults while the clock runs) and on huge
// pages where the system gives them; null when the memory cannot be had.
void *allocateTable(size_t bytes);

// File name of the running program, without its folder; empty when it cannot
// be found.
std::string programFileName();

// SIGINT, which some GUIs send to their engines, no longer ends the program.
void ignoreInterruptSignal();

// A write to a pipe whose reader has gone fails instead of ending the
// program by SIGPIPE, so the program can finish in its own way.
void ignoreBrokenPipeSignal();
