// Static evaluation of the current position, with a cache of pawn-structure
// and king-shelter terms keyed by the pawn key.
#pragma once

#include <array>

#include "board/position.h"

struct PawnHashEntry {
  u64 key;
  i16 pawnMid;  // pawn structure, white minus black
  i16 pawnEnd;
  // Shelter penalties: white king side (f-h), queen side (a-c), centre (d-f),
  // then the same three for black.
  u16 shelter[6];
};

constexpr int PAWN_HASH_SIZE = 2048;
extern std::array<PawnHashEntry, PAWN_HASH_SIZE> pawnHashTable;

// The current pawn structure's entry, computed and stored on a miss.
const PawnHashEntry &probePawnHash();

// Shelter penalty of a king on `kingSquare` from the entry's zones of its side.
i32 whiteShelterPenalty(const PawnHashEntry &entry, int kingSquare, u8 castleRights);
i32 blackShelterPenalty(const PawnHashEntry &entry, int kingSquare, u8 castleRights);

// The score in centipawns for the side to move.
i16 evaluate();

// Whether evaluate() counts bits with the CPU's population-count instruction:
// set at start-up when the CPU has one. Setting it to false forces the plain
// count (the tests do); both give the same scores.
extern bool hardwareBitCount;
