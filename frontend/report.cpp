#include "frontend/report.h"

#include <cinttypes>
#include <cstdio>

#include "frontend/log.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/tt.h"

u8 xboardMode;
u8 postEnabled = 1;

std::string infoLine(u8 depth, i16 score, Move move, u32 elapsed, u64 nodes) {
  char text[6], line[160];
  moveToText(move, text);
  if (uciMode) {
    const u32 nps = elapsed ? u32(nodes * 1000 / elapsed) : 0;
    if (score > MATE_BOUND || score < -MATE_BOUND) {
      // Moves to mate: positive when the engine mates, negative when it is mated.
      const int mateIn = score > 0 ? (32768 - score) / 2 : -((score + 32767) / 2);
      std::snprintf(line, sizeof line, "info depth %u score mate %d time %u nodes %" PRIu64 " nps %u pv %s\n", depth,
                    mateIn, elapsed, nodes, nps, text);
    } else {
      std::snprintf(line, sizeof line, "info depth %u score cp %d time %u nodes %" PRIu64 " nps %u pv %s\n", depth,
                    score, elapsed, nodes, nps, text);
    }
    return line;
  }
  if (xboardMode) {
    std::snprintf(line, sizeof line, "%u %d %u %" PRIu64 " %s\n", depth, score, elapsed / 10, nodes, text);
    return line;
  }
  return "";
}

void printInfoLine(u8 depth, i16 score, Move move) {
  if (!postEnabled) return;
  const std::string line = infoLine(depth, score, move, elapsedMs(), nodeCount);
  if (!line.empty()) reply("%s", line.c_str());
}
