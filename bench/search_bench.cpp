// Fixed-depth search of the ten "test" positions from a clean table: the node
// total is the build's signature (a change that only makes the engine faster
// leaves it unchanged), the times give its speed.
// Usage: search_bench [depth]   (default 10)
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/fen.h"
#include "frontend/benchmark.h"
#include "frontend/poll.h"
#include "frontend/startup.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/search.h"
#include "search/tt.h"

int main(int argc, char **argv) {
  const int depth = argc > 1 ? std::atoi(argv[1]) : 10;
  // The searches poll standard input: a closed one must not cut them short.
  inputEndStopsSearch = false;
  ttMask = ttMaskForMegabytes(16);
  initEngine();
  maxDepth = u8(depth);
  std::printf("%s fixed-depth search, depth %d, 16 MB table\n", ENGINE_NAME, depth);
  u64 totalNodes = 0;
  u32 totalMs = 0;
  for (int i = 0; i < BENCHMARK_POSITION_COUNT; ++i) {
    std::memset(transpositionTable, 0, sizeof(TTEntry) * (size_t(ttMask) + 1));
    for (StateRecord &r : stateStack) r.killer1 = r.killer2 = NoMove;
    setPositionFromFen(benchmarkPositions[i]);
    const Move best = think();
    const u32 ms = elapsedMs();
    char text[6];
    moveToText(best, text);
    std::printf("%2d %-6s %12" PRIu64 " nodes %8.3f s\n", i + 1, text, nodeCount, ms / 1000.0);
    totalNodes += nodeCount;
    totalMs += ms;
  }
  const double seconds = (totalMs ? totalMs : 1) / 1000.0;
  std::printf("total %12" PRIu64 " nodes %8.3f s %10.0f nodes/s\n", totalNodes, seconds, totalNodes / seconds);
  std::printf("Bench: %" PRIu64 "\n", totalNodes);
  return 0;
}
