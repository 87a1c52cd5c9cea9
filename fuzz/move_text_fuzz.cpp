// Move text from the outside against a few positions rich in special moves.
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/make_move.h"
#include "fuzz/harness.h"
#include "movegen/move_text.h"

namespace {
// The start, castling both ways, en passant, promotions with captures.
const char *const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  initFuzzEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the position, the rest is the text.
  const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
  if (!setPositionFromFen(POSITIONS[data[0] % std::size(POSITIONS)])) std::abort();
  const Move m = textToMove(text.c_str());
  if (isNoMove(m)) return 0;
  char back[6];
  moveToText(m, back);
  if (std::strcmp(text.c_str(), back) != 0) std::abort();  // only a move's own text finds it
  if (makeMove(m)) unmakeMove(m);
  return 0;
}
