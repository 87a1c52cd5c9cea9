// The search: iterative deepening at the root, the main alpha-beta search,
// the search of positions in check and the quiescence search.
#pragma once

#include "board/position.h"

// Deepest ply any node reaches; deeper lines take the static score, so the
// ply byte, the state stack and the killer slots are never outrun.
constexpr u8 MAX_PLY = 250;

// Sets searchStartTicks and the hard and soft limits from the clock inputs.
void allocateTimeLimits();

// Searches the current position within the limits and returns the move to
// play, or NoMove when the side to move has no legal move.
Move think();

// Negamax node searches; scores for the side to move, 0 once stopSearch is set.
i16 search(u8 depth, u8 ply, i16 alpha, i16 beta, u8 pv);
i16 searchInCheck(u8 depth, u8 ply, i16 alpha, i16 beta, u8 pv);
i16 quiesce(u8 ply, i16 alpha, i16 beta);

// Whether the position just reached repeats one with the same side to move,
// looking back only through reversible moves.
bool isRepetition();
