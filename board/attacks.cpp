#include "board/attacks.h"

#include <array>

namespace {

constexpr u64 ALL_SQUARES = ~0ULL;

// Squares from which one more step in the given direction stays on the board.
constexpr u64 edgeFor(int step) {
  switch (step) {
    case -8: return 0xFFFFFFFFFFFFFF00ULL;
    case +8: return 0x00FFFFFFFFFFFFFFULL;
    case -1: return 0xFEFEFEFEFEFEFEFEULL;
    case +1: return 0x7F7F7F7F7F7F7F7FULL;
    case -9: return 0xFEFEFEFEFEFEFE00ULL;
    case -7: return 0x7F7F7F7F7F7F7F00ULL;
    case +7: return 0x00FEFEFEFEFEFEFEULL;
    default: return 0x007F7F7F7F7F7F7FULL;  // +9
  }
}

// Squares reached from s by repeated steps, stopping after the first blocker.
// The edge set can be narrowed by the caller (masks stop before the board edge).
constexpr u64 slideRay(int s, int step, u64 blockers, u64 edge) {
  u64 result = 0;
  u64 at = u64(1) << s;
  while (at & edge) {
    at = step > 0 ? at << step : at >> -step;
    result |= at;
    if (at & blockers) break;
  }
  return result;
}

constexpr u64 ray(int s, int step, u64 blockers) { return slideRay(s, step, blockers, edgeFor(step)); }

constexpr int DIAGONAL_STEPS[4] = {-9, -7, 7, 9};
constexpr int STRAIGHT_STEPS[4] = {8, -8, 1, -1};

// A slider's relevant occupancy: its rays without the last square of each.
constexpr u64 relevantMask(int s, const int (&steps)[4]) {
  u64 mask = 0;
  for (int step : steps) {
    u64 edge = edgeFor(step);
    mask |= slideRay(s, step, 0, edge & (step > 0 ? edge >> step : edge << -step));
  }
  return mask;
}

template <const int (&STEPS)[4]>
constexpr std::array<u64, 64> masksOf() {
  std::array<u64, 64> table{};
  for (int s = 0; s < 64; ++s) table[s] = relevantMask(s, STEPS);
  return table;
}


constexpr std::array<u8, 64> bitCounts(const std::array<u64, 64> &masks) {
  std::array<u8, 64> table{};
  for (int s = 0; s < 64; ++s) table[s] = u8(__builtin_popcountll(masks[s]));
  return table;
}


constexpr u64 slideAll(int s, const int (&steps)[4], u64 occ) {
  u64 attacks = 0;
  for (int step : steps) attacks |= ray(s, step, occ);
  return attacks;
}

// The subset of mask selected by the bits of index, lowest mask square first.
u64 occupancySubset(u32 index, u64 mask) {
  u64 occ = 0;
  for (int j = 0; mask; ++j, mask &= mask - 1)
    if (index & (1u << j)) occ |= mask & (0 - mask);
  return occ;
}

int distance(int a, int b, int (*coordinate)(int)) {
  int d = coordinate(a) - coordinate(b);
  return d < 0 ? -d : d;
}

// Direction from a toward b when they share a line, 0 otherwise; tested as
// rank, file, then the two diagonals.
int lineStep(int a, int b) {
  int dr = squareRow(b) - squareRow(a), df = squareFile(b) - squareFile(a);
  if (dr == 0) return df > 0 ? 1 : -1;
  if (df == 0) return dr > 0 ? 8 : -8;
  if (df == dr) return dr > 0 ? 9 : -9;
  if (df == -dr) return dr > 0 ? 7 : -7;
  return 0;
}

void initLineMasks(int a) {
  for (int b = 0; b < 64; ++b) {
    if (b == a) continue;
    int step = lineStep(a, b);
    if (step == 0) {
      interposeMask[a][b] = squareBit[b];
      kingShadowMask[a][b] = ALL_SQUARES;
      continue;
    }
    interposeMask[a][b] = slideRay(a, step, squareBit[b], ALL_SQUARES);
    beyondMask[a][b] = ray(b, step, 0);
    // The square behind the king, seen from the checker, stays attacked.
    u64 behind = (squareBit[a] & edgeFor(-step)) ? ray(a, -step, ALL_SQUARES) : 0;
    kingShadowMask[a][b] = ~behind;
  }
}

void initPawnMasks(int a) {
  frontSpanWhite[a] = ray(a, -8, 0);
  frontSpanBlack[a] = ray(a, +8, 0);
  passedMaskWhite[a] = frontSpanWhite[a];
  passedMaskBlack[a] = frontSpanBlack[a];
  adjacentFilesMask[a] = 0;
  if (squareFile(a) > 0) {
    passedMaskWhite[a] |= ray(a - 1, -8, 0);
    passedMaskBlack[a] |= ray(a - 1, +8, 0);
    adjacentFilesMask[a] |= fileMask[squareFile(a) - 1];
  }
  if (squareFile(a) < 7) {
    passedMaskWhite[a] |= ray(a + 1, -8, 0);
    passedMaskBlack[a] |= ray(a + 1, +8, 0);
    adjacentFilesMask[a] |= fileMask[squareFile(a) + 1];
  }
  pawnAttacksWhite[a] = 0;
  pawnAttacksBlack[a] = 0;
  if (a >= 16) {
    if (squareFile(a) > 0) pawnAttacksWhite[a] |= squareBit[a - 9];
    if (squareFile(a) < 7) pawnAttacksWhite[a] |= squareBit[a - 7];
  }
  if (a < 48) {
    if (squareFile(a) > 0) pawnAttacksBlack[a] |= squareBit[a + 7];
    if (squareFile(a) < 7) pawnAttacksBlack[a] |= squareBit[a + 9];
  }
}

void initLeapers(int a) {
  static constexpr int KNIGHT_STEPS[8] = {-17, -15, -10, -6, 6, 10, 15, 17};
  static constexpr int KING_STEPS[8] = {-9, -8, -7, -1, 1, 7, 8, 9};
  knightAttacks[a] = 0;
  kingAttacks[a] = 0;
  for (int step : KNIGHT_STEPS) {
    int t = a + step;
    if (t < 0 || t > 63) continue;
    int df = distance(a, t, squareFile), dr = distance(a, t, squareRow);
    if ((df == 1 && dr == 2) || (df == 2 && dr == 1)) knightAttacks[a] |= squareBit[t];
  }
  for (int step : KING_STEPS) {
    int t = a + step;
    if (t >= 0 && t <= 63 && distance(a, t, squareFile) <= 1) kingAttacks[a] |= squareBit[t];
  }
}

// Fills the square's slice of the table, which starts at `slice`, and its entry.
void initSliderSlice(int a, const int (&steps)[4], u64 mask, u8 bits, u64 magic, u64 *slice, MagicEntry &entry) {
  entry = {mask, magic, slice, u32(64 - bits)};
  for (u32 i = 0; i < (1u << bits); ++i) {
    u64 occ = occupancySubset(i, mask);
    slice[(occ * magic) >> entry.shift] = slideAll(a, steps, occ);
  }
}

}  // namespace

