// A FEN text, then everything the engine does with a position it accepted:
// generation, make and unmake, move text, evaluation and a one-ply search.
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/make_move.h"
#include "eval/evaluate.h"
#include "frontend/report.h"
#include "fuzz/harness.h"
#include "movegen/attack_tests.h"
#include "movegen/generate.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/search.h"

namespace {
// What make and unmake must leave as it was.
struct Fingerprint {
  u64 hashKey, pawnKey, white, black;
  u8 side;
  bool operator==(const Fingerprint &) const = default;
};
Fingerprint fingerprint() { return {stateTop->hashKey, stateTop->pawnKey, WhitePieces, BlackPieces, whiteToMove}; }

void check(bool condition) {
  if (!condition) std::abort();
}

// Every generated move made and taken back; the legal ones also by their text.
int playEveryMove() {
  MoveList list;
  generateAll(list);
  const Fingerprint before = fingerprint();
  int legal = 0;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
    if (!makeMove(e->move)) {
      check(fingerprint() == before);
      continue;
    }
    ++legal;
    evaluate();
    unmakeMove(e->move);
    check(fingerprint() == before);
    char text[6];
    moveToText(e->move, text);
    check(textToMove(text) == e->move);
  }
  return legal;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  initFuzzEngine();
  setStandardInput(nullptr, 0);  // the search's poll finds the input ended
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  if (!setPositionFromFen(text.c_str())) return 0;
  check(!(whiteToMove ? isBlackKingAttacked() : isWhiteKingAttacked()));
  const int legal = playEveryMove();
  if (sideInCheck()) {
    MoveList evasions;
    evasions.clear();
    whiteToMove ? generateEvasionsWhite(evasions) : generateEvasionsBlack(evasions);
    int legalEvasions = 0;
    for (const MoveEntry *e = evasions.entries; e != evasions.writeCursor; ++e)
      if (makeMove(e->move)) {
        ++legalEvasions;
        unmakeMove(e->move);
      }
    check(legalEvasions == legal);
  }
  evaluate();
  remainingMs = incrementMs = movesToGo = moveTimeMs = 0;
  maxDepth = 1;
  const Move best = think();
  check(isNoMove(best) == (legal == 0));
  return 0;
}
