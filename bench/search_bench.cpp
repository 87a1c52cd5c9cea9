// Fixed-depth search of the ten "test" positions from a clean table: the node
// total is the build's signature (a change that only makes the engine faster
// leaves it unchanged), the times give its speed.
// Usage: search_bench [depth [file]]   (default 10; a file holds one FEN a
// line, # for comments, in place of the ten positions). With PELKO_PLAIN_BIT_COUNT
// set in the environment the evaluation counts bits without the CPU's
// instruction, as on a CPU that lacks it.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "board/fen.h"
#include "eval/evaluate.h"
#include "frontend/benchmark.h"
#include "frontend/poll.h"
#include "frontend/startup.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/search.h"
#include "search/tt.h"

int main(int argc, char **argv) {
  const int depth = argc > 1 ? std::atoi(argv[1]) : 10;
  std::vector<std::string> positions(benchmarkPositions, benchmarkPositions + BENCHMARK_POSITION_COUNT);
  if (argc > 2) {
    positions.clear();
    std::ifstream file(argv[2]);
    for (std::string line; std::getline(file, line);)
      if (!line.empty() && line[0] != '#') positions.push_back(line);
  }
  // The searches poll standard input: a closed one must not cut them short.
  inputEndStopsSearch = false;
  if (std::getenv("PELKO_PLAIN_BIT_COUNT")) hardwareBitCount = false;
  ttMask = ttMaskForMegabytes(16);
  initEngine();
  maxDepth = u8(depth);
  std::printf("%s fixed-depth search, depth %d, 16 MB table%s\n", ENGINE_NAME, depth,
              hardwareBitCount ? "" : ", plain bit count");
  u64 totalNodes = 0;
  u32 totalMs = 0;
  for (size_t i = 0; i < positions.size(); ++i) {
    std::memset(transpositionTable, 0, sizeof(TTEntry) * (size_t(ttMask) + 1));
    for (StateRecord &r : stateStack) r.killer1 = r.killer2 = NoMove;
    if (!setPositionFromFen(positions[i].c_str())) {
      std::printf("refused: %s\n", positions[i].c_str());
      return 1;
    }
    const Move best = think();
    const u32 ms = elapsedMs();
    char text[6];
    moveToText(best, text);
    std::printf("%2zu %-6s %12" PRIu64 " nodes %8.3f s\n", i + 1, text, nodeCount, ms / 1000.0);
    totalNodes += nodeCount;
    totalMs += ms;
  }
  const double seconds = (totalMs ? totalMs : 1) / 1000.0;
  std::printf("total %12" PRIu64 " nodes %8.3f s %10.0f nodes/s\n", totalNodes, seconds, totalNodes / seconds);
  std::printf("Bench: %" PRIu64 "\n", totalNodes);
  return 0;
}
