// What every fuzz target shares: a quiet engine with a small table, and
// standard input replaced by the bytes of one run.
#pragma once

#include <cstddef>
#include <cstdint>

// Once per process: tables, a 1 MB transposition table, output to /dev/null.
void initFuzzEngine();

// Makes `data` the whole of standard input, read from its start.
void setStandardInput(const uint8_t *data, size_t size);

// Reads what a protocol loop left of standard input, so the reader's buffer
// starts the next run empty.
void drainStandardInput();
