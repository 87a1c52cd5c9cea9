#include "eval/evaluate.h"

#include <algorithm>
#include <array>

#include "board/attacks.h"
#include "board/side.h"
#include "eval/tables.h"

namespace {

constexpr int BISHOP_MOBILITY = 3;
constexpr int BISHOP_PAIR = 42;
constexpr int ROOK_OPEN_MID = 20, ROOK_OPEN_END = 17;
constexpr int ROOK_HALF_OPEN_MID = 9, ROOK_HALF_OPEN_END = 7;
constexpr int ISOLATED_MID = -10, ISOLATED_END = -8;
constexpr int passedBonusMid[8] = {0, 4, 4, 19, 30, 51, 77, 0};
constexpr int passedBonusEnd[8] = {0, 6, 6, 19, 41, 71, 105, 0};

// An unwritten slot holds a key that can never index it, so no position,
// not even a pawnless one with key 0, takes it for a hit.
constexpr std::array<PawnHashEntry, PAWN_HASH_SIZE> unwrittenPawnHash() {
  std::array<PawnHashEntry, PAWN_HASH_SIZE> table{};
  for (u64 i = 0; i < PAWN_HASH_SIZE; ++i) table[i].key = i ^ 1;
  return table;
}

struct Score {
  i32 mid = 0, end = 0;
  void add(i32 m, i32 e) {
    mid += m;
    end += e;
  }
};

// Mobility and pair bonus of one side's bishops, from that side's view;
// POPCNT: compiled for the population-count instruction.
template <Color US, bool POPCNT>
Score bishopTerms(u64 occupied) {
  using S = Side<US>;
  Score score;
  bool first = true;
  for (u64 b = pieceBB[S::BISHOP]; b; b &= b - 1) {
    const int n = bitCount<IN_HALVES, POPCNT>(bishopAttacks(lowestBit(b), occupied) & ~S::own());
    score.add(BISHOP_MOBILITY * n, BISHOP_MOBILITY * n);
    if (!first) score.add(BISHOP_PAIR, BISHOP_PAIR);
    first = false;
  }
  return score;
}

// Every square of the files that hold a pawn of the set.
u64 pawnFileSquares(u64 pawns) {
  pawns |= pawns >> 32;
  pawns |= pawns >> 16;
  pawns |= pawns >> 8;
  return (pawns & 0xFF) * 0x0101010101010101ULL;
}

// Rooks on files without own pawns: open, or half open with enemy pawns;
// counted as sets, without a branch on each rook.
template <Color US, bool POPCNT>
Score rookTerms(u64 ownPawnFiles, u64 enemyPawnFiles) {
  const u64 rooks = pieceBB[Side<US>::ROOK] & ~ownPawnFiles;
  const int open = bitCount<IN_HALVES, POPCNT>(rooks & ~enemyPawnFiles);
  const int halfOpen = bitCount<IN_HALVES, POPCNT>(rooks & enemyPawnFiles);
  Score score;
  score.add(open * ROOK_OPEN_MID + halfOpen * ROOK_HALF_OPEN_MID, open * ROOK_OPEN_END + halfOpen * ROOK_HALF_OPEN_END);
  return score;
}

// Isolated and passed pawns of one side, from that side's view.
template <Color US>
Score pawnTerms() {
  using S = Side<US>;
  const u64 own = pieceBB[S::PAWN], enemy = pieceBB[S::ENEMY_PAWN];
  const u64 *passedMask = US == WHITE ? passedMaskWhite : passedMaskBlack;
  const u64 *frontSpan = US == WHITE ? frontSpanWhite : frontSpanBlack;
  Score score;
  for (u64 b = own; b; b &= b - 1) {
    const int s = lowestBit(b);
    if (!(adjacentFilesMask[s] & own)) score.add(ISOLATED_MID, ISOLATED_END);
    if (!(passedMask[s] & enemy) && !(frontSpan[s] & own)) {
      const int rank = US == WHITE ? 7 - squareRow(s) : squareRow(s);
      score.add(passedBonusMid[rank], passedBonusEnd[rank]);
    }
  }
  return score;
}

// The 12-bit shelter pattern of three files from `firstFile`, own second rank first.
template <Color US>
int shelterPattern(int firstFile) {
  const u64 pawns = pieceBB[Side<US>::PAWN];
  int pattern = 0;
  for (int rank = 0; rank < 4; ++rank) {
    const int row = US == WHITE ? 6 - rank : 1 + rank;
    pattern |= int((pawns >> (row * 8 + firstFile)) & 7) << (3 * rank);
  }
  return pattern;
}

template <Color US>
void fillShelter(PawnHashEntry &entry) {
  const int base = US == WHITE ? 0 : 3;
  entry.shelter[base + 0] = shelterTable[shelterPattern<US>(5)];
  entry.shelter[base + 1] = shelterTable[shelterPattern<US>(0)];
  entry.shelter[base + 2] = shelterTable[shelterPattern<US>(3)];
}

// A king in the centre counts the average of the centre zone and the best zone
// it can still castle into.
i32 shelterPenalty(const u16 *zones, int kingSquare, bool kingSide, bool queenSide) {
  const int file = squareFile(kingSquare);
  if (file >= 5) return zones[0];
  if (file <= 2) return zones[1];
  int best = zones[2];
  if (kingSide) best = std::min(best, int(zones[0]));
  if (queenSide) best = std::min(best, int(zones[1]));
  return (zones[2] + best) / 2;
}

}  // namespace

