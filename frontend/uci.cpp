#include "frontend/uci.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/make_move.h"
#include "frontend/input.h"
#include "frontend/log.h"
#include "frontend/startup.h"
#include "frontend/text.h"
#include "movegen/move_text.h"
#include "search/control.h"
#include "search/search.h"

namespace {

// Plays the move tokens in order; the first one that is not a legal move of
// its position, and any beyond the game's capacity, end the list.
void playMoves(const char *cursor) {
  for (std::string_view token = nextToken(cursor); !token.empty(); token = nextToken(cursor)) {
    if (stateDepth() > MAX_GAME_MOVES) return;
    const std::string text(token);
    const Move m = textToMove(text.c_str());
    if (isNoMove(m) || !makeMove(m)) return;
  }
}

void position(const char *cursor) {
  const std::string_view kind = nextToken(cursor);
  if (kind.empty()) return;
  if (kind == "fen") {
    // The FEN runs up to the letter 'm' of "moves", which no FEN contains.
    const char *fen = cursor + (*cursor == ' ');
    const char *cut = std::strchr(fen, 'm');
    const std::string text(fen, cut ? size_t(cut - fen) : std::strlen(fen));
    if (!setPositionFromFen(text.c_str())) return;  // a refused FEN changes nothing
    cursor = cut ? cut : fen + text.size();
  } else {
    setPositionFromFen(START_FEN);
  }
  if (nextToken(cursor).empty()) return;  // "moves", or the rest of it after the cut
  playMoves(cursor);
}

// A clock value: a negative one (a flagged clock) means no time at all.
u32 clockValue(std::string_view token) {
  const int64_t value = readInteger(token);
  return value < 1 ? (value < 0 ? 1 : 0) : value > UINT32_MAX ? UINT32_MAX : u32(value);
}

void go(const char *cursor) {
  remainingMs = incrementMs = movesToGo = moveTimeMs = 0;
  maxDepth = 100;
  for (std::string_view token = nextToken(cursor); !token.empty(); token = nextToken(cursor)) {
    u32 *target = nullptr;
    if (token == "wtime" && whiteToMove) target = &remainingMs;
    if (token == "winc" && whiteToMove) target = &incrementMs;
    if (token == "btime" && !whiteToMove) target = &remainingMs;
    if (token == "binc" && !whiteToMove) target = &incrementMs;
    if (token == "movestogo") target = &movesToGo;
    if (token == "movetime") target = &moveTimeMs;
    const bool depth = token == "depth";
    if (!target && !depth) continue;
    const char *valueStart = cursor;
    const std::string_view value = nextToken(cursor);
    if (value.empty()) {  // a keyword without its value is passed over
      cursor = valueStart;
      continue;
    }
    if (depth)
      maxDepth = u8(readInteger(value));
    else
      *target = clockValue(value);
  }
  const Move best = think();
  char text[6] = "0000";  // the null move, when there is no legal move
  if (!isNoMove(best)) moveToText(best, text);
  reply("bestmove %s\n", text);
}

}  // namespace

void runUci() {
  uciMode = 1;
  std::printf("id name " ENGINE_NAME " UCI\nid author Varnek\nuciok\n");
  std::fflush(stdout);
  openLog("_uci");
  static char line[8192];
  while (readLine(line, sizeof line)) {
    if (!line[0]) continue;
    logPrintf("> %s\n", line);
    const char *cursor = line;
    const std::string_view command = nextToken(cursor);
    if (command == "quit") return;
    if (command == "isready") reply("readyok\n");
    if (command == "position") position(cursor);
    if (command == "go") go(cursor);
  }
}
