#include "frontend/game_end.h"

#include <cstdio>

#include "board/make_move.h"
#include "board/position.h"
#include "movegen/generate.h"

bool hasNoLegalMove() {
  MoveList list;
  generateAll(list);
  for (const MoveEntry *e = list.entries; e != list.writeCursor; ++e) {
    const Move m = e->move;
    if (makeMove(m)) {
      unmakeMove(m);
      return false;
    }
  }
  return true;
}

bool isCheckmate() { return stateTop->inCheck && hasNoLegalMove(); }

bool isStalemate() { return !stateTop->inCheck && hasNoLegalMove(); }

bool isThreefoldRepetition() {
  const StateRecord *t = stateTop;
  if (t - stateStack < 4) return false;
  for (int back = 0; back < 4; ++back)
    if (!t[-back].reversible) return false;
  int count = 1;
  for (const StateRecord *r = t - 4; r >= stateStack; r -= 2) {
    if (!r->reversible) break;
    if (r->hashKey == t->hashKey) ++count;
    if (r > stateStack && !r[-1].reversible) break;
  }
  return count >= 3;
}

bool isFiftyMoveDraw() {
  if (stateTop - stateStack < 100) return false;
  int count = 0;
  for (const StateRecord *r = stateTop; r > stateStack && r->reversible && count < 100; --r) ++count;
  return count >= 100;
}

bool isInsufficientMaterial() {
  if (WhitePawns | BlackPawns | WhiteRooks | BlackRooks | WhiteQueens | BlackQueens) return false;
  const int pieces = bitCount(WhitePieces | BlackPieces);
  if (pieces < 4) return true;
  if (pieces > 4 || !WhiteBishops || !BlackBishops) return false;
  auto colour = [](u64 b) {
    const int s = lowestBit(b);
    return (squareFile(s) + squareRow(s)) % 2;
  };
  return colour(WhiteBishops) == colour(BlackBishops);
}

bool checkGameEnd() {
  const char *result = nullptr;
  if (isCheckmate())
    result = whiteToMove ? "0-1 {mate}" : "1-0 {mate}";
  else if (isStalemate())
    result = "1/2-1/2 {stalemate}";
  else if (isThreefoldRepetition())
    result = "1/2-1/2 {repetition}";
  else if (isFiftyMoveDraw())
    result = "1/2-1/2 {50 moves}";
  else if (isInsufficientMaterial())
    result = "1/2-1/2 {insufficient material}";
  if (!result) return false;
  std::printf("%s\n", result);
  std::fflush(stdout);
  return true;
}
