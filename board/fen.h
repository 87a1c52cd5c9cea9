// Setting the one global position from FEN text.
#pragma once

#include "board/position.h"

// Replaces the position with the one the text describes and starts a new state
// stack. Fields may be separated by several spaces; missing fields mean white to
// move, no castling and no en-passant square, and placement squares not covered
// stay empty. A text that does not give exactly one king per side, puts a pawn on
// the first or last rank or leaves the side not to move in check is refused:
// the result is false and the previous position, history included, stays set.
// Castling rights without their king and rook at home, and an en-passant square
// without the pawn that just passed it, are dropped.
bool setPositionFromFen(const char *text);

// Puts a piece on an empty square and updates every incremental term of the
// current record.
void addPiece(int square, int piece);
