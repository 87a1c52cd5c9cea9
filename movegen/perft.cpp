#include "movegen/perft.h"

#include <cinttypes>
#include <cstdio>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/make_move.h"
#include "board/zobrist.h"
#include "movegen/generate.h"
#include "search/control.h"

u64 perftNodes;

namespace {
struct PerftCase {
  const char *fen;
  int depth;
};

constexpr PerftCase PERFT_CASES[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 6},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 5},
    {"8/PPP4k/8/8/8/8/4Kppp/8 w - -", 6},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 7},
};
}  // namespace

void perftCount(int depth) {
  MoveList list;
  generateAll(list);
  for (const MoveEntry *entry = list.entries; entry != list.writeCursor; ++entry) {
    const Move m = entry->move;
    if (!makeMove(m)) continue;
    if (depth == 1)
      ++perftNodes;
    else
      perftCount(depth - 1);
    unmakeMove(m);
  }
}

void perftReport(int depth) {
  perftNodes = 0;
  startSearchClock();
  perftCount(depth);
  const u32 elapsed = elapsedMs();
  std::printf("depth = %d, nodes = %10" PRIu64 ", time = %8.2f", depth, perftNodes, elapsed / 1000.0);
  // 64-bit, so that a count far faster than any machine still prints sanely.
  if (elapsed != 0) std::printf("\t%" PRId64 " kN / s", i64(perftNodes * 1000.0 / elapsed) / 1000);
  std::printf("\n");
  std::fflush(stdout);
}

void flipPosition() {
  for (int s = 0; s < 32; ++s) {
    const u8 piece = board[s];
    board[s] = board[mirrorSquare[s]];
    board[mirrorSquare[s]] = piece;
  }
  for (int piece = 1; piece <= 12; ++piece) pieceBB[piece] = 0;
  WhitePieces = BlackPieces = 0;
  u32 material = 0;
  for (int s = 0; s < 64; ++s) {
    if (!board[s]) continue;
    const u8 piece = u8(isBlackPiece(board[s]) ? board[s] - 6 : board[s] + 6);
    board[s] = piece;
    pieceBB[piece] |= squareBit[s];
    (isBlackPiece(piece) ? BlackPieces : WhitePieces) |= squareBit[s];
    material += materialWeight[piece];
  }
  whiteToMove ^= 1;
  StateRecord &record = *stateTop;
  record.castleRights = u8(((record.castleRights & 12) >> 2) | ((record.castleRights & 3) << 2));
  // The piece-square table is colour-symmetric.
  record.psqMid = -record.psqMid;
  record.psqEnd = -record.psqEnd;
  record.materialIndex = material;
}

void recomputeKeys() {
  u64 hash = 0, pawnHash = 0;
  for (int s = 0; s < 64; ++s) {
    const u8 piece = board[s];
    if (!piece) continue;
    hash ^= zobristPiece[piece][s];
    if (piece == WHITE_PAWN || piece == BLACK_PAWN) pawnHash ^= zobristPiece[piece][s];
  }
  hash ^= zobristCastle[stateTop->castleRights] ^ zobristEp[stateTop->epSquare];
  if (whiteToMove) hash ^= zobristSide;
  stateTop->hashKey = hash;
  stateTop->pawnKey = pawnHash;
}

void perftCommand() {
  for (const PerftCase &c : PERFT_CASES) {
    setPositionFromFen(c.fen);
    perftReport(c.depth);
    flipPosition();
    recomputeKeys();
    perftReport(c.depth);
    std::printf("--------------------------------------------------\n");
    std::fflush(stdout);
  }
}
