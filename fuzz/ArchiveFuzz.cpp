// An archive from any bytes: opening it and reading every entry, with seeks,
// must never read out of bounds, whatever the header, tables and code say.

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FileLayerReset.h"
#include "runtime/Movan.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr int kMaxDepth = 6;

void ReadFile(const std::string& name) {
  const FileHandle file = FileOpenRead(name.c_str(), 0);
  if (!file) return;
  std::vector<char> buffer(4096);
  while (FileReadBytes(buffer.data(), buffer.size(), file) > 0) {
  }
  FileSeekVia(file, -7, 2);
  FileReadBytes(buffer.data(), 100, file);
  FileSeekVia(file, 3, 0);
  char line[64];
  FileReadLine(line, sizeof line, file);
  FileCloseRead(file);
}

void Walk(const std::string& folder, int depth) {
  FileInfo info;
  const FindHandle find = FindFirstVia((folder + "\\*").c_str(), &info);
  if (find == -1) return;
  std::vector<std::pair<std::string, bool>> items;
  do {
    const std::string name = info.name;
    if (name != "." && name != "..") items.emplace_back(folder + "\\" + name, info.isDirectory != 0);
  } while (FindNextVia(find, &info) == 0);
  FindCloseVia(find);
  for (const auto& [path, isFolder] : items) {
    if (isFolder && depth < kMaxDepth) {
      Walk(path, depth + 1);
    } else if (!isFolder) {
      ReadFile(path);
    }
  }
}

// The game folder of the inputs; absolute, since libFuzzer's own paths are
// relative to the current folder.
const TestDirectory& GameFolder() {
  static const TestDirectory dir;
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetFileLayer("zema");
  GameFolder().Write("Data.zema", std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string folder = GameFolder().Path() + "\\Data";
  Walk(folder, 0);
  ReadFile(folder + "\\BasicData\\Game.dat");
  ResetArchiveState();
  // Everything the input opened is given back.
  if (TrackedBlockCount() != 0) __builtin_trap();
  return 0;
}
