#include "engine/events/variables/RootEventRunner.h"

#include "engine/events/EventArithmetic.h"
#include "engine/services/StartupSettings.h"
#include "engine/sound/RunnerSounds.h"

RootEventRunner RootRunner;

namespace {

// The sound manager, a floor below, remembers the sounds playing in the
// running game's root runner.
RunnerSounds RootRunnerSounds() {
  RootEventRunner& r = RootRunner;
  return {{&r.currentMusicEntry, &r.currentBackgroundSoundEntry},
          r.soundValues,
          {&r.musicFileName, &r.backgroundSoundFileName},
          {r.musicParameters, r.backgroundSoundParameters}};
}
const bool kRunnerSoundsInstalled = (SetRunnerSoundsSource(RootRunnerSounds), true);

}  // namespace

RootEventRunner::RootEventRunner() { SetMessageMetrics(); }

void RootEventRunner::SetMessageMetrics() {
  const int32_t unit = TileUnit;
  messageFontSize = unit == 32 ? 22 : 12;
  messageWindowX = WrapToInt16(int64_t{unit} * 10);
  // Tenths in integers: the products with 4.3, 4.7 and 12.5 truncate.
  messageWindowY = WrapToInt16(int64_t{unit} * 43 / 10);
  textEntryX = WrapToInt16(int64_t{unit} * 47 / 10);
  textEntryY = WrapToInt16(int64_t{unit} * 125 / 10);
  frameCounter = 0;
  for (int32_t& value : soundValues) value = 100;
}

void RootEventRunner::SetToneTarget(int16_t r, int16_t g, int16_t b, int32_t frames) {
  for (int i = 0; i < 3; ++i) startTone[i] = currentTone[i];
  targetTone[0] = r;
  targetTone[1] = g;
  targetTone[2] = b;
  toneCounter = toneTotal = WrapToInt16(int64_t{frames} + 1);
}

void RootEventRunner::SetFlash(int16_t r, int16_t g, int16_t b, int32_t frames) {
  flashColor[0] = r;
  flashColor[1] = g;
  flashColor[2] = b;
  flashCounter = flashTotal = WrapToInt16(int64_t{frames} + 1);
}
