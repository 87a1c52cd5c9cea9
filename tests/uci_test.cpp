// The UCI mode of the built program, driven through pipes as a GUI does.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "tests/engine_process.h"

namespace {

const std::string NAME = sizeof(void *) == 8 ? "Pelko 2 x64" : "Pelko 2 w32";

// The engine after "uci" and its identification.
struct Uci {
  EngineProcess engine;
  explicit Uci(const std::vector<std::string> &args = {}) : engine(args) {
    engine.send("uci\n");
    std::string line;
    for (const std::string &expected : {NAME, std::string("by Varnek"), "id name " + NAME + " UCI",
                                        std::string("id author Varnek"), std::string("uciok")}) {
      EXPECT_TRUE(engine.readLine(line));
      if (expected == "by Varnek")
        EXPECT_NE(line.find("Varnek"), std::string::npos);
      else
        EXPECT_EQ(line, expected);
    }
  }
  std::vector<std::string> until(const std::string &prefix, int timeoutMs = 20000) {
    std::vector<std::string> lines = engine.readUntil(prefix, timeoutMs);
    if (lines.empty() || lines.back().rfind(prefix, 0) != 0) ADD_FAILURE() << "no line starting with " << prefix;
    return lines;
  }
  std::string bestmove(int timeoutMs = 20000) {
    std::string last = until("bestmove", timeoutMs).back();
    return last.substr(last.find(' ') + 1);
  }
  // Expects no output for a while: the engine is still thinking.
  void expectSilence(int ms) {
    std::string line;
    while (engine.readLine(line, ms)) EXPECT_EQ(line.rfind("info", 0), 0u) << line;
  }
};

bool isBlackMove(const std::string &move) { return move.size() >= 4 && (move[1] == '7' || move[1] == '8'); }

std::string knightShuffle(int moves) {
  const char *cycle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  std::string text;
  for (int i = 0; i < moves; ++i) text += std::string(" ") + cycle[i % 4];
  return text;
}

}  // namespace

TEST(Uci, IdentificationAndIsready) {
  Uci uci;
  uci.engine.send("isready\n");
  EXPECT_EQ(uci.until("readyok").size(), 1u);
  uci.engine.send("quit\n");
  EXPECT_EQ(uci.engine.waitExit(), 0);
}

TEST(Uci, PositionWithMovesAndGoDepth) {
  Uci uci;
  uci.engine.send("position startpos moves e2e4 e7e5\ngo depth 1\n");
  std::vector<std::string> lines = uci.until("bestmove");
  EXPECT_EQ(lines.front(), "info depth 1");
  const std::string move = lines.back().substr(9);
  EXPECT_FALSE(isBlackMove(move)) << move;
  // The FEN ends before "moves"; a1b1 is played, so black moves next.
  uci.engine.send("position fen 8/8/8/8/8/8/8/K6k w - - 0 1 moves a1b1\ngo depth 2\n");
  EXPECT_EQ(uci.bestmove().substr(0, 2), "h1");
  uci.engine.send("position   startpos   moves  e2e4\ngo  depth  2\n");
  EXPECT_TRUE(isBlackMove(uci.bestmove()));
  uci.engine.send("isready\n");
  EXPECT_EQ(uci.until("readyok").size(), 1u);
}

TEST(Uci, GoDepthKeepsTheLowEightBits) {
  Uci uci;
  uci.engine.send("position fen 8/8/8/8/8/8/8/K1k5 w - -\ngo depth 300\n");
  std::vector<std::string> lines = uci.until("bestmove");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "info depth 44"), lines.end());
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "info depth 45"), lines.end());
  uci.engine.send("go depth 255\n");
  lines = uci.until("bestmove", 60000);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "info depth 255"), lines.end());
}

