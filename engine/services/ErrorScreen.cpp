#include "engine/services/ErrorScreen.h"

#include "runtime/Movan.h"

namespace {

void LogErrorLines(const std::string& line1, const std::string& line2, const std::string& line3) {
  LogPrintf("%s\n%s\n%s\n", line1.c_str(), line2.c_str(), line3.c_str());
}

ErrorScreenHandler gHandler = LogErrorLines;

}  // namespace

void ShowErrorScreen(const std::string& line1, const std::string& line2, const std::string& line3) {
  gHandler(line1, line2, line3);
}

void SetErrorScreenHandler(ErrorScreenHandler handler) { gHandler = handler ? handler : LogErrorLines; }
