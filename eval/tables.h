// Evaluation tables built once at start-up: piece-square values with material
// folded in, the material-configuration table and the king-shelter table.
#pragma once

#include "board/position.h"

struct PsqValue {
  i16 mid;
  i16 end;
};

struct MaterialRecord {
  i32 value;  // added to the blended score, white's point of view
  u8 flags;   // bit 0: score the white king's shelter; bit 1: the black king's
  u8 phase;   // 0 with all pieces on, 24 with kings and pawns only
};

// Material by kind (pawn, knight, bishop, rook, queen); index 0 and the king weigh nothing.
extern const i16 pieceValue[7];

// Black rows hold the negated, rank-mirrored white values.
extern PsqValue psqTable[13][64];

// One record per digit combination of materialIndex.
constexpr u32 MATERIAL_TABLE_SIZE = 2 * 2 * 729 * 9 * 9;  // 236196
extern MaterialRecord materialTable[MATERIAL_TABLE_SIZE];

// Shelter penalty by a 12-bit pattern of own pawns in the three files before the king.
extern u16 shelterTable[4096];

// Builds psqTable, then materialTable, then shelterTable.
void initEvalTables();

// Positions set up with more pieces than the initial set can push the index
// past the table; they read the full-material record instead.
inline const MaterialRecord &materialRecordFor(u32 index) {
  return materialTable[index < MATERIAL_TABLE_SIZE ? index : MATERIAL_TABLE_SIZE - 1];
}
