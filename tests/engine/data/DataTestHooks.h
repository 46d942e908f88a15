#pragma once
// Records what the data readers report (message boxes, error-screen lines,
// process exit) instead of showing or doing it. The exit hook throws
// ProcessExited so that a test can catch the exit path in-process.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestDirectory.h"

struct ProcessExited {
  int code;
};

struct ReportedMessage {
  std::string text;
  std::string title;
};

class DataTestHooks : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static std::vector<ReportedMessage> messageBoxes;
  static std::vector<std::string> errorScreenLines;  // three per screen
  static std::vector<int> exitCodes;
};

// The same, with the game's Data folder inside a fresh directory.
class DataFolderTest : public DataTestHooks {
 protected:
  void SetUp() override;
  void TearDown() override;

  TestDirectory dir_;
};
