// Whether a stored move (from the transposition table or a killer slot) is one
// the generators could produce in the current position, without generating.
// Like the generators it does not ask whether the own king is left attacked.
#pragma once

#include "board/position.h"

bool isMoveValidWhite(Move m);
bool isMoveValidBlack(Move m);
bool isMoveValid(Move m);
