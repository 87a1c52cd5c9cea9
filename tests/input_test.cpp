// The input layer through a real pipe: line reading, the poll and the log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "tests/engine_process.h"

namespace {

std::string readAll(EngineProcess &probe, int timeoutMs = 5000) {
  std::string all, line;
  while (probe.readLine(line, timeoutMs)) all += line + "\n";
  return all;
}

std::string expectLine(EngineProcess &probe) {
  std::string line;
  EXPECT_TRUE(probe.readLine(line));
  return line;
}

// Runs the probe in a fresh working directory, where its log file lands.
struct TempDir {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::path path = std::filesystem::temp_directory_path() / ("pelko_log_" + std::to_string(getpid()));
  TempDir() {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
  }
  ~TempDir() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(path);
  }
};

const std::string LOG_NAME = std::filesystem::path(INPUT_PROBE_PATH).filename().string() + "_uci.log";

}  // namespace

TEST(LineReader, BurstsPiecesAndDelaysArriveOnceAndInOrder) {
  EngineProcess probe({"echo"}, INPUT_PROBE_PATH);
  std::string expected, burst;
  for (int i = 0; i < 300; ++i) {
    burst += "line " + std::to_string(i) + "\n";
    expected += "[line " + std::to_string(i) + "]\n";
  }
  probe.send(burst);
  // One line split into pieces with pauses between them.
  for (const char *piece : {"go ", "wtime 10", "00 btime", " 1000\n"}) {
    probe.send(piece);
    usleep(20000);
  }
  expected += "[go wtime 1000 btime 1000]\n";
  // Lines arriving together with a part of the next one.
  probe.send("stop\nisr");
  usleep(20000);
  probe.send("eady\n\nquit\n");
  expected += "[stop]\n[isready]\n[]\n[quit]\n";
  probe.closeInput();
  EXPECT_EQ(readAll(probe), expected + "eof\n");
  EXPECT_EQ(probe.waitExit(), 0);
}

TEST(LineReader, LongLinesAreCutAndTheirRestDropped) {
  EngineProcess probe({"echo"}, INPUT_PROBE_PATH);
  probe.send(std::string(127, 'a') + "stop\n" + std::string(10000, 'b') + "\nnext\nwindows\r\nlast without newline");
  probe.closeInput();
  EXPECT_EQ(readAll(probe), "[" + std::string(127, 'a') + "]\n[" + std::string(127, 'b') +
                                "]\n[next]\n[windows]\n[last without newline]\neof\n");
}

TEST(Poll, UciAnswersIsreadyStopsOnStopAndOnEndOfInput) {
  EngineProcess probe({"poll", "uci"}, INPUT_PROBE_PATH);
  probe.send("isready\n");
  EXPECT_EQ(expectLine(probe), "readyok");
  // An overlong line is dropped whole: its tail is not taken for "stop".
  probe.send(std::string(130, 'x') + "stop\nquit\nposition startpos\nisready\n");
  EXPECT_EQ(expectLine(probe), "readyok");
  probe.send("stop\n");
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=0");
  probe.closeInput();
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=1");
  EXPECT_EQ(probe.waitExit(), 0);
}

TEST(Poll, HardLimitEndsTheSearch) {
  EngineProcess probe({"poll", "uci", "50"}, INPUT_PROBE_PATH);
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=0 late=1");
  probe.send("stop\n");
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=0 late=0");
  probe.closeInput();
}

TEST(Poll, XboardKeepsCommandsForLaterAndQuitEndsTheProcess) {
  EngineProcess probe({"poll", "xboard"}, INPUT_PROBE_PATH);
  probe.send("draw\n?\n");
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=0");
  probe.send("time 1234\n");
  EXPECT_EQ(expectLine(probe), "stopped pending=[time 1234] analyze=0 ended=0");
  probe.send("quit\n");
  std::string line;
  EXPECT_FALSE(probe.readLine(line, 2000)) << line;
  EXPECT_EQ(probe.waitExit(), 0);
}

TEST(Poll, AnalysisEndsOnExitAndOnAnyOtherLine) {
  EngineProcess probe({"poll", "analyze"}, INPUT_PROBE_PATH);
  probe.send("usermove e2e4\n");
  EXPECT_EQ(expectLine(probe), "stopped pending=[usermove e2e4] analyze=1 ended=0");
  probe.send("exit\n");
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=0");
  probe.closeInput();
  EXPECT_EQ(expectLine(probe), "stopped pending=[] analyze=0 ended=1");
}

TEST(Log, WrittenOnlyWithTheOptionAndNamedAfterTheProgram) {
  TempDir dir;
  {
    EngineProcess probe({"log"}, INPUT_PROBE_PATH);
    EXPECT_EQ(readAll(probe), "readyok\nlog closed\n");
  }
  EXPECT_FALSE(std::filesystem::exists(LOG_NAME));
  {
    EngineProcess probe({"log", "-l"}, INPUT_PROBE_PATH);
    EXPECT_EQ(readAll(probe), "readyok\nlog open\n");
  }
  std::ifstream file(LOG_NAME);
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_EQ(content.str(), "> position startpos\nreadyok\n");
}

TEST(Log, UncreatableLogLeavesTheProgramWorking) {
  TempDir dir;
  std::filesystem::create_directory(LOG_NAME);  // a folder where the file should go
  EngineProcess probe({"log", "-l"}, INPUT_PROBE_PATH);
  EXPECT_EQ(readAll(probe), "readyok\nlog closed\n");
  EXPECT_EQ(probe.waitExit(), 0);
}
