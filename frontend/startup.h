// Program start: banner, command-line options and table initialisation.
#pragma once

#include "board/position.h"

extern const char START_FEN[];

// Set by "-l": the protocol loops then keep a log file.
extern u8 logEnabled;

// Hash size in megabytes as "-h" reads it: optional blanks and sign, then
// leading digits (none read as 0). Values below 0 or above 2047 are clamped
// into that range.
u32 parseMegabytes(const char *text);

// Reads "-l" and "-h N" (the last one wins); every other argument is ignored,
// and so is a "-h" with no value after it.
void parseOptions(int argc, char **argv);

void printBanner();

// Builds every table in order and sets the start position.
void initEngine();
