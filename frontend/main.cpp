#include <cstring>

#include "frontend/benchmark.h"
#include "frontend/input.h"
#include "frontend/startup.h"
#include "frontend/uci.h"
#include "frontend/xboard.h"
#include "movegen/perft.h"
#include "platform/platform.h"

namespace {

struct Mode {
  const char *word;
  void (*run)();
};

// The modes by their first input word, compared exactly in this order.
constexpr Mode MODES[] = {
    {"xboard", runXboard},
    {"uci", runUci},
    {"perft", perftCommand},
    {"test", runBenchmark},
};

}  // namespace

int main(int argc, char **argv) {
  ignoreBrokenPipeSignal();
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
