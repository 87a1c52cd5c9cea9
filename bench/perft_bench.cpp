// Perft speed: leaves per second with every leaf made and unmade, the best of
// up to three runs per position (fewer when one run takes long).
// Usage: perft_bench [position name]...   (default all; e.g. "start" to profile)
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "board/fen.h"
#include "frontend/startup.h"
#include "movegen/perft.h"
#include "search/control.h"

int main(int argc, char **argv) {
  struct Case {
    const char *name, *fen;
    int depth;
  };
  const Case cases[] = {
      {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5},
      {"second", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4},
      {"fourth", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 6},
  };
  initEngine();
  std::printf("%s perft, every leaf made and unmade\n", ENGINE_NAME);
  for (const Case &c : cases) {
    bool chosen = argc == 1;
    for (int i = 1; i < argc; ++i) chosen |= std::strcmp(argv[i], c.name) == 0;
    if (!chosen) continue;
    u32 best = ~0u, spent = 0;
    for (int run = 0; run < 3 && spent < 20000; ++run) {
      setPositionFromFen(c.fen);
      perftNodes = 0;
      startSearchClock();
      perftCount(c.depth);
      const u32 elapsed = elapsedMs();
      spent += elapsed;
      if (elapsed < best) best = elapsed;
    }
    const double seconds = (best ? best : 1) / 1000.0;
    std::printf("%-8s depth %d %10" PRIu64 " leaves %8.3f s %8.2f M leaves/s\n", c.name, c.depth, perftNodes, seconds,
                perftNodes / seconds / 1e6);
  }
  return 0;
}
