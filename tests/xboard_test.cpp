// The xboard mode of the built program, driven through pipes as xboard does.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "tests/engine_process.h"

namespace {

const std::string NAME = sizeof(void *) == 8 ? "Pelko 2 x64" : "Pelko 2 w32";

struct Xboard {
  EngineProcess engine;
  Xboard() {
    std::string line;
    engine.readLine(line);  // banner
    engine.readLine(line);
    engine.send("xboard\nprotover 2\n");
    features = until("feature done=1");
  }
  std::vector<std::string> features;
  std::vector<std::string> until(const std::string &prefix, int timeoutMs = 20000) {
    std::vector<std::string> lines = engine.readUntil(prefix, timeoutMs);
    if (lines.empty() || lines.back().rfind(prefix, 0) != 0) ADD_FAILURE() << "no line starting with " << prefix;
    return lines;
  }
  // The next line that is not a search report ("depth score time nodes move").
  std::string next(int timeoutMs = 20000) {
    std::string line;
    while (engine.readLine(line, timeoutMs)) {
      int depth, score;
      unsigned time;
      unsigned long long nodes;
      char move[8];
      if (std::sscanf(line.c_str(), "%d %d %u %llu %7s", &depth, &score, &time, &nodes, move) != 5) return line;
    }
    return "(nothing)";
  }
  void expectAlive(const std::string &id) {
    engine.send("ping " + id + "\n");
    EXPECT_EQ(next(), "pong " + id);
  }
};

bool isWhiteMove(const std::string &line) {
  return line.rfind("move ", 0) == 0 && line.size() >= 9 && (line[6] == '1' || line[6] == '2');
}

}  // namespace

TEST(Xboard, FeatureLines) {
  Xboard xb;
  EXPECT_EQ(xb.features, (std::vector<std::string>{"feature myname=\"" + NAME + "\"", "feature ping=1",
                                                   "feature setboard=1", "feature playother=1", "feature draw=0",
                                                   "feature analyze=1", "feature variants=\"normal\"",
                                                   "feature name=0", "feature done=1"}));
  xb.engine.send("quit\n");
  EXPECT_EQ(xb.engine.waitExit(), 0);
}

TEST(Xboard, GameFromNewAnswersAsBlack) {
  Xboard xb;
  xb.engine.send("new\nsd 3\ne2e4\n");
  const std::string reply = xb.next();
  EXPECT_EQ(reply.rfind("move ", 0), 0u) << reply;
  EXPECT_FALSE(isWhiteMove(reply)) << reply;
  xb.expectAlive("1");
}

TEST(Xboard, PingOrNewWhileThinking) {
  Xboard xb;
  xb.engine.send("new\nst 30\ne2e4\n");
  usleep(200000);
  xb.engine.send("ping 7\n");
  EXPECT_EQ(xb.next(3000).rfind("move ", 0), 0u);
  EXPECT_EQ(xb.next(3000), "pong 7");
  // "new" during the search: that search's move is never printed.
  xb.engine.send("d2d4\n");
  usleep(200000);
  xb.engine.send("new\nsd 2\ngo\n");
  const std::string reply = xb.next(5000);
  EXPECT_TRUE(isWhiteMove(reply)) << reply;
}

