#include "tests/test_position.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <unistd.h>

#include "board/fen.h"
#include "board/zobrist.h"
#include "eval/tables.h"
#include "frontend/startup.h"
#include "search/tt.h"

namespace {

// The tables are built once for the whole test program, as at program start.
class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Searches poll standard input: give them a pipe on which nothing arrives.
    int silent[2];
    if (pipe(silent) == 0) dup2(silent[0], 0);
    ttMask = 0xFFFF;
    initEngine();
  }
};
const auto *environment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

bool onBoard(int file, int row) { return file >= 0 && file < 8 && row >= 0 && row < 8; }
bool isWhite(u8 piece) { return piece >= 1 && piece <= 6; }
bool isBlack(u8 piece) { return piece >= 7; }

const int KNIGHT_JUMPS[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
const int KING_STEPS[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

}  // namespace

DerivedTerms recomputeTerms() {
  DerivedTerms t{};
  for (int s = 0; s < 64; ++s) {
    u8 p = board[s];
    if (!p) continue;
    t.hashKey ^= zobristPiece[p][s];
    if (p == WHITE_PAWN || p == BLACK_PAWN) t.pawnKey ^= zobristPiece[p][s];
    t.psqMid += psqTable[p][s].mid;
    t.psqEnd += psqTable[p][s].end;
    t.materialIndex += materialWeight[p];
  }
  t.hashKey ^= zobristCastle[stateTop->castleRights];
  if (stateTop->epSquare) t.hashKey ^= zobristEp[stateTop->epSquare];
  if (whiteToMove) t.hashKey ^= zobristSide;
  return t;
}

DerivedTerms recordedTerms() {
  return {stateTop->hashKey, stateTop->pawnKey, stateTop->psqMid, stateTop->psqEnd, stateTop->materialIndex};
}

std::string positionFen() {
  std::string fen;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      u8 p = board[row * 8 + file];
      if (!p) {
        ++empty;
        continue;
      }
      if (empty) fen += char('0' + empty);
      empty = 0;
      fen += pieceLetters[p];
    }
    if (empty) fen += char('0' + empty);
    if (row < 7) fen += '/';
  }
  fen += whiteToMove ? " w " : " b ";
  u8 rights = stateTop->castleRights;
  if (rights & WHITE_KING_SIDE) fen += 'K';
  if (rights & WHITE_QUEEN_SIDE) fen += 'Q';
  if (rights & BLACK_KING_SIDE) fen += 'k';
  if (rights & BLACK_QUEEN_SIDE) fen += 'q';
  if (!rights) fen += '-';
  fen += ' ';
  if (u8 ep = stateTop->epSquare) {
    fen += char('a' + squareFile(ep));
    fen += char('8' - squareRow(ep));
  } else {
    fen += '-';
  }
  return fen;
}

std::string mirrorFen(const std::string &fen) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start < fen.size()) {
    size_t end = fen.find(' ', start);
    if (end == std::string::npos) end = fen.size();
    if (end > start) fields.push_back(fen.substr(start, end - start));
    start = end + 1;
  }
  fields.resize(4, "-");
  auto swapCase = [](char c) { return char(std::isupper(c) ? std::tolower(c) : std::toupper(c)); };
  std::string placement;
  for (size_t end = fields[0].size(); end != std::string::npos;) {
    size_t slash = fields[0].rfind('/', end == 0 ? 0 : end - 1);
    size_t from = slash == std::string::npos ? 0 : slash + 1;
    for (char c : fields[0].substr(from, end - from)) placement += swapCase(c);
    if (slash == std::string::npos) break;
    placement += '/';
    end = slash;
  }
  std::string rights;
  for (char c : std::string("KQkq"))
    if (fields[2].find(swapCase(c)) != std::string::npos) rights += c;
  std::string ep = fields[3] == "-" ? "-" : std::string{fields[3][0], char('9' - (fields[3][1] - '0'))};
  return placement + (fields[1] == "w" ? " b " : " w ") + (rights.empty() ? "-" : rights) + " " + ep;
}

bool referenceAttacked(int q, bool byWhite) {
  const int qf = squareFile(q), qr = squareRow(q);
  auto pieceAt = [](int f, int r) { return board[r * 8 + f]; };
  auto own = [byWhite](u8 p, u8 whiteCode) { return p == (byWhite ? whiteCode : whiteCode + 6); };
  // A white pawn attacks toward row 0, so it stands one row below (row + 1).
  int pawnRow = byWhite ? qr + 1 : qr - 1;
  for (int df : {-1, 1})
    if (onBoard(qf + df, pawnRow) && own(pieceAt(qf + df, pawnRow), WHITE_PAWN)) return true;
  for (auto &j : KNIGHT_JUMPS)
    if (onBoard(qf + j[0], qr + j[1]) && own(pieceAt(qf + j[0], qr + j[1]), WHITE_KNIGHT)) return true;
  for (auto &k : KING_STEPS)
    if (onBoard(qf + k[0], qr + k[1]) && own(pieceAt(qf + k[0], qr + k[1]), WHITE_KING)) return true;
  for (auto &d : KING_STEPS) {
    bool diagonal = d[0] && d[1];
    for (int f = qf + d[0], r = qr + d[1]; onBoard(f, r); f += d[0], r += d[1]) {
      u8 p = pieceAt(f, r);
      if (!p) continue;
      if (own(p, WHITE_QUEEN) || own(p, diagonal ? WHITE_BISHOP : WHITE_ROOK)) return true;
      break;
    }
  }
  return false;
}

