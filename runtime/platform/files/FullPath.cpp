#include "runtime/platform/files/FullPath.h"

#include <cstring>

#include "runtime/ShiftJis.h"
#include "runtime/platform/files/FileAccessTable.h"

namespace {

// Drive letters only exist in paths that carry one ("C:").
size_t DriveLength(const char* path) { return HasDriveLetter(path) ? 2 : 0; }

// The path being built, bounded by its buffer.
struct PathText {
  char text[2 * kFilePathSize];
  size_t length = 0;
  bool overflow = false;

  void Append(const char* bytes, size_t n) {
    if (length + n >= sizeof text) {
      overflow = true;
      return;
    }
    std::memcpy(text + length, bytes, n);
    length += n;
  }
  // Drops the last element, never the drive.
  void DropLastElement(size_t drive) { length = DropLastPathElement(text, length, drive); }
};

}  // namespace

int ConvertFullPath(const char* path, char* result, size_t size, const char* base) {
  char current[kFilePathSize];
  if (!base) {
    if (GetDirVia(current) != 0) return -1;
    base = current;
  }
  PathText out;
  size_t drive = DriveLength(base);
  const char* rest = path;
  if (!path) {
    out.Append(base, std::strlen(base));
  } else if (path[0] == '\\') {
    out.Append(base, drive);
    ++rest;
  } else if (HasDriveLetter(path)) {
    drive = 2;
    out.Append(path, 2);
    rest = path + 2;
    if (*rest == '\\') ++rest;
  } else {
    size_t n = std::strlen(base);
    if (EndsWithSeparator(base)) --n;
    out.Append(base, n);
  }
  // Elements, never split inside a two-byte character.
  while (path && *rest) {
    const char* start = rest;
    rest = PathElementEnd(rest);
    const size_t n = static_cast<size_t>(rest - start);
    const bool last = *rest == '\0';
    if (!last) ++rest;
    if (n == 0) return -1;
    if (!last && n == 1 && start[0] == '.') continue;
    if (!last && n == 2 && start[0] == '.' && start[1] == '.') {
      out.DropLastElement(drive);
      continue;
    }
    out.Append("\\", 1);
    out.Append(start, n);
  }
  if (out.overflow || out.length >= size) return -1;
  std::memcpy(result, out.text, out.length);
  result[out.length] = '\0';
  return 0;
}
