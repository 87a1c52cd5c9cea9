#include "search/tt.h"

#include <cstdlib>

u32 ttMask = 0x7FFFFF;
TTEntry *transpositionTable;

u32 ttMaskForMegabytes(u32 megabytes) {
  u64 entries = (u64(megabytes) << 20) / sizeof(TTEntry);
  u64 count = 1;
  while (count * 2 <= entries) count *= 2;
  return u32(count - 1);
}

void allocateTranspositionTable() {
  // calloc hands out zeroed pages lazily, so a large table costs nothing at start.
  transpositionTable = static_cast<TTEntry *>(std::calloc(u64(ttMask) + 1, sizeof(TTEntry)));
  if (!transpositionTable) std::exit(1);
}
