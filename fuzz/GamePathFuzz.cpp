// Game paths from any bytes (a path, a NUL, a base folder): the translation
// to host paths and the absolute form against a base must end and stay in
// their buffers, whatever lead bytes, separators, drives and dots they hold.

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/host/files/GamePath.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/files/FullPath.h"
#include "tests/support/TestDirectory.h"

namespace {

// A small game folder with names in both encodings, as the current folder.
const TestDirectory& GameFolder() {
  static const TestDirectory dir;
  return dir;
}

void CheckFullPath(const char* path, const char* base, size_t size) {
  char out[2 * kFilePathSize];
  std::memset(out, 0x7E, sizeof out);
  if (ConvertFullPath(path, out, size, base) != 0) return;
  if (strnlen(out, sizeof out) >= size) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const TestDirectory& dir = GameFolder();
  dir.Write("Data/BasicData/Game.dat", "x");
  dir.Write("\xe3\x82\xbd/\xe8\xa1\xa8.txt", "utf8");  // the UTF-8 names of 0x83 0x5C and 0x95 0x5C
  dir.Write("Raw/\x95\x5C.DAT", "raw");
  if (chdir(dir.Path().c_str()) != 0) __builtin_trap();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string path = input.substr(0, cut);
  const std::string base = cut == std::string::npos ? std::string() : std::string(input.c_str() + cut + 1);

  const std::string host = HostPathFromGamePath(path.c_str());
  if (host.find('\0') != std::string::npos) __builtin_trap();
  (void)GamePathFromHostPath(host);

  for (const size_t room : {size_t{2 * kFilePathSize}, size_t{kFilePathSize}, size_t{8}, size_t{1}}) {
    CheckFullPath(path.c_str(), base.c_str(), room);
    CheckFullPath(path.c_str(), nullptr, room);
  }
  CheckFullPath(nullptr, base.c_str(), kFilePathSize);
  return 0;
}
