#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/make_move.h"
#include "frontend/poll.h"
#include "frontend/report.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/ordering.h"
#include "search/search.h"
#include "search/tt.h"

void allocateTimeLimits() {
  startSearchClock();
  if (analyzeMode) {
    hardLimitMs = softLimitMs = 0;
  } else if (moveTimeMs) {
    // Answer inside the allowance, not just after it: the stopping poll comes
    // up to 10,000 nodes late (far more on a slow machine), the reply takes its
    // time and a Windows tick count moves in steps of 10 to 16 ms.
    const u32 reserve = 20 + moveTimeMs / 50;
    hardLimitMs = softLimitMs = moveTimeMs > reserve ? moveTimeMs - reserve : 1;
  } else if (movesToGo) {
    const u32 n = movesToGo;
    const double divisor = n >= 35 ? 25.0 : (n - 1) * 24.0 / 34.0 + 1.0;
    const double budget = remainingMs / divisor + incrementMs - std::min<u32>(n, 25) * 10.0;
    const i32 hard = budget >= 2147483647.0 ? 2147483647 : i32(budget);
    hardLimitMs = hard > 0 ? u32(hard) : 1;
    softLimitMs = std::max<u32>(u32(hardLimitMs * 0.17), 1);
  } else if (remainingMs) {
    const i64 reserve = incrementMs < 100 ? 2000 : 0;
    const i64 t = i64(remainingMs) - reserve;
    if (t < 0) {
      // Under two seconds left without increment: answer within a small share
      // of what is left rather than from a negative budget.
      hardLimitMs = std::max<u32>(remainingMs / 30, 1);
      softLimitMs = 1;
    } else {
      const i64 soft = i64(2.0 * t / 125.0 + 2.0 * incrementMs / 5.0);
      softLimitMs = soft > 0 ? u32(soft) : 1;
      hardLimitMs = std::max<u32>(u32(t / 3), softLimitMs);
    }
  } else {
    hardLimitMs = softLimitMs = 0;
  }
  // The formulas count the increment, which the GUI credits only after the
  // move: with a small clock they would plan past it. Keep a quarter of it.
  if (remainingMs && !moveTimeMs) {
    const u32 cap = std::max<u32>(u32(u64(remainingMs) * 3 / 4), 1);
    hardLimitMs = std::min(hardLimitMs, cap);
    softLimitMs = std::min(softLimitMs, cap);
  }
}

namespace {

// Keeps only the legal moves: an illegal entry is replaced by the last one.
void keepLegalMoves(MoveList &list) {
  MoveEntry *e = list.entries;
  while (e != list.writeCursor) {
    const Move m = e->move;
    if (makeMove(m)) {
      unmakeMove(m);
      ++e;
    } else {
      *e = *--list.writeCursor;
    }
  }
}

// Score of a root move just made, from the root's side.
i16 rootScore(int depth, i16 best, bool scored) {
  if (isRepetition()) return 0;
  const bool check = stateTop->inCheck;
  if (!check && depth == 1) return i16(-quiesce(1, -MATE, i16(-best)));
  auto child = check ? searchInCheck : search;
  const u8 childDepth = u8(check ? depth : depth - 1);
  if (!scored) return i16(-child(childDepth, 1, -MATE, i16(-best), 1));
  i16 s = i16(-child(childDepth, 1, i16(-best - 1), i16(-best), 0));
  if (!stopSearch && best < s && s < MATE) s = i16(-child(childDepth, 1, -MATE, i16(-s), 1));
  return s;
}

void printCurrentMove(Move m, int number) {
  char text[6];
  moveToText(m, text);
  std::printf("info currmove %s currmovenumber %d\n", text, number);
  std::fflush(stdout);
}

}  // namespace

Move think() {
  allocateTimeLimits();
  // A timed search reads the clock early, and the poll schedule learns the
  // machine's speed from it: a first poll a million nodes on would come after
  // a limit of a few seconds on a slow machine.
  nextPollAt = hardLimitMs ? MIN_POLL_INTERVAL : MAX_POLL_INTERVAL;
  stopSearch = 0;
  std::memset(history, 0, sizeof history);

  MoveList root;
  generateAll(root);
  keepLegalMoves(root);
  nodeCount = 0;
  if (root.empty()) return NoMove;

  for (int depth = 1; depth <= maxDepth; ++depth) {
    if (uciMode) {
      std::printf("info depth %d\n", depth);
      std::fflush(stdout);
    }
    i16 best = -MATE;
    for (MoveEntry *e = root.entries; e != root.writeCursor; ++e) {
      const Move m = e->move;
      makeMove(m);
      if (uciMode && elapsedMs() > 1000) printCurrentMove(m, int(e - root.entries) + 1);
      const i16 s = rootScore(depth, best, e != root.entries);
      unmakeMove(m);
      if (stopSearch) return root.entries[0].move;
      if (s > best) {
        // The new best goes to the front; the moves before it shift back one.
        const MoveEntry found = *e;
        std::memmove(root.entries + 1, root.entries, sizeof(MoveEntry) * size_t(e - root.entries));
        root.entries[0] = found;
        best = s;
        printInfoLine(u8(depth), s, m);
      }
    }
    printInfoLine(u8(depth), best, root.entries[0].move);
    if (depth >= 5 && softLimitMs && elapsedMs() >= softLimitMs) break;
  }
  return root.entries[0].move;
}
