#include <gtest/gtest.h>

#include "frontend/log.h"

TEST(LogName, FolderAndExtensionAreDropped) {
  EXPECT_EQ(logFileName("/usr/games/Pelko_2_x64", "_uci"), "Pelko_2_x64_uci.log");
  EXPECT_EQ(logFileName("/opt/engines/Pelko_2_w32.exe", "_wb"), "Pelko_2_w32_wb.log");
  EXPECT_EQ(logFileName("Pelko_2_x64", "_wb"), "Pelko_2_x64_wb.log");
  EXPECT_EQ(logFileName("/home/a.b/engine", "_uci"), "engine_uci.log");
  EXPECT_EQ(logFileName("", "_uci"), "_uci.log");
}
