#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/system/SystemInfo.h"
#include "runtime/platform/system/Time.h"
#include "runtime/platform/base/WideArithmetic.h"
#include "tests/runtime/platform/system/FakeProcessor.h"
#include "tests/support/FakeClock.h"

namespace {

TEST(NumberHelpersTest, ConversionsTruncateAndRefuseWhatDoesNotFit) {
  struct Case {
    double value;
    int32_t expected;
  } cases[] = {
      {-1.7, -1},
      {2.9, 2},
      {0.0, 0},
      {2147483647.9, 2147483647},
      {-2147483648.9, INT32_MIN},
      {2147483648.0, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {1e300, INT32_MIN},
      {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
      {std::numeric_limits<double>::infinity(), INT32_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(DoubleToInt(c.value), c.expected) << c.value;
  EXPECT_EQ(FloatToInt(-1.7f), -1);
  EXPECT_EQ(FloatToInt(3e9f), INT32_MIN);

  const IntRect r = RectDToRect(1.9, -1.9, 640.5, 1e12);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, -1);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(r.bottom, INT32_MIN);
}

TEST(NumberHelpersTest, SmallFunctions) {
  EXPECT_EQ(AbsInt(-5), 5);
  EXPECT_EQ(AbsInt(INT32_MIN), INT32_MIN);
  EXPECT_EQ(AbsFloat(-2.5f), 2.5f);
  EXPECT_EQ(SqrtFloat(9.0f), 3.0f);
  float s = 0, c = 0;
  SinCos(0.0f, &s, &c);
  EXPECT_EQ(s, 0.0f);
  EXPECT_EQ(c, 1.0f);
  SinCos(1.0f, &s, &c);
  EXPECT_FLOAT_EQ(s, std::sin(1.0f));
  EXPECT_FLOAT_EQ(c, std::cos(1.0f));
}

TEST(WideArithmeticTest, ProductAndQuotient) {
  const uint64_t max = ~0ull;
  const UInt128Words p = MulU128(max, max);  // 2^128 - 2^65 + 1
  EXPECT_EQ(p.word[0], 1u);
  EXPECT_EQ(p.word[1], 0u);
  EXPECT_EQ(p.word[2], 0xFFFFFFFEu);
  EXPECT_EQ(p.word[3], 0xFFFFFFFFu);
  EXPECT_EQ(Low64(DivU128(p, max)), max);
  EXPECT_EQ(Low64(DivU128(MulU128(123456789012345ull, 1000000), 1000000000ull)), 123456789012ull);
  EXPECT_EQ(DivU128(p, 0).word[3], 0xFFFFFFFFu);
}

TEST(TimeTest, MicrosecondsFollowTheChosenSource) {
  FakeClock clock(1234);
  gPlatform = PlatformState();
  EXPECT_EQ(GetTickMs(), 1234u);
  EXPECT_EQ(GetMicroseconds(0), 1234000u) << "the millisecond tick times 1000";

  gPlatform.usePerformanceCounter = 1;
  gPlatform.performanceFrequency = 3000000;
  clock.SetCounterFrequency(3000000);
  clock.AdvanceMs(1);
  EXPECT_EQ(GetMicroseconds(1), 1235000u) << "flag 1 before initialisation still uses the counter";

  // The fake time-stamp counter runs at 3 GHz; taken as 1.5 GHz it gives
  // twice the time.
  const FakeProcessor processor{FakeProcessorModel()};
  clock.SetCounterFrequency(1000000);
  gPlatform.initialised = 1;
  gPlatform.rdtscUsable = 1;
  gPlatform.cpuCyclesPerSecond = 1500000000;
  EXPECT_EQ(GetMicroseconds(1), 2470000u) << "the time-stamp counter";
  gPlatform = PlatformState();
}

TEST(SystemInfoTest, MemoryFiguresSaturateAt4GiB) {
  SystemInfoRecord record{};
  StorePhysicalMemory(record, 16ull << 30, (4ull << 30) + 5);
  EXPECT_EQ(record.totalPhysicalMemory, 0xFFFFFFFFu);
  EXPECT_EQ(record.availablePhysicalMemory, 0xFFFFFFFFu);
  StorePhysicalMemory(record, 3ull << 30, 12345);
  EXPECT_EQ(record.totalPhysicalMemory, 3u << 30);
  EXPECT_EQ(record.availablePhysicalMemory, 12345u);
}

}  // namespace