const u64 fileMask[8] = {
    0x0101010101010101ULL, 0x0202020202020202ULL, 0x0404040404040404ULL, 0x0808080808080808ULL,
    0x1010101010101010ULL, 0x2020202020202020ULL, 0x4040404040404040ULL, 0x8080808080808080ULL,
};

const std::array<u64, 64> bishopMask = masksOf<DIAGONAL_STEPS>();
const std::array<u64, 64> rookMask = masksOf<STRAIGHT_STEPS>();

template <const int (&STEPS)[4]>
constexpr std::array<u64, 64> linesOf() {
  std::array<u64, 64> table{};
  for (int s = 0; s < 64; ++s) table[s] = slideAll(s, STEPS, 0);
  return table;
}

const std::array<u64, 64> bishopLines = linesOf<DIAGONAL_STEPS>();
const std::array<u64, 64> rookLines = linesOf<STRAIGHT_STEPS>();
const std::array<u8, 64> bishopBits = bitCounts(bishopMask);
const std::array<u8, 64> rookBits = bitCounts(rookMask);

// Multipliers found by random search for the minimal shifts (64 minus the mask size).
const u64 bishopMagic[64] = {
    0x0410101000802040, 0x000404A800410812, 0x0004040400401400, 0x0204250200011222,
    0x0004242000100100, 0x8408480804000010, 0x0200861042202042, 0x0001050800840400,
    0x06000420440C20A0, 0x10000810011A10A1, 0x0404104091810184, 0x0001041042020104,
    0x010C120211120040, 0x00008208040D0180, 0x00040181A8084100, 0xB040010108020320,
    0x0120020420020A10, 0x0830001802080148, 0x1820810408048008, 0x002C040840322000,
    0x2202004402A21400, 0x2002002109100200, 0x101A010848040480, 0x2405030200520261,
    0x1408209014241000, 0x402804101A300200, 0x00480C0008182221, 0x0004014024010002,
    0x4019001083004006, 0x8828102082100400, 0x8008410042010504, 0x0044019002C14410,
    0x8002101004042000, 0x00A4022010082102, 0x8020288800100460, 0x1000040400180120,
    0x0001020A00040050, 0x20020083004201C0, 0x0001610401121A00, 0x008802831C08A100,
    0x1202104220022800, 0x0400440621040800, 0x0001182804080801, 0x0000004012011044,
    0x8400900200820812, 0x8201A10501008200, 0x2804100A22010050, 0x0110440440810440,
    0x0800421010280000, 0x0001004510094500, 0xB800844A22900042, 0x8000041020884001,
    0x00204090020A0400, 0x0440301408082000, 0x0004180204040008, 0x20600200F2008240,
    0x0000240100D01000, 0x02002100421A2080, 0x820C00010088B008, 0x8010000C20840408,
    0x122300242B102400, 0x0080002008100120, 0x0000200421020404, 0x0040080100420440,
};

