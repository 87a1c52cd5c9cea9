// Playing and taking back moves on the global position. Make settles legality:
// a move that leaves the mover's king attacked is refused and changes nothing.
#pragma once

#include "board/position.h"

// 1 = made; 0 = refused (own king left attacked, or the state stack is full).
bool makeMove(Move m);
bool makeWhiteMove(Move m);
bool makeBlackMove(Move m);

// Takes back the move last made, which must be passed again.
void unmakeMove(Move m);
void unmakeWhiteMove(Move m);
void unmakeBlackMove(Move m);

// Passes the turn without a board change; false when the state stack is full.
bool makeNullMove();
void unmakeNullMove();
