#include "board/zobrist.h"

#include "search/tt.h"

u64 zobristPiece[13][64];
u64 zobristEp[64];
u64 zobristCastle[16];
u64 zobristSide;

namespace {
u32 generatorState = 1;

u32 nextDraw() {
  generatorState = generatorState * 214013u + 2531011u;
  return (generatorState >> 16) & 0x7FFF;
}
}  // namespace

u64 randomKey() {
  u64 key = 0;
  for (int i = 0; i < 64; ++i) key = key * 2 + (nextDraw() & 1);
  return key;
}

void initHashKeys() {
  allocateTranspositionTable();
  for (auto &keys : zobristPiece)
    for (u64 &key : keys) key = randomKey();
  for (int f = 0; f < 8; ++f) {
    zobristEp[16 + f] = randomKey();
    zobristEp[40 + f] = randomKey();
  }
  // All four rights together keep the key 0.
  for (int rights = 0; rights < 15; ++rights) zobristCastle[rights] = randomKey();
  zobristSide = randomKey();
}
