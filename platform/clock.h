// Operating-system services the engine needs, behind small functions.
#pragma once

#include <cstdint>

// Milliseconds from a fixed point in the past, wrapping at 2^32; differences
// of two readings as unsigned 32-bit values are elapsed times.
uint32_t tickCount();
