// A FEN text, then everything the engine does with a position it accepted:
// generation, make and unmake, move text, evaluation and a one-ply search.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// Every generated move made and taken back; the legal ones also by their
// text. Returns the legal ones.
std::vector<Move> playEveryMove() {
  MoveList list;
  generateAll(list);
  const Fingerprint before = fingerprint();
  std::vector<Move> legal;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
    if (!makeMove(e->move)) {
      check(fingerprint() == before);
      continue;
    }
    legal.push_back(Move(e->move));  // a copy: the packed field is not aligned
    evaluate();
    unmakeMove(e->move);
    check(fingerprint() == before);
    char text[6];
    moveToText(e->move, text);
    check(textToMove(text) == e->move);
  }
  std::sort(legal.begin(), legal.end());
  return legal;
}

// The legal evasions: the legal moves, but promotions to a queen only.
void checkEvasions(std::vector<Move> legal) {
  std::erase_if(legal, [](Move m) {
    const u8 promotion = moveFlags(m) & PromotionMask;
    return promotion && promotion != WHITE_QUEEN && promotion != BLACK_QUEEN;
  });
  MoveList list;
  list.clear();
  whiteToMove ? generateEvasionsWhite(list) : generateEvasionsBlack(list);
  std::vector<Move> evasions;
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e)
    if (makeMove(e->move)) evasions.push_back(Move(e->move)), unmakeMove(e->move);
  std::sort(evasions.begin(), evasions.end());
  check(evasions == legal);
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
  const std::vector<Move> legal = playEveryMove();
  if (sideInCheck()) checkEvasions(legal);
  evaluate();
  remainingMs = incrementMs = movesToGo = moveTimeMs = 0;
  maxDepth = 1;
  const Move best = think();
  check(isNoMove(best) == legal.empty());
  return 0;
}
