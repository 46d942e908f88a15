#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/platform/system/OsIdentity.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/system/ProcessorFeatures.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/files/StartDirectory.h"
#include "runtime/platform/system/SystemInfo.h"
#include "tests/runtime/platform/system/FakeProcessor.h"
#include "tests/runtime/platform/system/LayerFixture.h"

namespace {

using ::testing::ElementsAreArray;
using ::testing::StartsWith;

TEST(OsIdentity, NamesAndCodesByVersion) {
  struct Case {
    HostOsVersion version;
    const char* name;
    int code;
  } cases[] = {
      {{kHostOsWin32s, 3, 10, 0, ""}, "Windows3.1", 0},
      {{kHostOsWindows9x, 4, 0, 950, "C"}, "Windows95OSR2", 1},
      {{kHostOsWindows9x, 4, 0, 950, " B"}, "Windows95", 1},
      {{kHostOsWindows9x, 4, 10, 2222, "A "}, "Windows98SE", 2},
      {{kHostOsWindows9x, 4, 90, 3000, ""}, "WindowsMe", 3},
      {{kHostOsNt, 3, 51, 1057, ""}, "WindowsNT 3.51", 0x104},
      {{kHostOsNt, 4, 0, 1381, "Service Pack 6"}, "Windows4.0", 0x105},
      {{kHostOsNt, 5, 0, 2195, ""}, "Windows2000", 0x106},
      {{kHostOsNt, 5, 1, 2600, "Service Pack 3"}, "WindowsXP", 0x107},
      {{kHostOsNt, 6, 0, 6000, ""}, "WindowsVista", 0x108},
      {{kHostOsNt, 10, 0, 19045, ""}, "Windows", 77},  // unknown: the code stays
      {{kHostOsWindows9x, 4, 50, 0, ""}, "Windows", 77},
  };
  for (const Case& c : cases) {
    char name[64];
    EXPECT_EQ(IdentifyOs(c.version, name, sizeof name, 77), c.code) << c.name;
    EXPECT_STREQ(name, c.name);
  }
}

using ProcessorReportTest = LayerFixture;

TEST_F(ProcessorReportTest, LevelsDecideTheLinesAndTheFlags) {
  struct Case {
    FakeProcessorModel model;
    std::vector<std::string> lines;  // after the speed line, when there is one
    int mmx;
  } cases[] = {
      {{false, 0, "", ""}, {"\tＣＰＵＩＤ命令は使えません"}, 0},
      {{true, 0, "TestVendor12", ""}, {"\tＭＭＸは使えません", "\tＣＰＵベンダ：TestVendor12"}, 0},
      {{true, FakeProcessor::kSse | FakeProcessor::kSse2, "TestVendor12", ""},
       {"\tＭＭＸは使えません", "\tＣＰＵベンダ：TestVendor12"},
       0},
      {{true, FakeProcessor::kMmx, "TestVendor12", "Brand"},
       {"\tＭＭＸ命令を使用します", "\tＣＰＵベンダ：TestVendor12", "\tＣＰＵ名：Brand"},
       1},
      {{true, FakeProcessor::kMmx | FakeProcessor::kSse, "TestVendor12", ""},
       {"\tＭＭＸ命令を使用します", "\tＳＳＥ命令が使用可能です", "\tＣＰＵベンダ：TestVendor12"},
       1},
      {{true, FakeProcessor::kMmx | FakeProcessor::kSse2, "TestVendor12", ""},
       {"\tＭＭＸ命令を使用します", "\tＣＰＵベンダ：TestVendor12"},
       1},
  };
  for (const Case& c : cases) {
    FakeProcessor processor(c.model);
    gPlatform = PlatformState();
    gSystemInfo = SystemInfoRecord();
    ReadStartDirectory();
    OpenLogFile();
    CollectSystemInfo();
    const std::vector<std::string> all = LogLines();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(all.begin() + 3, all.end()), c.lines) << c.model.features;
    EXPECT_EQ(IsMmxUsable(), c.mmx);
    EXPECT_EQ(gPlatform.rdtscUsable, 0);
    EXPECT_EQ(gSystemInfo.cpuBrand[0] != '\0', !c.model.brand.empty());
  }
}

TEST_F(ProcessorReportTest, TheTimeStampCounterIsMeasuredAgainstTheTick) {
  FakeProcessorModel model;
  model.features = FakeProcessor::kTimeStamp;
  FakeProcessor processor(model);
  ReadStartDirectory();
  OpenLogFile();
  CollectSystemInfo();
  EXPECT_EQ(gPlatform.rdtscUsable, 1);
  // 3 GHz of the fake clock, give or take the tick reads of the wait.
  EXPECT_GE(gSystemInfo.cpuMhz, 3000);
  EXPECT_LE(gSystemInfo.cpuMhz, 3100);
  EXPECT_NEAR(static_cast<double>(gPlatform.cpuCyclesPerSecond) / 1e6, gSystemInfo.cpuMhz, 1.0);
  EXPECT_THAT(LogLines().at(3), StartsWith("\tＣＰＵ動作速度：大体3.0"));
  EXPECT_STREQ(gSystemInfo.osDescription, "WindowsXP ( Build 2600 Service Pack 3 )");
}

}  // namespace