TEST(Uci, ClockOfTheSideToMoveOnly) {
  Uci uci;
  // Black to move with one second left: a quick reply, white's minute ignored.
  uci.engine.send("position startpos moves e2e4\n");
  auto start = std::chrono::steady_clock::now();
  uci.engine.send("go wtime 60000 btime 1000\n");
  EXPECT_TRUE(isBlackMove(uci.bestmove()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
  start = std::chrono::steady_clock::now();
  uci.engine.send("go movetime 500\n");
  uci.bestmove();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(450));
  EXPECT_LT(took, std::chrono::milliseconds(1500));
}

TEST(Uci, IsreadyAndStopDuringInfiniteSearch) {
  Uci uci;
  uci.engine.send("position startpos\ngo infinite\n");
  uci.expectSilence(300);
  uci.engine.send("isready\n");
  std::vector<std::string> lines = uci.until("readyok");
  for (const std::string &line : lines) EXPECT_NE(line.rfind("bestmove", 0), 0u);
  uci.engine.send("quit\n");  // dropped while thinking
  uci.expectSilence(300);
  uci.engine.send("stop\n");
  EXPECT_FALSE(isBlackMove(uci.bestmove(3000)));
  uci.engine.send("quit\n");
  EXPECT_EQ(uci.engine.waitExit(), 0);
}

TEST(Uci, StopAndTheClockReachIntoALongCaptureSearch) {
  // Promotions, checks and evasions: below the first ply the quiescence search
  // alone runs for about a hundred million nodes.
  Uci uci;
  uci.engine.send("position fen 3k3r/1Ppppppp/1b3nbP/pbPppBBP/1P3q2/2N2Pp1/P2PPR2/2RK4 b - -\ngo infinite\n");
  uci.expectSilence(300);
  uci.engine.send("stop\n");
  EXPECT_EQ(uci.bestmove(3000), "g3f2");  // the only move it had weighed
  uci.engine.send("go movetime 200\n");
  EXPECT_NE(uci.bestmove(3000), "0000");
}

TEST(Uci, TabIsNotASeparatorAndUnknownCommandsAreIgnored) {
  Uci uci;
  uci.engine.send("go\tdepth 1\nsetoption name Hash value 1\nucinewgame\ndebug on\nponderhit\nstop\nuci\nfoo\nisready\n");
  EXPECT_EQ(uci.until("readyok"), std::vector<std::string>{"readyok"});
}

TEST(Uci, MalformedPositionsChangeNothing) {
  Uci uci;
  uci.engine.send("position startpos moves e2e4\n");
  for (const char *bad : {"position", "position fen", "position fen garbage moves e7e5", "position fen 8/8/8 w - -",
                          "position fen 4k3/8/8/8/8/8/8/4K2r b - - moves e8d8"})
    uci.engine.send(std::string(bad) + "\n");
  uci.engine.send("go depth 1\n");
  EXPECT_TRUE(isBlackMove(uci.bestmove()));  // still the position after e2e4
}

TEST(Uci, MoveListStopsAtTheFirstMoveThatIsNotLegal) {
  Uci uci;
  uci.engine.send("position startpos moves e2e4 a1a5 e7e5\ngo depth 1\n");
  EXPECT_TRUE(isBlackMove(uci.bestmove()));
  uci.engine.send("position startpos moves e2e4 zz e7e5\ngo depth 1\n");
  EXPECT_TRUE(isBlackMove(uci.bestmove()));
  // Found among the generated moves but refused by make: the pinned bishop.
  uci.engine.send("position fen 4k3/4r3/8/8/8/8/4B3/4K3 w - - moves e2d3 e1d1\ngo depth 1\n");
  EXPECT_EQ(uci.bestmove().substr(0, 2), "e1");
}

TEST(Uci, NoLegalMoveAnswersTheNullMove) {
  Uci uci;
  uci.engine.send("position fen 7k/6Q1/6K1/8/8/8/8/8 b - -\ngo depth 3\n");
  EXPECT_EQ(uci.bestmove(), "0000");
  uci.engine.send("position fen 7k/5Q2/6K1/8/8/8/8/8 b - -\ngo\n");
  EXPECT_EQ(uci.bestmove(), "0000");
}

TEST(Uci, VeryLongGamesAndLinesAreCut) {
  Uci uci;
  // 1100 moves: only the first 1023 are played (three past a multiple of four: black to move).
  uci.engine.send("position startpos moves" + knightShuffle(1100) + "\ngo depth 3\n");
  EXPECT_TRUE(isBlackMove(uci.bestmove()));
  // A line beyond the reader's 8191 characters: its rest is dropped, not read as commands.
  uci.engine.send("position startpos moves" + knightShuffle(2000) + " isready\nisready\n");
  EXPECT_EQ(uci.until("readyok"), std::vector<std::string>{"readyok"});
  uci.engine.send("go depth 2\n");
  uci.bestmove();
}

TEST(Uci, EndOfInputEndsTheProgram) {
  {
    Uci uci;
    uci.engine.closeInput();
    EXPECT_EQ(uci.engine.waitExit(), 0);
  }
  // Also while thinking: the search stops, answers, and the program ends.
  Uci uci;
  uci.engine.send("position startpos\ngo infinite\n");
  uci.engine.closeInput();
  EXPECT_FALSE(uci.bestmove(3000).empty());
  EXPECT_EQ(uci.engine.waitExit(3000), 0);
}

TEST(Uci, LogFileWithOption) {
  const auto dir = std::filesystem::temp_directory_path() / ("pelko_uci_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  {
    Uci uci({"-l"});
    uci.engine.send("isready\nposition startpos\ngo depth 1\n");
    uci.bestmove();
    uci.engine.send("quit\n");
    uci.engine.waitExit();
  }
  std::filesystem::current_path(previous);
  std::ifstream file(dir / (std::filesystem::path(ENGINE_PATH).filename().string() + "_uci.log"));
  std::stringstream content;
  content << file.rdbuf();
  std::filesystem::remove_all(dir);
  const std::string log = content.str();
  EXPECT_EQ(log.rfind("> isready\nreadyok\n> position startpos\n> go depth 1\ninfo depth 1 score cp ", 0), 0u) << log;
  EXPECT_NE(log.find("\nbestmove "), std::string::npos) << log;
  EXPECT_NE(log.find("> quit\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("uciok"), std::string::npos) << log;
}

TEST(TestMode, TenSearchesEachEndedByStop) {
  EngineProcess engine;
  engine.send("test\n");
  std::vector<std::string> lines;
  std::string line;
  int separators = 0;
  while (engine.readLine(line, 20000)) {
    lines.push_back(line);
    if (line != "---") continue;
    ++separators;
    if (separators == 1) engine.send("isready\n");
    engine.send("stop\n");  // ends this position's search; the run goes on
  }
  EXPECT_EQ(engine.waitExit(), 0);
  EXPECT_EQ(separators, 10);
  int readyok = 0;
  for (size_t i = 2; i < lines.size(); ++i) {
    if (lines[i] == "---") {
      EXPECT_EQ(lines[i - 1], "");
      EXPECT_EQ(lines[i + 1], "info depth 1");
    } else if (lines[i] == "readyok") {
      ++readyok;
    } else if (!lines[i].empty()) {
      EXPECT_EQ(lines[i].rfind("info ", 0), 0u) << lines[i];
    }
  }
  EXPECT_EQ(readyok, 1);
}

TEST(TestMode, ClosedInputLeavesEachPositionItsTime) {
  // A script that pipes in "test" and closes the input: nobody can send
  // "stop", and the first position keeps searching.
  EngineProcess engine;
  engine.send("test\n");
  engine.closeInput();
  int separators = 0;
  std::string line;
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(4))
    if (engine.readLine(line, 500) && line == "---") ++separators;
  EXPECT_EQ(separators, 1);
}
