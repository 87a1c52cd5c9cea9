// The ten fixed positions of the "test" mode.
#pragma once

constexpr int BENCHMARK_POSITION_COUNT = 10;
extern const char *const benchmarkPositions[BENCHMARK_POSITION_COUNT];

// The "test" mode: each position searched for a minute with UCI reports.
void runBenchmark();
