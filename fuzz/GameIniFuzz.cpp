// The player's settings file from any text; the settings written back and
// read again keep the fields that come before the free texts.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/shell/GameIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PlayerSettings read = ParseGameIni(std::string(reinterpret_cast<const char*>(data), size));
  const PlayerSettings again = ParseGameIni(FormatGameIni(read));
  // The proxy texts may hold a later key of their own, so only the fields
  // written before them must survive.
  if (again.start != read.start || again.softMode != read.softMode || again.windowMode != read.windowMode ||
      again.soundSwitch != read.soundSwitch || again.frameSkip != read.frameSkip) {
    std::abort();
  }
  return 0;
}
