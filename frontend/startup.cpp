#include "frontend/startup.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/zobrist.h"
#include "eval/tables.h"
#include "search/tt.h"

const char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

u8 logEnabled;

namespace {
constexpr u32 MAX_HASH_MEGABYTES = 2047;
}

u32 parseMegabytes(const char *text) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  u32 value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + u32(*text - '0');
    if (value > MAX_HASH_MEGABYTES) value = MAX_HASH_MEGABYTES;
  }
  return negative ? 0 : value;
}

void parseOptions(int argc, char **argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-l") == 0) {
      logEnabled = 1;
    } else if (std::strcmp(argv[i], "-h") == 0 && i + 1 < argc) {
      ttMask = ttMaskForMegabytes(parseMegabytes(argv[++i]));
    }
  }
}

void printBanner() {
  std::fputs(ENGINE_NAME "\nby Varnek\n", stdout);
  std::fflush(stdout);
}

void initEngine() {
  initAttackTables();
  initHashKeys();
  initEvalTables();
  setPositionFromFen(START_FEN);
}
