// The UCI protocol loop.
#pragma once

// Reads commands until "quit" or the end of input.
void runUci();

// The moves a game may hold: "position" plays no moves beyond this, so the
// deepest search still fits on the state stack.
constexpr int MAX_GAME_MOVES = 1023;