const u64 rookMagic[64] = {
    0x0080002882104000, 0x004000A006500140, 0x048020000A801001, 0x00800C8110000800,
    0x9280221400480080, 0x02000C1013582200, 0x2200040082000801, 0x0080004031000880,
    0x890A800120814008, 0x0A02400020085000, 0x0040801000200282, 0x1200802800100381,
    0x0801001300080034, 0x0002001810020014, 0x0004000218070C90, 0x0250800080005100,
    0x3003228000400088, 0x2100610040008100, 0x2002020020401080, 0x000C808008031002,
    0x0008010008043100, 0x0802008004008002, 0x1000808006004900, 0x02028A0004014981,
    0x00044000800480A5, 0x6080400100208100, 0x0008600180100082, 0x1000402200120008,
    0x8032006200101884, 0x0002040801402010, 0xC0C0011400181012, 0x405000820001C114,
    0x1040002040800080, 0x3010C02000401002, 0x0000100880802000, 0x000012000A002040,
    0x0101140080800800, 0x0040800400800200, 0x080D823004008801, 0x008C9102C2002484,
    0x0108812440008000, 0x2020008040008020, 0x4041002000710042, 0x1010001008008080,
    0x100400080080802C, 0x8022004410060009, 0x02092D02500C0088, 0x0002440844820003,
    0x8180006001400240, 0xA210004002200040, 0x0020604202188200, 0x80480030011A8180,
    0x08001C0082480080, 0x4008020080140080, 0x5001008402002100, 0xC200004904208200,
    0x00008000C1001021, 0x0000408410210202, 0x40184820001100C3, 0x2800490160041001,
    0x0082000430200802, 0x4406008804100122, 0x2C01001400820041, 0x0000010824004082,
};

MagicEntry bishopMagics[64];
MagicEntry rookMagics[64];
u64 squareBit[64];
u64 bishopAttackTable[5248];
u64 rookAttackTable[102400];
u64 knightAttacks[64];
u64 kingAttacks[64];
u64 pawnAttacksWhite[64];
u64 pawnAttacksBlack[64];
u64 frontSpanWhite[64];
u64 frontSpanBlack[64];
u64 passedMaskWhite[64];
u64 passedMaskBlack[64];
u64 adjacentFilesMask[64];
u64 interposeMask[64][64];
u64 beyondMask[64][64];
u64 kingShadowMask[64][64];
u64 emptyBoardAttacks[13][64];

void initAttackTables() {
  for (int s = 0; s < 64; ++s) squareBit[s] = u64(1) << s;
  u32 bishopSum = 0, rookSum = 0;  // where the next square's slice starts
  for (int a = 0; a < 64; ++a) {
    initLineMasks(a);
    initPawnMasks(a);
    initLeapers(a);
    initSliderSlice(a, DIAGONAL_STEPS, bishopMask[a], bishopBits[a], bishopMagic[a], bishopAttackTable + bishopSum,
                    bishopMagics[a]);
    initSliderSlice(a, STRAIGHT_STEPS, rookMask[a], rookBits[a], rookMagic[a], rookAttackTable + rookSum,
                    rookMagics[a]);
    bishopSum += 1u << bishopBits[a];
    rookSum += 1u << rookBits[a];
  }
  for (int a = 0; a < 64; ++a) {
    const u64 bit = squareBit[a];
    // Pawns toward their last rank, wherever they stand.
    const u64 whitePawn = ((bit & ~fileMask[0]) >> 9) | ((bit & ~fileMask[7]) >> 7);
    const u64 blackPawn = ((bit & ~fileMask[0]) << 7) | ((bit & ~fileMask[7]) << 9);
    const u64 byKind[7] = {0, whitePawn, knightAttacks[a], bishopLines[a], rookLines[a], bishopLines[a] | rookLines[a],
                           kingAttacks[a]};
    for (int kind = 1; kind <= 6; ++kind) emptyBoardAttacks[kind][a] = emptyBoardAttacks[kind + 6][a] = byKind[kind];
    emptyBoardAttacks[BLACK_PAWN][a] = blackPawn;
  }
}