std::array<PawnHashEntry, PAWN_HASH_SIZE> pawnHashTable = unwrittenPawnHash();

const PawnHashEntry &probePawnHash() {
  const u64 key = stateTop->pawnKey;
  PawnHashEntry &entry = pawnHashTable[key & (PAWN_HASH_SIZE - 1)];
  if (entry.key == key) return entry;
  const Score white = pawnTerms<WHITE>(), black = pawnTerms<BLACK>();
  entry.key = key;
  entry.pawnMid = i16(white.mid - black.mid);
  entry.pawnEnd = i16(white.end - black.end);
  fillShelter<WHITE>(entry);
  fillShelter<BLACK>(entry);
  return entry;
}

i32 whiteShelterPenalty(const PawnHashEntry &entry, int kingSquare, u8 castleRights) {
  return shelterPenalty(entry.shelter, kingSquare, castleRights & WHITE_KING_SIDE, castleRights & WHITE_QUEEN_SIDE);
}

i32 blackShelterPenalty(const PawnHashEntry &entry, int kingSquare, u8 castleRights) {
  return shelterPenalty(entry.shelter + 3, kingSquare, castleRights & BLACK_KING_SIDE, castleRights & BLACK_QUEEN_SIDE);
}

namespace {

template <bool POPCNT>
i16 evaluateWith() {
  const StateRecord &state = *stateTop;
  const u64 occupied = WhitePieces | BlackPieces;
  i32 mid = state.psqMid, end = state.psqEnd;

  const Score whiteBishops = bishopTerms<WHITE, POPCNT>(occupied), blackBishops = bishopTerms<BLACK, POPCNT>(occupied);
  const u64 whitePawnFiles = pawnFileSquares(WhitePawns), blackPawnFiles = pawnFileSquares(BlackPawns);
  const Score whiteRooks = rookTerms<WHITE, POPCNT>(whitePawnFiles, blackPawnFiles);
  const Score blackRooks = rookTerms<BLACK, POPCNT>(blackPawnFiles, whitePawnFiles);
  mid += whiteBishops.mid - blackBishops.mid + whiteRooks.mid - blackRooks.mid;
  end += whiteBishops.end - blackBishops.end + whiteRooks.end - blackRooks.end;

  const PawnHashEntry &pawns = probePawnHash();
  mid += pawns.pawnMid;
  end += pawns.pawnEnd;

  // A king's shelter counts only while the opponent keeps attacking material;
  // its end-game centralisation then no longer does.
  const MaterialRecord &material = materialRecordFor(state.materialIndex);
  if (material.flags & 1) {
    const int king = lowestBit(WhiteKing);
    end -= psqTable[WHITE_KING][king].end;
    mid -= whiteShelterPenalty(pawns, king, state.castleRights);
  }
  if (material.flags & 2) {
    const int king = lowestBit(BlackKing);
    end -= psqTable[BLACK_KING][king].end;
    mid += blackShelterPenalty(pawns, king, state.castleRights);
  }

  const i32 phase = material.phase;
  i32 score = ((24 - phase) * i16(mid) + phase * i16(end)) / 24 + material.value;
  return i16(score * (2 * whiteToMove - 1));  // for the side to move, without a branch
}

}  // namespace

#if defined(__x86_64__) || defined(__i386__)
namespace {
// The evaluation once more, compiled for the population-count instruction
// with everything it calls inlined; the program must still run on an x86
// CPU without the instruction, so it is chosen at run time.
__attribute__((target("popcnt"), flatten)) i16 evaluateWithPopcnt() { return evaluateWith<true>(); }

bool cpuHasPopcnt() {
  __builtin_cpu_init();  // this runs as a static initialiser
  return __builtin_cpu_supports("popcnt");
}
}  // namespace

bool hardwareBitCount = cpuHasPopcnt();
i16 evaluate() { return hardwareBitCount ? evaluateWithPopcnt() : evaluateWith<BUILT_WITH_POPCNT>(); }
#else
bool hardwareBitCount = BUILT_WITH_POPCNT;
i16 evaluate() { return evaluateWith<BUILT_WITH_POPCNT>(); }
#endif
