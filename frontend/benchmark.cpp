#include "frontend/benchmark.h"

#include <cstdio>

#include "board/fen.h"
#include "frontend/poll.h"
#include "search/control.h"
#include "search/search.h"

const char *const benchmarkPositions[BENCHMARK_POSITION_COUNT] = {
    "8/7p/5k2/5p2/p1p2P2/Pr1pPK2/1P1R3P/8 b - -",
    "7k/p7/1R5K/6r1/6p1/6P1/8/8 w - -",
    "r4q1k/p2bR1rp/2p2Q1N/5p2/5p2/2P5/PP3PPP/R5K1 w - -",
    "r1b2rk1/ppbn1ppp/4p3/1QP4q/3P4/N4N2/5PPP/R1B2RK1 w - -",
    "r1bqk2r/ppp1nppp/4p3/n5N1/2BPp3/P1P5/2P2PPP/R1BQK2R w KQkq -",
    "3r2k1/1p1b1pp1/pq5p/8/3NR3/2PQ3P/PP3PP1/6K1 b - -",
    "r2q2k1/pp1rbppp/4pn2/2P5/1P3B2/6P1/P3QPBP/1R3RK1 w - -",
    "1r3r2/4q1kp/b1pp2p1/5p2/pPn1N3/6P1/P3PPBP/2QRR1K1 w - -",
    "6k1/p4p1p/1p3np1/2q5/4p3/4P1N1/PP3PPP/3Q2K1 w - -",
    "2r5/2rk2pp/1pn1pb2/pN1p4/P2P4/1N2B3/nPR1KPPP/3R4 b - -",
};

void runBenchmark() {
  uciMode = 1;
  moveTimeMs = 60000;
  inputEndStopsSearch = false;
  for (const char *fen : benchmarkPositions) {
    setPositionFromFen(fen);
    std::printf("\n---\n");
    think();
  }
  std::fflush(stdout);
}
