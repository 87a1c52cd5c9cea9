// The whole "perft" mode of the built program: every count and the layout.
#include <gtest/gtest.h>

#include <regex>

#include "tests/engine_process.h"

TEST(PerftMode, CountsAllPositionsAndTheirMirrors) {
  const unsigned long long expected[4] = {119060324ULL, 193690690ULL, 34336777ULL, 178633661ULL};
  const int depths[4] = {6, 5, 6, 7};
  EngineProcess engine;
  engine.send("perft\n");
  std::string line;
  ASSERT_TRUE(engine.readLine(line));  // banner
  ASSERT_TRUE(engine.readLine(line));
  const std::regex format(R"(depth = (\d+), nodes = ( *\d+), time = ( *\d+\.\d\d)(\t\d+ kN / s)?)");
  for (int position = 0; position < 4; ++position) {
    for (int side = 0; side < 2; ++side) {
      ASSERT_TRUE(engine.readLine(line, 600000)) << "position " << position;
      std::smatch m;
      ASSERT_TRUE(std::regex_match(line, m, format)) << line;
      EXPECT_EQ(std::stoi(m[1]), depths[position]);
      EXPECT_EQ(m[2].length(), 10u) << line;
      EXPECT_EQ(m[3].length(), 8u) << line;
      EXPECT_EQ(std::stoull(m[2]), expected[position]) << line;
    }
    ASSERT_TRUE(engine.readLine(line));
    EXPECT_EQ(line, std::string(50, '-'));
  }
  EXPECT_FALSE(engine.readLine(line, 2000)) << line;
  EXPECT_EQ(engine.waitExit(), 0);
}
