#pragma once
// The file-name pattern match of directory searches, on disk and inside
// archives: '*' any run of bytes, '?' any one byte, a two-byte character only
// as a whole. Callers raise both texts to upper case first.

#include "runtime/ShiftJis.h"

// 0 when the name matches the pattern, -1 when not. A '*' is tried at every
// length, so "*.PNG" matches "A.B.PNG".
inline int MatchWildcard(const char* pattern, const char* name) {
  const char* starPattern = nullptr;  // just after the last '*' run
  const char* starName = nullptr;     // where that run's match ends now
  const char* p = pattern;
  const char* n = name;
  for (;;) {
    if (*p == '*') {
      while (*p == '*') ++p;
      if (*p == '\0') return 0;
      starPattern = p;
      starName = n;
      continue;
    }
    if (*n == '\0') {
      if (*p == '\0') return 0;
    } else {
      const int pl = ShiftJisCharLength(p);
      const int nl = ShiftJisCharLength(n);
      if (pl == 1 && *p == '?') {
        ++p;
        ++n;
        continue;
      }
      if (pl > 0 && pl == nl && p[0] == n[0] && (pl == 1 || p[1] == n[1])) {
        p += pl;
        n += nl;
        continue;
      }
    }
    // Mismatch: let the last '*' take one more character of the name.
    if (!starPattern || *starName == '\0') return -1;
    starName += ShiftJisCharLength(starName);
    p = starPattern;
    n = starName;
  }
}
