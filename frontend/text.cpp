#include "frontend/text.h"

std::string_view nextToken(const char *&cursor) {
  while (*cursor == ' ') ++cursor;
  const char *start = cursor;
  while (*cursor && *cursor != ' ') ++cursor;
  return {start, size_t(cursor - start)};
}

int64_t readInteger(std::string_view text) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT64_MAX / 100) value = INT64_MAX / 100;  // saturate well before overflow
  }
  return negative ? -value : value;
}
