// Test helpers that look at the position independently of the engine's own
// incremental code: recomputation from the board, FEN output, a plain mailbox
// move generator, and snapshots for bit-exact comparison.
#pragma once

#include <string>
#include <vector>

#include "board/position.h"

// The terms a record must hold for the current board, computed from scratch.
struct DerivedTerms {
  u64 hashKey, pawnKey;
  i32 psqMid, psqEnd;
  u32 materialIndex;
  bool operator==(const DerivedTerms &) const = default;
};
DerivedTerms recomputeTerms();
DerivedTerms recordedTerms();

// The current position as FEN (placement, side, castling, en passant).
std::string positionFen();

// The colour-flipped mirror image of a FEN (placement, side, castling, en passant).
std::string mirrorFen(const std::string &fen);

// Is square q attacked by the given colour, by walking rays on `board`.
bool referenceAttacked(int q, bool byWhite);

// Pseudo-legal moves of the side to move, encoded as the engine encodes them;
// castling only with the right, an empty path and no attacked king square.
std::vector<Move> referenceMoves();

// Legal moves: the reference moves whose result leaves the mover's king safe.
std::vector<Move> referenceLegalMoves();

// Everything make and unmake must restore.
struct Snapshot {
  u8 board[64];
  u64 pieceBB[13];
  u64 whitePieces, blackPieces;
  u8 whiteToMove;
  const StateRecord *top;
  u64 nodeCount;
  bool operator==(const Snapshot &) const = default;
};
Snapshot takeSnapshot();

// Sets a position that the test requires to be accepted.
void setFen(const char *fen);
