// Pseudo-legal move generators. Moves may leave the mover's king attacked;
// make move rejects those. Castling paths are tested here.
#pragma once

#include "movegen/move_list.h"

// Non-captures that do not promote, castling included, scored by history
// plus one (no move scores 0).
void generateQuietWhite(MoveList &list);
void generateQuietBlack(MoveList &list);

// Captures, en-passant captures and pushes onto the last rank, promoting to a
// queen only, scored by captureScore (search/ordering.h).
void generateCapturesWhite(MoveList &list);
void generateCapturesBlack(MoveList &list);

// Every pseudo-legal move, under-promotions included.
void generateAllWhite(MoveList &list);
void generateAllBlack(MoveList &list);
// Clears the list, then fills it for the side to move.
void generateAll(MoveList &list);

// Replies to a check: king moves off attacked squares, captures of a single
// checker and interpositions. The side must be in check.
void generateEvasionsWhite(MoveList &list);
void generateEvasionsBlack(MoveList &list);
