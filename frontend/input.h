// Standard input through one buffered reader, so that the first word, the
// protocol loops and the poll never lose a byte to each other's buffers.
#pragma once

#include <cstddef>

// The next byte of standard input, or -1 at end of input.
int readInputChar();

// Skips white space and reads one word into `word`; the rest of its line stays
// unread. A word that does not fit (size - 1 characters) comes back empty, so
// it matches nothing. Returns false at end of input with no word.
bool readWord(char *word, size_t size);
