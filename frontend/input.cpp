#include "frontend/input.h"

#include <cctype>

#include "platform/platform.h"

namespace {
char buffer[4096];
size_t bufferStart, bufferEnd;
bool ended;

// Peeks without consuming, so the character after a word stays in the buffer.
int peekInputChar() {
  int c = readInputChar();
  if (c >= 0) --bufferStart;
  return c;
}
}  // namespace

int readInputChar() {
  if (bufferStart == bufferEnd) {
    // The end of input is final: at a terminal, Ctrl-D ends only one read, and
    // a read after it would wait for a line that nobody is going to type.
    if (ended) return -1;
    const int got = readStandardInput(buffer, sizeof buffer);
    if (got == 0) {
      ended = true;
      return -1;
    }
    bufferStart = 0;
    bufferEnd = size_t(got);
  }
  return static_cast<unsigned char>(buffer[bufferStart++]);
}

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

bool readLine(char *line, size_t size) {
  size_t length = 0;
  int c = readInputChar();
  if (c < 0) {
    line[0] = '\0';
    return false;
  }
  for (; c >= 0 && c != '\n'; c = readInputChar())
    if (length + 1 < size) line[length++] = char(c);
  if (length > 0 && line[length - 1] == '\r') --length;
  line[length] = '\0';
  return true;
}

bool inputWaiting() { return bufferStart < bufferEnd || ended || standardInputReady(); }
