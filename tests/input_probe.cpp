// A small program over the engine's input layer, for tests that feed it
// through a pipe as a GUI would.
//   input_probe echo            prints every line it reads as [line]
//   input_probe poll MODE [MS]  polls as a search would (MODE uci, xboard or analyze),
//                               with a hard limit of MS milliseconds, and prints what stopped it
//   input_probe log ARGS...     opens the UCI log as the engine would and writes to it
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "frontend/input.h"
#include "frontend/log.h"
#include "frontend/poll.h"
#include "frontend/report.h"
#include "frontend/startup.h"
#include "search/control.h"

namespace {

int echo() {
  char line[128];
  for (;;) {
    while (!inputWaiting()) usleep(500);
    if (!readLine(line, sizeof line)) break;
    std::printf("[%s]\n", line);
    std::fflush(stdout);
  }
  std::printf("eof\n");
  return 0;
}

int poll(const char *mode, u32 limit) {
  hardLimitMs = limit;
  uciMode = std::strcmp(mode, "uci") == 0;
  xboardMode = !uciMode;
  analyzeMode = std::strcmp(mode, "analyze") == 0;
  for (int searches = 0; searches < 100; ++searches) {
    pendingCommand[0] = '\0';
    startSearchClock();
    nodeCount = 0;
    while (!pollInput()) {
      // Without a limit the next poll is a million nodes away.
      if (!hardLimitMs && nextPollAt != nodeCount + 1000000) return 1;
      nodeCount += 1000;
      usleep(200);
    }
    std::printf("stopped pending=[%s] analyze=%d ended=%d", pendingCommand, analyzeMode, inputEnded());
    if (hardLimitMs) std::printf(" late=%d", elapsedMs() >= hardLimitMs);
    std::printf("\n");
    std::fflush(stdout);
    if (inputEnded()) break;
  }
  return 0;
}

int writeLog(int argc, char **argv) {
  parseOptions(argc, argv);
  openLog("_uci");
  logPrintf("> %s\n", "position startpos");
  reply("readyok\n");
  std::printf("log %s\n", logStream ? "open" : "closed");
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc >= 2 && std::strcmp(argv[1], "echo") == 0) return echo();
  if (argc >= 3 && std::strcmp(argv[1], "poll") == 0) return poll(argv[2], argc >= 4 ? std::atoi(argv[3]) : 0);
  if (argc >= 2 && std::strcmp(argv[1], "log") == 0) return writeLog(argc - 1, argv + 1);
  return 2;
}
