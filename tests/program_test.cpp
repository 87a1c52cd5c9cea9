// The built program, started and fed through pipes.
#include <gtest/gtest.h>

#include "tests/engine_process.h"

namespace {

const char *EXPECTED_NAME = sizeof(void *) == 8 ? "Pelko 2 x64" : "Pelko 2 w32";

void expectBanner(EngineProcess &engine) {
  std::string line;
  ASSERT_TRUE(engine.readLine(line));
  EXPECT_EQ(line, EXPECTED_NAME);
  ASSERT_TRUE(engine.readLine(line));
  EXPECT_NE(line.find("Varnek"), std::string::npos) << line;
}

// Starts the program, sends the input, closes it, and expects the banner, no
// further output and exit status 0.
void expectQuietExit(const std::string &input, const std::vector<std::string> &args = {}) {
  EngineProcess engine(args);
  expectBanner(engine);
  engine.send(input);
  engine.closeInput();
  std::string line;
  EXPECT_FALSE(engine.readLine(line, 3000)) << "unexpected output: " << line;
  EXPECT_EQ(engine.waitExit(), 0) << "input: " << input.substr(0, 40);
}

}  // namespace

TEST(Program, BannerNamesTheBuild) {
  EngineProcess engine;
  expectBanner(engine);
  engine.closeInput();
  EXPECT_EQ(engine.waitExit(), 0);
}

TEST(Program, EmptyInputEndsWithStatusZero) { expectQuietExit(""); }

TEST(Program, UnknownOrWrongCaseWordEndsWithStatusZero) {
  expectQuietExit("hello\n");
  expectQuietExit("UCI\n");
  expectQuietExit("Xboard\nquit\n");
  expectQuietExit("   \n\n\t  \n");
}

TEST(Program, OverlongFirstWordIsSafe) {
  expectQuietExit(std::string(100000, 'u') + "\nuci\n");
  expectQuietExit(std::string("uci") + std::string(5000, 'x') + "\n");
}

TEST(Program, OptionsInAnyFormAreAccepted) {
  expectQuietExit("nothing\n", {"-h"});
  expectQuietExit("nothing\n", {"-h", "0"});
  expectQuietExit("nothing\n", {"-h", "99999"});
  expectQuietExit("nothing\n", {"-h", "-3", "--unknown", "-l"});
}
