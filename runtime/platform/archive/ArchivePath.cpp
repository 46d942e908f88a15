#include "runtime/platform/archive/ArchivePath.h"

#include <cstring>

#include "runtime/ShiftJis.h"
#include "runtime/host/files/HostDirectory.h"
#include "runtime/platform/archive/ArchiveReader.h"

namespace {

// Appends the elements of path to result (length *used), dropping empty and
// "." elements and going up for "..".
bool AppendElements(const char* path, char* result, size_t size, size_t* used) {
  const char* p = path;
  while (*p) {
    const char* start = p;
    p = PathElementEnd(p);
    const size_t length = static_cast<size_t>(p - start);
    if (*p) ++p;
    if (length == 0 || (length == 1 && start[0] == '.')) continue;
    if (length == 2 && start[0] == '.' && start[1] == '.') {
      *used = DropLastPathElement(result, *used, 0);
      continue;
    }
    if (*used + 1 + length + 1 > size) return false;
    result[(*used)++] = '\\';
    std::memcpy(result + *used, start, length);
    *used += length;
  }
  return true;
}

}  // namespace

bool NormalizeArchivePath(const char* path, char* result, size_t size) {
  size_t used = 0;
  const char* rest = path;
  if (IsPathSeparator(path[0])) {
    while (IsPathSeparator(*rest)) ++rest;
  } else if (HasDriveLetter(path)) {
    rest = path + 2;
  } else {
    char current[kArchivePathSize];
    if (!HostGetCurrentDirectory(current, sizeof current) || !AppendElements(current, result, size, &used)) {
      return false;
    }
  }
  if (!AppendElements(rest, result, size, &used)) return false;
  if (used == 0) {
    if (size < 2) return false;
    result[used++] = '\\';
  }
  result[used] = '\0';
  return true;
}
