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

// Reads one line into `line` without its newline (nor a carriage return just
// before it). What does not fit into size - 1 characters is read and dropped,
// so the rest of a long line never comes back as a line of its own. Returns
// false at end of input with nothing read.
bool readLine(char *line, size_t size);

// True when a read would not wait: bytes are buffered here or waiting on
// standard input, or the input has ended.
bool inputWaiting();
