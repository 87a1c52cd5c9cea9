#include "frontend/poll.h"

#include <cstdlib>
#include <cstring>

#include "frontend/input.h"
#include "frontend/log.h"
#include "search/control.h"

char pendingCommand[128];
bool inputEndStopsSearch = true;

namespace {
bool is(const char *line, const char *command) { return std::strcmp(line, command) == 0; }

void keepPending(const char *line) {
  std::strncpy(pendingCommand, line, sizeof pendingCommand - 1);
  pendingCommand[sizeof pendingCommand - 1] = '\0';
}

// One waiting line; true when it ends the search.
bool serveLine(const char *line) {
  logPrintf(">>%s\n", line);
  if (uciMode) {
    if (is(line, "isready")) reply("readyok\n");
    return is(line, "stop");
  }
  if (analyzeMode) {
    // Status requests keep the analysis going rather than restart it from depth 1.
    if (is(line, ".") || is(line, "bk") || is(line, "hint")) return false;
    if (is(line, "exit"))
      analyzeMode = 0;
    else
      keepPending(line);
    return true;
  }
  if (is(line, "quit")) std::exit(0);
  if (is(line, "draw")) return false;
  // "?" moves now with nothing left to do afterwards.
  if (!is(line, "?")) keepPending(line);
  return true;
}
}  // namespace

u64 pollInterval(u64 nodes, u32 elapsed, u32 hardLimit) {
  // The clock may read up to a step short (Windows's tick count moves in
  // steps of up to 16 ms): counting a step more keeps the speed from being
  // overrated early in the move.
  const u64 interval = u64(hardLimit - elapsed) * (nodes / (u64(elapsed) + 16)) / 16;
  return interval < MIN_POLL_INTERVAL ? MIN_POLL_INTERVAL : interval > MAX_POLL_INTERVAL ? MAX_POLL_INTERVAL : interval;
}

namespace {
// Probing the input costs more than reading the clock (a system call; on the
// web a turn of the event loop), so a timed search probes it only this often.
constexpr u32 INPUT_PROBE_MS = 5;
u32 inputProbedAt;  // elapsed time of the last probe, in this search or an earlier one

// Serves the waiting lines; true when one ends the search.
bool serveInput() {
  char line[128];
  while (inputWaiting()) {
    if (!readLine(line, sizeof line)) {
      if (inputEndStopsSearch) return true;
      break;  // only the clock is left to end the search
    }
    if (line[0] && serveLine(line)) return true;
  }
  return false;
}
}  // namespace

bool pollInput() {
  if (!hardLimitMs) {
    nextPollAt = nodeCount + MAX_POLL_INTERVAL;
    return serveInput();
  }
  const u32 elapsed = elapsedMs();
  // A new search starts its elapsed time below the last probe's, which the
  // unsigned difference turns into a probe at once.
  if (elapsed - inputProbedAt >= INPUT_PROBE_MS) {
    inputProbedAt = elapsed;
    if (serveInput()) return true;
  }
  if (elapsed >= hardLimitMs) return true;
  nextPollAt = nodeCount + pollInterval(nodeCount, elapsed, hardLimitMs);
  return false;
}
