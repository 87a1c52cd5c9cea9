#include <cstring>

#include "frontend/benchmark.h"
#include "frontend/input.h"
#include "frontend/startup.h"
#include "frontend/uci.h"
#include "movegen/perft.h"

namespace {

struct Mode {
  const char *word;
  void (*run)();
};

// The modes by their first input word, compared exactly in this order.
constexpr Mode MODES[] = {
    {"uci", runUci},
    {"perft", perftCommand},
    {"test", runBenchmark},
};

}  // namespace

int main(int argc, char **argv) {
  printBanner();
  parseOptions(argc, argv);
  initEngine();
  char word[16];
  readWord(word, sizeof word);
  for (const Mode &mode : MODES)
    if (std::strcmp(word, mode.word) == 0) {
      mode.run();
      break;
    }
  return 0;
}
