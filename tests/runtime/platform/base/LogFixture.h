#pragma once
// Puts the platform state back to its start and points the log at a fresh
// folder, with the clock standing still at 1000 ms.

#include <gtest/gtest.h>

#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/base/StringHelpers.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestDirectory.h"

class LogFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    gPlatform = PlatformState();
    StrCopy(gPlatform.startDirectory, sizeof gPlatform.startDirectory, dir.Path().c_str());
    OpenLogFile();
  }
  void TearDown() override { gPlatform = PlatformState(); }

  std::string LogText() const { return ReadWholeFile(dir.File("Log.txt")); }

  FakeClock clock{1000};
  TestDirectory dir;
};
