#pragma once
// The data readers report damage through message boxes, the error screen
// and process exit. Under the fuzzer none of them may show or end anything:
// the exit hook throws ReaderExited, which ReadFuzzInput catches.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"
#include "tests/support/ByteWriter.h"

struct ReaderExited {};

inline void SilenceDataReaderReports() {
  static const bool installed = [] {
    SetMessageBoxHook([](const char*, const char*) {});
    SetErrorScreenHandler([](const std::string&, const std::string&, const std::string&) {});
    SetExitProgramHook([](int) { throw ReaderExited{}; });
    return true;
  }();
  (void)installed;
}

// Hands the input to read(cursor) in a FileBuffer (or the cursor asked for),
// with the reports silenced; a process exit (a checksum mismatch, a missing
// file) ends the read.
template <typename Cursor = FileBuffer, typename Read>
void ReadFuzzInput(const uint8_t* data, size_t size, Read read) {
  SilenceDataReaderReports();
  Cursor in = BufferOf<Cursor>(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    read(in);
  } catch (const ReaderExited&) {
  }
}
