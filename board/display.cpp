#include "board/display.h"

#include <cstdio>

#include "board/attacks.h"
#include "board/position.h"
#include "frontend/log.h"

namespace {
void error(const char *kind, const char *what) {
  std::printf("\nERROR: %s %s\n\n", kind, what);
  std::fflush(stdout);
}

void occupancyMessage(const char *message) {
  std::printf("\n%s\n\n", message);
  std::fflush(stdout);
}
}  // namespace

void checkSquare(int s) {
  const u64 bit = squareBit[s];
  const u8 piece = board[s];
  for (int code = 1; code <= 12; ++code) {
    if (piece == code && !(pieceBB[code] & bit)) error(pieceKindNames[code], "reset");
    if (piece != code && (pieceBB[code] & bit)) error(pieceKindNames[code], "set");
  }
  const bool white = WhitePieces & bit, black = BlackPieces & bit;
  if (piece == NO_PIECE) {
    if (white) occupancyMessage("WhitePieces set");
    if (black) occupancyMessage("BlackPieces set");
  } else if (!isBlackPiece(piece)) {
    if (!white) occupancyMessage("WhitePieces reset");
    if (black) occupancyMessage("BlackPieces set");
  } else {
    if (white) occupancyMessage("WhitePieces set");
    if (!black) occupancyMessage("BlackPieces reset");
  }
}

void printBoard() {
  reply("\n");
  for (int s = 0; s < 64; ++s) {
    reply("%c", pieceLetters[board[s]]);
    if (squareFile(s) == 7) reply("\n");
    checkSquare(s);
  }
  reply("%s to move\n\n", whiteToMove ? "white" : "black");
}
