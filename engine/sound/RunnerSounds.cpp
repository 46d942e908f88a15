#include "engine/sound/RunnerSounds.h"

namespace {

struct OwnRecord {
  int32_t currentEntry[2] = {-1, -1};
  int32_t masterVolume[3] = {100, 100, 100};
  std::string fileName[2];
  int32_t values[2][3] = {};
};

RunnerSounds OwnSounds() {
  static OwnRecord own;
  return {{&own.currentEntry[0], &own.currentEntry[1]},
          own.masterVolume,
          {&own.fileName[0], &own.fileName[1]},
          {own.values[0], own.values[1]}};
}

RunnerSounds (*gSource)() = OwnSounds;

}  // namespace

RunnerSounds LiveRunnerSounds() { return gSource(); }

void SetRunnerSoundsSource(RunnerSounds (*source)()) { gSource = source ? source : OwnSounds; }
