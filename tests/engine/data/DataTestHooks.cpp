#include "tests/engine/data/DataTestHooks.h"

#include "engine/services/DataFolder.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

std::vector<ReportedMessage> DataTestHooks::messageBoxes;
std::vector<std::string> DataTestHooks::errorScreenLines;
std::vector<int> DataTestHooks::exitCodes;

void DataTestHooks::SetUp() {
  messageBoxes.clear();
  errorScreenLines.clear();
  exitCodes.clear();
  SetMessageBoxHook([](const char* text, const char* title) { messageBoxes.push_back({text, title}); });
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    errorScreenLines.insert(errorScreenLines.end(), {a, b, c});
  });
  SetExitProgramHook([](int code) {
    exitCodes.push_back(code);
    throw ProcessExited{code};
  });
}

void DataTestHooks::TearDown() {
  SetMessageBoxHook(nullptr);
  SetErrorScreenHandler(nullptr);
  SetExitProgramHook(nullptr);
}

void DataFolderTest::SetUp() {
  DataTestHooks::SetUp();
  SetDataFolder(dir_.Path() + "/Data/");
}

void DataFolderTest::TearDown() {
  SetDataFolder("Data\\");
  DataTestHooks::TearDown();
}
