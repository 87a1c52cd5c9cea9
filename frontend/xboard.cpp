#include "frontend/xboard.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/make_move.h"
#include "frontend/game_end.h"
#include "frontend/input.h"
#include "frontend/log.h"
#include "frontend/poll.h"
#include "frontend/report.h"
#include "frontend/startup.h"
#include "frontend/text.h"
#include "frontend/uci.h"
#include "movegen/attack_tests.h"
#include "movegen/move_text.h"
#include "platform/platform.h"
#include "search/control.h"
#include "search/search.h"

namespace {

u32 movesPerTimeControl;  // "level": moves per time control, 0 = the whole game

struct Game {
  u8 engineSide = 0;  // coded like whiteToMove
  u8 forceMode = 1;
  Move moves[MAX_GAME_MOVES];
  int moveCount = 0;
};

void printFeatures() {
  std::printf("feature myname=\"" ENGINE_NAME "\"\n");
  std::fflush(stdout);
  std::printf(
      "feature ping=1\nfeature setboard=1\nfeature playother=1\nfeature draw=0\nfeature analyze=1\n"
      "feature variants=\"normal\"\nfeature name=0\nfeature done=1\n");
  std::fflush(stdout);
}

// Plays a move and records it; false when the game record is full or make
// refuses the move (it would leave the own king attacked).
bool play(Game &game, Move m) {
  if (game.moveCount == MAX_GAME_MOVES || !makeMove(m)) return false;
  game.moves[game.moveCount++] = m;
  return true;
}

// Takes back the last recorded move with the twin of the colour that made it,
// whatever "white" or "black" may have done to the side to move since.
void takeBack(Game &game) {
  const Move m = game.moves[--game.moveCount];
  const u8 mover = board[moveTo(m)];
  isBlackPiece(mover) ? unmakeBlackMove(m) : unmakeWhiteMove(m);
}

// "white" and "black" hand the move to a side; the board stays. A side that
// could then take the other king would corrupt the board, so that change is
// refused; an en-passant square belongs to the side that was to move, so it
// lapses.
void setSideToMove(u8 white) {
  if (white == whiteToMove) return;
  if (white ? isBlackKingAttacked() : isWhiteKingAttacked()) return;
  whiteToMove = white;
  stateTop->epSquare = 0;
  stateTop->inCheck = sideInCheck();  // the check flag must describe the new side to move
}

void engineMove(Game &game) {
  const Move best = think();
  if (std::strcmp(pendingCommand, "new") == 0) return;  // the game is being restarted
  char text[6];
  moveToText(best, text);
  if (isNoMove(best) || !play(game, best)) {
    game.forceMode = 1;  // nothing to play: the game is over or its record full
    checkGameEnd();
    return;
  }
  reply("move %s\n", text);
  if (movesToGo && --movesToGo == 0) movesToGo = movesPerTimeControl;
  if (checkGameEnd()) game.forceMode = 1;
}

void userMove(Game &game, std::string_view token) {
  const std::string text(token);
  const Move m = textToMove(text.c_str());
  if (isNoMove(m) || !play(game, m)) {
    reply("Illegal move: %s\n", text.c_str());
    return;
  }
  if (checkGameEnd()) game.forceMode = 1;
}

// The number after a command, or false when the line has none.
bool argument(const char *&cursor, int64_t &value) {
  const std::string_view token = nextToken(cursor);
  if (token.empty()) return false;
  value = readInteger(token);
  return true;
}

u32 clamp32(int64_t value) { return value < 0 ? 0 : value > UINT32_MAX ? UINT32_MAX : u32(value); }

void level(const char *cursor) {
  const std::string_view moves = nextToken(cursor), base = nextToken(cursor), increment = nextToken(cursor);
  if (moves.empty() || base.empty() || increment.empty()) return;
  moveTimeMs = 0;
  movesPerTimeControl = movesToGo = clamp32(readInteger(moves));
  // Converted only once in range: infinity, NaN or a huge value would not fit.
  const double ms = std::strtod(std::string(increment).c_str(), nullptr) * 1000.0;
  incrementMs = ms >= double(UINT32_MAX) ? UINT32_MAX : ms > 0 ? u32(ms) : 0;
}

// One command; false on "quit".
bool execute(Game &game, const char *line) {
  const char *cursor = line;
  const std::string_view command = nextToken(cursor);
  int64_t value;
  if (command.empty()) return true;
  if (command == "quit") return false;
  if (command == "protover") {
    printFeatures();
  } else if (command == "new") {
    setPositionFromFen(START_FEN);
    maxDepth = 100;
    game.moveCount = 0;
    game.engineSide = 0;
    if (!analyzeMode) game.forceMode = 0;
  } else if (command == "setboard") {
    if (setPositionFromFen(cursor + (*cursor == ' '))) {
      game.engineSide = !whiteToMove;
      maxDepth = 100;
      game.moveCount = 0;
    }
  } else if (command == "force") {
    game.forceMode = 1;
  } else if (command == "white" || command == "black") {
    game.engineSide = command == "black";
    setSideToMove(command == "white");
  } else if (command == "playother") {
    game.engineSide = !whiteToMove;
    game.forceMode = 0;
  } else if (command == "level") {
    level(cursor);
  } else if (command == "st") {
    if (argument(cursor, value)) moveTimeMs = clamp32(value * 1000);
  } else if (command == "sd") {
    if (argument(cursor, value)) maxDepth = u8(value);
  } else if (command == "time") {
    // A negative clock (the flag has fallen) counts as no time left.
    if (argument(cursor, value)) remainingMs = value < 0 ? 1 : clamp32(value * 10);
  } else if (command == "go") {
    game.engineSide = whiteToMove;
    game.forceMode = 0;
  } else if (command == "undo") {
    if (game.moveCount >= 1) takeBack(game);
  } else if (command == "remove") {
    if (game.moveCount >= 2) {
      takeBack(game);
      takeBack(game);
      if (movesToGo) movesToGo = movesToGo + 1 <= movesPerTimeControl ? movesToGo + 1 : 1;
    }
  } else if (command == "post" || command == "nopost") {
    postEnabled = command == "post";
  } else if (command == "ping") {
    const std::string_view token = nextToken(cursor);
    if (!token.empty()) reply("pong %.*s\n", int(token.size()), token.data());
  } else if (command == "analyze") {
    analyzeMode = 1;
    game.forceMode = 1;
  } else if (command == "exit") {
    analyzeMode = 0;  // an analysis that had already ended its iterations
  } else if (command == "hard" || command == "easy" || command == "random" || command == "hint" ||
             command == "bk" || command == "result" || command == "otim" || command == "computer" ||
             command == "accepted" || command == "rejected" || command == "draw") {
  } else {
    userMove(game, command);
  }
  return true;
}

}  // namespace

void runXboard() {
  xboardMode = 1;
  // A GUI that has not turned the feature off sends SIGINT; the engine lives on.
  ignoreInterruptSignal();
  openLog("_wb");
  Game game;
  static char line[512];
  for (;;) {
    if (!game.forceMode && game.engineSide == whiteToMove) engineMove(game);
    if (analyzeMode && !pendingCommand[0]) think();
    if (pendingCommand[0]) {
      std::strcpy(line, pendingCommand);
      pendingCommand[0] = '\0';
    } else {
      if (!readLine(line, sizeof line)) return;
      if (!line[0]) continue;
      logPrintf("> %s\n", line);
    }
    if (!execute(game, line)) return;
  }
}
