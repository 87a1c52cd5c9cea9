// Whether the game in the current position is over, for the xboard mode.
#pragma once

// Tests mate, stalemate, threefold repetition, the fifty-move rule and
// insufficient material, in that order; on the first that holds, writes the
// result line and returns true.
bool checkGameEnd();

bool hasNoLegalMove();
bool isCheckmate();
bool isStalemate();
bool isThreefoldRepetition();
bool isFiftyMoveDraw();
bool isInsufficientMaterial();
