// Coordinate notation: e2e4, e7e8q, e1g1 (castling as the king's move).
#pragma once

#include "board/position.h"

// Writes the text of m into out (room for 6 characters), zero-terminated.
void moveToText(Move m, char *out);

// The generated move of the current position whose text equals `text`
// exactly, or NoMove. The move may still leave the own king attacked.
Move textToMove(const char *text);

// Diagnostic form to standard output and the log: the promotion letter keeps
// its colour's case (e7e8Q, d2d1q); no line end.
void printMove(Move m);