std::vector<Move> referenceMoves() {
  std::vector<Move> moves;
  const bool white = whiteToMove;
  auto mine = [white](u8 p) { return white ? isWhite(p) : isBlack(p); };
  auto theirs = [white](u8 p) { return white ? isBlack(p) : isWhite(p); };
  for (int s = 0; s < 64; ++s) {
    u8 p = board[s];
    if (!mine(p)) continue;
    int kind = white ? p : p - 6, f = squareFile(s), r = squareRow(s);
    auto add = [&](int t, int flags = 0) { moves.push_back(encodeMove(s, t, flags, board[t])); };
    if (kind == WHITE_PAWN) {
      int dir = white ? -1 : 1, lastRow = white ? 0 : 7, startRow = white ? 6 : 1;
      auto addPawn = [&](int t) {
        if (squareRow(t) != lastRow) return add(t);
        for (int promo : {WHITE_QUEEN, WHITE_ROOK, WHITE_BISHOP, WHITE_KNIGHT}) add(t, white ? promo : promo + 6);
      };
      int ahead = s + 8 * dir;
      if (!board[ahead]) {
        addPawn(ahead);
        if (r == startRow && !board[ahead + 8 * dir]) add(ahead + 8 * dir, DoublePushFlag);
      }
      for (int df : {-1, 1}) {
        if (!onBoard(f + df, r + dir)) continue;
        int t = ahead + df;
        if (theirs(board[t])) addPawn(t);
        if (stateTop->epSquare && t == stateTop->epSquare) moves.push_back(encodeMove(s, t, EnPassantFlag, white ? BLACK_PAWN : WHITE_PAWN));
      }
      continue;
    }
    auto target = [&](int tf, int tr) {
      if (!onBoard(tf, tr)) return false;
      int t = tr * 8 + tf;
      if (mine(board[t])) return false;
      add(t);
      return !board[t];
    };
    if (kind == WHITE_KNIGHT)
      for (auto &j : KNIGHT_JUMPS) target(f + j[0], r + j[1]);
    if (kind == WHITE_KING)
      for (auto &k : KING_STEPS) target(f + k[0], r + k[1]);
    for (auto &d : KING_STEPS) {
      bool diagonal = d[0] && d[1];
      bool slides = kind == WHITE_QUEEN || (diagonal ? kind == WHITE_BISHOP : kind == WHITE_ROOK);
      if (slides)
        for (int tf = f + d[0], tr = r + d[1]; target(tf, tr); tf += d[0], tr += d[1]) {
        }
    }
  }
  const u8 rights = stateTop->castleRights;
  const int kingSquare = white ? E1 : E8;
  auto empty = [](std::initializer_list<int> squares) {
    for (int q : squares)
      if (board[q]) return false;
    return true;
  };
  auto safe = [white](std::initializer_list<int> squares) {
    for (int q : squares)
      if (referenceAttacked(q, !white)) return false;
    return true;
  };
  const int k = kingSquare;
  if (rights & (white ? WHITE_KING_SIDE : BLACK_KING_SIDE) && empty({k + 1, k + 2}) && safe({k, k + 1, k + 2}))
    moves.push_back(encodeMove(k, k + 2, CastleFlag));
  if (rights & (white ? WHITE_QUEEN_SIDE : BLACK_QUEEN_SIDE) && empty({k - 1, k - 2, k - 3}) &&
      safe({k, k - 1, k - 2}))
    moves.push_back(encodeMove(k, k - 2, CastleFlag));
  return moves;
}

namespace {
// Plays a move on a copy of the board only, to see whether it exposes the king.
bool leavesKingSafe(Move m) {
  u8 saved[64];
  std::memcpy(saved, board, sizeof board);
  int from = moveFrom(m), to = moveTo(m), flags = moveFlags(m);
  u8 piece = board[from];
  bool white = !isBlack(piece);
  board[to] = (flags & PromotionMask) ? flags & PromotionMask : piece;
  board[from] = 0;
  if (flags == EnPassantFlag) board[to + (white ? 8 : -8)] = 0;
  int king = -1;
  for (int s = 0; s < 64; ++s)
    if (board[s] == (white ? WHITE_KING : BLACK_KING)) king = s;
  bool safe = !referenceAttacked(king, !white);
  std::memcpy(board, saved, sizeof board);
  return safe;
}
}  // namespace

std::vector<Move> referenceLegalMoves() {
  std::vector<Move> legal;
  for (Move m : referenceMoves())
    if (leavesKingSafe(m)) legal.push_back(m);
  return legal;
}

Snapshot takeSnapshot() {
  Snapshot s{};
  std::memcpy(s.board, board, sizeof board);
  std::memcpy(s.pieceBB, pieceBB, sizeof pieceBB);
  s.whitePieces = WhitePieces;
  s.blackPieces = BlackPieces;
  s.whiteToMove = whiteToMove;
  s.top = stateTop;
  s.nodeCount = nodeCount;
  return s;
}

void setFen(const char *fen) { ASSERT_TRUE(setPositionFromFen(fen)) << fen; }
