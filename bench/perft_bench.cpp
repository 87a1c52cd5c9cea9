// Perft speed: leaves per second with every leaf made and unmade, best of
// three runs per position.
#include <cstdio>

#include "board/fen.h"
#include "frontend/startup.h"
#include "movegen/perft.h"
#include "search/control.h"

int main() {
  struct Case {
    const char *name, *fen;
    int depth;
  };
  const Case cases[] = {
      {"start position", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5},
      {"second position", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4},
  };
  initEngine();
  std::printf("%s perft, every leaf made and unmade\n", ENGINE_NAME);
  for (const Case &c : cases) {
    u32 best = ~0u;
    for (int run = 0; run < 3; ++run) {
      setPositionFromFen(c.fen);
      perftNodes = 0;
      startSearchClock();
      perftCount(c.depth);
      const u32 elapsed = elapsedMs();
      if (elapsed < best) best = elapsed;
    }
    const double seconds = (best ? best : 1) / 1000.0;
    std::printf("%-16s depth %d %10llu leaves %7.3f s %8.2f M leaves/s\n", c.name, c.depth,
                static_cast<unsigned long long>(perftNodes), seconds, perftNodes / seconds / 1e6);
  }
  return 0;
}
