#include "runtime/platform/files/GameFolderWritePath.h"

#include <cstring>

#include "runtime/ShiftJis.h"

bool IsGameFolderWritePath(const char* path) {
  if (!path || path[0] == '\0' || IsPathSeparator(path[0]) || HasDriveLetter(path)) return false;
  for (const char* p = path;;) {
    const char* end = PathElementEnd(p);
    if (end - p == 2 && std::strncmp(p, "..", 2) == 0) return false;
    if (!*end) return true;
    p = end + 1;
  }
}
