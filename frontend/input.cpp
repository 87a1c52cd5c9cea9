#include "frontend/input.h"

#include <cctype>
#include <cerrno>
#include <unistd.h>

namespace {
char buffer[4096];
size_t bufferStart, bufferEnd;
}  // namespace

int readInputChar() {
  if (bufferStart == bufferEnd) {
    ssize_t got;
    do got = read(0, buffer, sizeof buffer);
    while (got < 0 && errno == EINTR);
    if (got <= 0) return -1;
    bufferStart = 0;
    bufferEnd = size_t(got);
  }
  return static_cast<unsigned char>(buffer[bufferStart++]);
}

namespace {
// Peeks without consuming, so the character after a word stays in the buffer.
int peekInputChar() {
  int c = readInputChar();
  if (c >= 0) --bufferStart;
  return c;
}
}  // namespace

bool readWord(char *word, size_t size) {
  int c;
  while ((c = peekInputChar()) >= 0 && std::isspace(c)) readInputChar();
  if (c < 0) {
    word[0] = '\0';
    return false;
  }
  size_t length = 0;
  bool fits = true;
  while ((c = peekInputChar()) >= 0 && !std::isspace(c)) {
    readInputChar();
    if (length + 1 < size)
      word[length++] = char(c);
    else
      fits = false;
  }
  word[fits ? length : 0] = '\0';
  return true;
}
