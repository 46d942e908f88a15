#pragma once
// The state of the download command: a started download is only recorded,
// nothing is fetched. System variables 43 to 48 read its status and
// progress values.

#include <array>
#include <cstdint>
#include <string>

struct DownloadState {
  std::array<uint8_t, 4> textArea{};
  uint8_t flagByte = 0;
  int32_t status = -1;  // -1 before any download, 0 once one was started
  std::array<int32_t, 5> progress{};
  std::array<std::string, 3> texts;
  int32_t bufferSize = 512;
  std::array<int32_t, 2> counters{};

  // Records the request as started; always succeeds.
  bool Start(const std::string& address, const std::string& second, bool flag, int32_t number);
};

// Lives for the whole run: the title does not replace it.
extern DownloadState Downloads;