TEST(Xboard, TimeControlsBoundTheThinking) {
  Xboard xb;
  xb.engine.send("new\nlevel 0 2 1.5\nst 1\ne2e4\n");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(xb.next(5000).rfind("move ", 0), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
  xb.engine.send("level 40 5 0\ntime 300\notim 300\nd2d4\n");  // three seconds for 39 moves
  EXPECT_EQ(xb.next(5000).rfind("move ", 0), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
}

TEST(Xboard, RemoveAndUndoTakeMovesBack) {
  Xboard xb;
  xb.engine.send("new\nforce\ne2e4\ne7e5\nremove\nundo\nremove\nsd 2\ngo\n");
  const std::string reply = xb.next();
  EXPECT_TRUE(isWhiteMove(reply)) << reply;  // back at the start, white to move
  // "white" and "black" flip the side to move; a take-back still restores the board.
  xb.engine.send("force\nnew\nforce\ne2e4\nwhite\nundo\nsetboard 8/8/8/8/8/8/8/K6k w - -\nping 3\n");
  EXPECT_EQ(xb.next(), "pong 3");
}

TEST(Xboard, EngineMateIsAnnounced) {
  Xboard xb;
  xb.engine.send("new\nforce\nsetboard 6k1/5ppp/8/8/8/8/8/R5K1 w - -\nsd 3\ngo\n");
  EXPECT_EQ(xb.next(), "move a1a8");
  EXPECT_EQ(xb.next(), "1-0 {mate}");
  xb.expectAlive("2");  // in force mode now: no further move
}

TEST(Xboard, SetboardWithBlackToMoveLetsTheEnginePlayWhite) {
  Xboard xb;
  xb.engine.send("new\nsetboard rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\nsd 2\n");
  xb.expectAlive("4");  // waits: black is to move
  xb.engine.send("e7e5\n");
  const std::string reply = xb.next();
  EXPECT_TRUE(isWhiteMove(reply)) << reply;
}

TEST(Xboard, IllegalMovesAndMalformedCommands) {
  Xboard xb;
  xb.engine.send("new\nforce\nfoo\n");
  EXPECT_EQ(xb.next(), "Illegal move: foo");
  xb.engine.send("setboard 4k3/4r3/8/8/8/8/4B3/4K3 w - -\ne2d3\n");
  EXPECT_EQ(xb.next(), "Illegal move: e2d3");  // the pinned bishop: found, but refused by make
  for (const std::string &bad : {std::string("setboard"), std::string("setboard garbage"),
                                 std::string("setboard 8/8/8/8/8/8/8/8 w - -"), std::string("ping"), std::string("sd"),
                                 std::string("st"), std::string("time"), std::string("level 40"), std::string("undo"),
                                 std::string("undo"), std::string("remove"),
                                 // increments no clock can hold
                                 std::string("level 40 5 1e999"), std::string("level 40 5 nan"),
                                 std::string("level 40 5 -inf"), std::string("level 40 5 99999999999"),
                                 std::string("level 0 5 0")})
    xb.engine.send(bad + "\n");
  xb.expectAlive("5");
  // A line beyond 511 characters is cut there and its rest dropped.
  xb.engine.send("ping " + std::string(700, '9') + "\n");
  EXPECT_EQ(xb.next(), "pong " + std::string(506, '9'));
  xb.engine.send("e1d1\nsd 2\ngo\n");  // the refused move was not recorded: white still to move
  const std::string reply = xb.next();
  EXPECT_EQ(reply.rfind("move e", 0), 0u) << reply;
}

TEST(Xboard, WhiteAndBlackNeverLetAKingOrAnAbsentPawnBeTaken) {
  Xboard xb;
  // The en-passant square of e2e4 was black's: white may not capture onto e3.
  xb.engine.send("new\nforce\ne2e4\nwhite\nd2e3\n");
  EXPECT_EQ(xb.next(), "Illegal move: d2e3");
  // With the black king in check, white may not take the move (and the king).
  xb.engine.send("new\nforce\ne2e4\nf7f6\nd1h5\nwhite\nh5e8\n");
  EXPECT_EQ(xb.next(), "Illegal move: h5e8");
  xb.engine.send("g7g6\nh5g6\nblack\nsd 2\ngo\n");  // black still to move, and the engine takes black
  EXPECT_EQ(xb.next(), "move h7g6");
  xb.expectAlive("5");
}

TEST(Xboard, SurvivesInterruptSignal) {
  Xboard xb;
  kill(xb.engine.pid(), SIGINT);
  usleep(100000);
  xb.expectAlive("6");
}

TEST(Xboard, AnalysisDeepensThroughStatusRequests) {
  Xboard xb;
  xb.engine.send("new\nforce\npost\nanalyze\n");
  int deepest = 0, restarts = 0;
  std::string line;
  for (int i = 0; i < 20; ++i) {
    xb.engine.send(".\n");
    while (xb.engine.readLine(line, 100)) {
      const int depth = std::atoi(line.c_str());
      if (depth == 1 && deepest > 1) ++restarts;
      deepest = std::max(deepest, depth);
    }
  }
  EXPECT_GE(deepest, 7);
  EXPECT_EQ(restarts, 0);
  xb.engine.send("exit\n");
  xb.expectAlive("8");
}

TEST(Xboard, EndOfInputEndsTheProgram) {
  Xboard xb;
  xb.engine.send("new\nst 30\ne2e4\n");
  usleep(200000);
  xb.engine.closeInput();
  EXPECT_EQ(xb.engine.waitExit(5000), 0);
}
