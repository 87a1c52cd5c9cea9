// A whole command stream as standard input to one of the protocol loops
// (RUN_LOOP: runUci or runXboard), the way a GUI would send it.
#include <cstring>
#include <vector>

#include "board/fen.h"
#include "frontend/poll.h"
#include "frontend/report.h"
#include "frontend/startup.h"
#include "frontend/uci.h"
#include "frontend/xboard.h"
#include "fuzz/harness.h"
#include "search/control.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  initFuzzEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<uint8_t> input(data, data + size);
  // "quit" during an xboard search ends the process, which would end the
  // fuzzing run too; everywhere else it only returns from the loop.
  for (size_t i = 0; i + 4 <= input.size(); ++i)
    if (std::memcmp(&input[i], "quit", 4) == 0) input[i] = 'Q';
  // What a fresh process starts with.
  setPositionFromFen(START_FEN);
  uciMode = xboardMode = analyzeMode = 0;
  postEnabled = 1;
  maxDepth = 100;
  pendingCommand[0] = '\0';
  setStandardInput(input.data(), input.size());
  RUN_LOOP();
  drainStandardInput();
  return 0;
}
