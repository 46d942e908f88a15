#pragma once
// The data readers report damage through message boxes, the error screen
// and process exit. Under the fuzzer none of them may show or end anything:
// the exit hook throws ReaderExited, which the target catches.

#include <string>

#include "engine/shell/ErrorScreen.h"
#include "runtime/host/MessageBox.h"
#include "runtime/host/ProcessExit.h"

struct ReaderExited {};

inline void SilenceDataReaderReports() {
  static const bool installed = [] {
    HostSetMessageBoxHook([](const char*, const char*) {});
    SetErrorScreenHandler([](const std::string&, const std::string&, const std::string&) {});
    HostSetExitHook([](int) { throw ReaderExited{}; });
    return true;
  }();
  (void)installed;
}
