#include "eval/tables.h"

const i16 pieceValue[7] = {0, 88, 324, 319, 544, 1010, 0};

PsqValue psqTable[13][64];
MaterialRecord materialTable[MATERIAL_TABLE_SIZE];
u16 shelterTable[4096];

namespace {

constexpr int PAWN_FILE[8] = {-3, -1, 0, 1, 1, 0, -1, -3};
constexpr int KNIGHT_CENTRE[8] = {-4, -2, 0, 1, 1, 0, -2, -4};
constexpr int KNIGHT_RANK[8] = {-2, -1, 0, 1, 2, 3, 2, 1};
constexpr int BISHOP_CENTRE[8] = {-3, -1, 0, 1, 1, 0, -1, -3};
constexpr int ROOK_FILE[8] = {-2, -1, 0, 1, 1, 0, -1, -2};
constexpr int QUEEN_CENTRE[8] = {-3, -1, 0, 1, 1, 0, -1, -3};
constexpr int KING_MID_FILE[8] = {3, 4, 2, 0, 0, 2, 4, 3};
constexpr int KING_END_CENTRE[8] = {-3, -1, 0, 1, 1, 0, -1, -3};

void set(int piece, int s, int mid, int end) { psqTable[piece][s] = {i16(mid), i16(end)}; }
void addMid(int piece, int s, int delta) { psqTable[piece][s].mid = i16(psqTable[piece][s].mid + delta); }

void initPsqTable() {
  for (int s = 0; s < 64; ++s) {
    int file = squareFile(s), rank = 7 - squareRow(s);
    int knight = KNIGHT_CENTRE[file] + KNIGHT_CENTRE[rank];
    int bishop = 3 * (BISHOP_CENTRE[file] + BISHOP_CENTRE[rank]);
    int queen = 2 * (QUEEN_CENTRE[file] + QUEEN_CENTRE[rank]);
    set(WHITE_PAWN, s, 5 * PAWN_FILE[file], -PAWN_FILE[file]);
    set(WHITE_KNIGHT, s, 9 * knight + 5 * KNIGHT_RANK[rank], 6 * knight + 4 * KNIGHT_RANK[rank]);
    set(WHITE_BISHOP, s, bishop, bishop);
    set(WHITE_ROOK, s, 2 * ROOK_FILE[file], 0);
    set(WHITE_QUEEN, s, queen, queen);
    set(WHITE_KING, s, 12 * KING_MID_FILE[file], 7 * (KING_END_CENTRE[file] + KING_END_CENTRE[rank]));
  }

  for (int s : {D5, E5}) addMid(WHITE_PAWN, s, 4);
  for (int s : {D4, E4}) addMid(WHITE_PAWN, s, 2);
  for (int s : {A8, H8}) addMid(WHITE_KNIGHT, s, -114);
  for (int s : {A8, B7, C6, D5, E4, F3, G2, H8, G7, F6, E5, D4, C3, B2}) addMid(WHITE_BISHOP, s, 7);
  for (int s : {B1, C1, D1, E1, F1, G1}) addMid(WHITE_BISHOP, s, -11);
  for (int s : {A1, H1}) addMid(WHITE_BISHOP, s, -4);
  for (int s : {H8, G7, F6, E5, D4, C3, B2, A1}) psqTable[WHITE_BISHOP][s].end += 2;
  for (int s = A1; s <= H1; ++s) addMid(WHITE_QUEEN, s, -5);

  for (int piece = WHITE_PAWN; piece <= WHITE_QUEEN; ++piece)
    for (int s = 0; s < 64; ++s) {
      psqTable[piece][s].mid = i16(psqTable[piece][s].mid + pieceValue[piece]);
      psqTable[piece][s].end = i16(psqTable[piece][s].end + pieceValue[piece]);
    }

  for (int piece = BLACK_PAWN; piece <= BLACK_KING; ++piece)
    for (int s = 0; s < 64; ++s) {
      const PsqValue &white = psqTable[piece - 6][mirrorSquare[s]];
      set(piece, s, -white.mid, -white.end);
    }
}

// Pieces of one side as counted by the material index digits.
struct Side {
  int queens, rooks, bishops, knights, pawns;
  int points() const { return 10 * queens + 5 * rooks + 3 * bishops + 3 * knights; }
  int minors() const { return bishops + knights; }
  // Enough attacking material that the opponent's king shelter matters.
  bool attacks() const { return queens ? rooks >= 1 || minors() >= 2 : rooks == 2 && minors() >= 2; }
};

// A lead without pawns of at most a minor piece does not win: cancel it. The
// bishop pair against no bishop is the exception at exactly three points.
bool cannotWin(const Side &ahead, const Side &behind) {
  if (ahead.pawns != 0 || ahead.points() > behind.points() + 3) return false;
  return !(ahead.points() == behind.points() + 3 && ahead.bishops == 2 && behind.bishops == 0);
}

MaterialRecord materialRecordOf(const Side &w, const Side &b) {
  MaterialRecord record{};
  record.phase = u8(24 - 4 * (w.queens + b.queens) - 2 * (w.rooks + b.rooks) - (w.minors() + b.minors()));
  record.flags = u8((b.attacks() ? 1 : 0) | (w.attacks() ? 2 : 0));
  int balance = 1010 * (w.queens - b.queens) + 544 * (w.rooks - b.rooks) + 319 * (w.bishops - b.bishops) +
                319 * (w.knights - b.knights) + 88 * (w.pawns - b.pawns);
  if ((balance >= 1 && cannotWin(w, b)) || (balance <= -1 && cannotWin(b, w))) record.value = -balance;
  return record;
}

void initMaterialTable() {
  // Walk every digit combination; the index is the weighted digit sum.
  for (u32 index = 0; index < MATERIAL_TABLE_SIZE; ++index) {
    u32 rest = index;
    auto digit = [&rest](u32 radix) {
      u32 d = rest % radix;
      rest /= radix;
      return int(d);
    };
    Side w{}, b{};
    w.queens = digit(2);
    b.queens = digit(2);
    w.rooks = digit(3);
    b.rooks = digit(3);
    w.bishops = digit(3);
    b.bishops = digit(3);
    w.knights = digit(3);
    b.knights = digit(3);
    w.pawns = digit(9);
    b.pawns = digit(9);
    materialTable[index] = materialRecordOf(w, b);
  }
}

// Penalty of one file from its four bits (second to fifth rank).
int filePenalty(int bits) {
  if (bits & 1) return 0;
  if (bits & 2) return 7;
  if (bits & 4) return 17;
  if (bits & 8) return 24;
  return 31;
}

void initShelterTable() {
  for (int pattern = 0; pattern < 4096; ++pattern) {
    int penalty[3];
    for (int file = 0; file < 3; ++file) {
      int bits = 0;
      for (int rank = 0; rank < 4; ++rank)
        if (pattern & (1 << (rank * 3 + file))) bits |= 1 << rank;
      penalty[file] = filePenalty(bits);
    }
    int sum = penalty[0] + 2 * penalty[1] + penalty[2];
    shelterTable[pattern] = u16(sum == 0 ? 15 : sum);
  }
}

}  // namespace

void initEvalTables() {
  initPsqTable();
  initMaterialTable();
  initShelterTable();
}
