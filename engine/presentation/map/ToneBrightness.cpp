#include "engine/presentation/map/ToneBrightness.h"

#include "engine/events/variables/RootEventRunner.h"
#include "runtime/Movan.h"

namespace {

int ChannelBrightness(int16_t tone) { return tone < 0 ? 255 + tone : 255; }

}  // namespace

void ApplyToneBeforeMap() {
  const int16_t* tone = RootRunner.currentTone;
  if (tone[0] > 0 && tone[1] > 0 && tone[2] > 0) return;
  RestoreToneBrightness();
}

void RestoreToneBrightness() {
  const int16_t* tone = RootRunner.currentTone;
  SetDrawBrightness(ChannelBrightness(tone[0]), ChannelBrightness(tone[1]), ChannelBrightness(tone[2]));
}
