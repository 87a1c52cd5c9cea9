// Reading protocol command lines: tokens split at the space character only,
// and numbers as an optional sign followed by leading digits.
#pragma once

#include <cstdint>
#include <string_view>

// The next token at or after `cursor`, which is moved past it; empty at the
// end of the line. Runs of spaces count as one separator; tabs do not separate.
std::string_view nextToken(const char *&cursor);

// Optional sign and leading decimal digits of `text`; 0 when there are none.
// Saturates instead of overflowing.
int64_t readInteger(std::string_view text);
