// Lines of a plain file from any bytes (the first byte picks the line buffer
// size): each line must fit its buffer with its NUL and move the file on.

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FileLayerReset.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/support/TestDirectory.h"

namespace {

const TestDirectory& GameFolder() {
  static const TestDirectory dir;
  return dir;
}

constexpr size_t kSizes[] = {1, 2, 3, 5, 16, 255, 4096};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (chdir(GameFolder().Path().c_str()) != 0) __builtin_trap();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ResetFileLayer();
  const size_t lineSize = kSizes[data[0] % (sizeof kSizes / sizeof kSizes[0])];
  GameFolder().Write("lines.txt", std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

  const FileHandle file = FileOpenRead("lines.txt", 0);
  if (!file) __builtin_trap();
  std::vector<char> line(lineSize + 1, 0x7E);
  // Every line read moves the file on, so the lines end.
  for (size_t i = 0;; ++i) {
    if (i > size) __builtin_trap();
    const int64_t before = FileTellVia(file);
    const int length = FileReadLine(line.data(), lineSize, file);
    if (length < 0) break;
    if (FileTellVia(file) <= before) __builtin_trap();
    if (static_cast<size_t>(length) >= lineSize || line[static_cast<size_t>(length)] != '\0') __builtin_trap();
    if (line[lineSize] != 0x7E) __builtin_trap();
  }
  FileCloseRead(file);
  if (TrackedBlockCount() != 0) __builtin_trap();
  return 0;
}
