#include "runtime/host/system/DebugOutput.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/host/system/TextConversion.h"

bool HostDebugOutputEnabled() {
  static const bool enabled = [] {
    const char* v = std::getenv("MOVAN_DEBUG_OUTPUT");
    return v != nullptr && v[0] != '\0';
  }();
  return enabled;
}

void HostDebugOutput(const char* cp932Text) {
  if (!HostDebugOutputEnabled()) return;
  const std::string utf8 = Cp932ToUtf8(cp932Text);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}
