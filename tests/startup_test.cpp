#include <gtest/gtest.h>

#include "frontend/startup.h"
#include "platform/platform.h"
#include "search/tt.h"

#include <unistd.h>

namespace {

u32 maskAfter(std::vector<const char *> args) {
  const u32 saved = ttMask;
  ttMask = 0x7FFFFF;
  args.insert(args.begin(), "engine");
  parseOptions(int(args.size()), const_cast<char **>(args.data()));
  u32 result = ttMask;
  ttMask = saved;
  return result;
}

}  // namespace

TEST(HashOption, SizesArePowersOfTwoWithinTheBudget) {
  EXPECT_EQ(maskAfter({}), 0x7FFFFFu);
  EXPECT_EQ(maskAfter({"-h", "1"}), 65535u);
  EXPECT_EQ(maskAfter({"-h", "3"}), 131071u);
  EXPECT_EQ(maskAfter({"-h", "0"}), 0u);
  EXPECT_EQ(maskAfter({"-h", "16"}), 1048575u);
  EXPECT_EQ(maskAfter({"-h", "100"}), 4194303u);
  EXPECT_EQ(maskAfter({"-h", "128"}), 8388607u);
  EXPECT_EQ(maskAfter({"-h", "64", "-h", "16"}), 1048575u);
  EXPECT_EQ(maskAfter({"-h", "abc"}), 0u);
  EXPECT_EQ(maskAfter({"-h", " 8MB"}), 524287u);
}

TEST(HashOption, OutOfRangeAndMissingValues) {
  // Clamped to 0 ... 2047 megabytes: the largest table is 1 GB.
  EXPECT_EQ(maskAfter({"-h", "2047"}), (1u << 26) - 1);
  EXPECT_EQ(maskAfter({"-h", "2048"}), (1u << 26) - 1);
  EXPECT_EQ(maskAfter({"-h", "99999999999999999999"}), (1u << 26) - 1);
  EXPECT_EQ(maskAfter({"-h", "-5"}), 0u);
  EXPECT_EQ(maskAfter({"-h", "+2"}), 131071u);
  // "-h" with nothing after it keeps the size it had.
  EXPECT_EQ(maskAfter({"-h"}), 0x7FFFFFu);
  EXPECT_EQ(maskAfter({"-h", "4", "-h"}), 262143u);
  EXPECT_EQ(maskAfter({"-H", "4", "-hash", "1"}), 0x7FFFFFu);
}

TEST(LogOption, SetAmongOtherArguments) {
  const u8 saved = logEnabled;
  logEnabled = 0;
  const char *args[] = {"engine", "--verbose", "-l", "-L"};
  parseOptions(4, const_cast<char **>(args));
  EXPECT_EQ(logEnabled, 1);
  logEnabled = saved;
}

TEST(Clock, TickAdvancesInMilliseconds) {
  const u32 start = tickCount();
  usleep(30000);
  const u32 elapsed = tickCount() - start;
  EXPECT_GE(elapsed, 29u);
  EXPECT_LT(elapsed, 5000u);
}
