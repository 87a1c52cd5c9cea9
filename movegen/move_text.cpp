#include "movegen/move_text.h"

#include <cstring>

#include "frontend/log.h"
#include "movegen/generate.h"

void moveToText(Move m, char *out) {
  const int from = moveFrom(m), to = moveTo(m), promotion = moveFlags(m) & PromotionMask;
  out[0] = char('a' + squareFile(from));
  out[1] = char('8' - squareRow(from));
  out[2] = char('a' + squareFile(to));
  out[3] = char('8' - squareRow(to));
  // Promotion letters are lower case for both colours.
  out[4] = promotion ? char(pieceLetters[promotion] | 0x20) : '\0';
  out[5] = '\0';
}

Move textToMove(const char *text) {
  MoveList list;
  generateAll(list);
  char candidate[6];
  for (const MoveEntry *entry = list.entries; entry != list.writeCursor; ++entry) {
    const Move m = entry->move;
    moveToText(m, candidate);
    if (std::strcmp(candidate, text) == 0) return m;
  }
  return NoMove;
}

void printMove(Move m) {
  char text[6];
  moveToText(m, text);
  if (text[4]) text[4] = pieceLetters[moveFlags(m) & PromotionMask];
  reply("%s", text);
}
