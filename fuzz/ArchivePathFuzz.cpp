// Paths into an archive from any bytes: normalising, finding the archive on
// the path, opening and reading the file inside it and searching with the
// path as a pattern must end, stay in their buffers and give back every
// handle, whatever dots, separators, drives and lead bytes the path holds.

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FileLayerReset.h"
#include "runtime/ShiftJis.h"
#include "runtime/platform/archive/ArchivePath.h"
#include "runtime/platform/archive/ArchiveReader.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

const TestDirectory& GameFolder() {
  static const TestDirectory dir;
  return dir;
}

// Opens and searches reach the disk: only paths that stay in the game folder
// are tried (a device or a pipe elsewhere could block).
bool StaysInGameFolder(const char* path) {
  static const std::string folder = [] {
    char normal[kArchivePathSize];
    return NormalizeArchivePath(".", normal, sizeof normal) ? std::string(normal) + "\\" : std::string("?");
  }();
  char normal[kArchivePathSize];
  return NormalizeArchivePath(path, normal, sizeof normal) && std::strncmp(normal, folder.c_str(), folder.size()) == 0;
}

// Absolute, '\' only, no empty, "." or ".." element, no separator at the end
// but for the root.
void CheckNormalised(const char* path, size_t room) {
  char out[kArchivePathSize];
  std::memset(out, 0x7E, sizeof out);
  if (!NormalizeArchivePath(path, out, room)) return;
  const size_t length = strnlen(out, sizeof out);
  if (length >= room || out[0] != '\\') __builtin_trap();
  if (length > 1 && out[length - 1] == '\\' && ShiftJisCutLength(out, length - 1) == length - 1) __builtin_trap();
  for (const char* p = out + 1; *p;) {
    const char* end = PathElementEnd(p);
    const size_t n = static_cast<size_t>(end - p);
    if (n == 0 || *end == '/') __builtin_trap();
    if ((n == 1 && p[0] == '.') || (n == 2 && p[0] == '.' && p[1] == '.')) __builtin_trap();
    p = *end ? end + 1 : end;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const TestDirectory& dir = GameFolder();
  ArchiveWriter writer(3);
  writer.AddFile("BasicData\\Game.dat", "game information", true);
  writer.AddFile("BasicData\\Stored.bin", "stored bytes\r\nsecond line");
  writer.AddFile("MapData\\Sub\\map001.mps", "map one");
  writer.AddFile("\x95\x5C\\\x83\x5C.png", "sjis");
  writer.AddFile("\x81/a.txt", "slash in a character");
  writer.AddFolder("Empty");
  dir.Write("Data.mva", writer.Build());
  dir.Write("Plain/a.txt", "plain");
  if (chdir(dir.Path().c_str()) != 0) __builtin_trap();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetFileLayer();
  const std::string path(reinterpret_cast<const char*>(data), size);
  const char* text = path.c_str();  // up to the first NUL

  for (const size_t room : {kArchivePathSize, size_t{64}, size_t{2}}) CheckNormalised(text, room);

  if (!StaysInGameFolder(text)) return 0;
  const FileHandle file = FileOpenRead(text, 0);
  if (file) {
    char buffer[64];
    for (int i = 0; i < 1024 && FileReadBytes(buffer, sizeof buffer, file) > 0; ++i) {
    }
    FileCloseRead(file);
  }
  (void)FileSizeOf(text);

  FileInfo info;
  const FindHandle find = FindFirstVia(text, &info);
  if (find != -1) {
    if (strnlen(info.name, sizeof info.name) >= sizeof info.name) __builtin_trap();
    for (int i = 0; i < 64 && FindNextVia(find, &info) == 0; ++i) {
    }
    FindCloseVia(find);
  }

  ResetArchiveState();
  if (TrackedBlockCount() != 0) __builtin_trap();
  return 0;
}
