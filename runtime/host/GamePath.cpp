#include "runtime/host/GamePath.h"

#include "runtime/ShiftJis.h"
#include "runtime/host/TextConversion.h"

std::string HostPathFromGamePath(const char* gamePath) {
  std::string cp932;
  for (const char* p = gamePath; *p;) {
    const int n = ShiftJisCharLength(p);
    if (n == 1 && *p == '\\') {
      cp932.push_back('/');
    } else {
      cp932.append(p, static_cast<size_t>(n));
    }
    p += n;
  }
  return Cp932ToUtf8(cp932);
}
