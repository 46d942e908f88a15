#include "tests/support/ManualClockSound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "runtime/host/sound/SoundDevice.h"
#include "runtime/platform/sound/SoundHandle.h"
#include "runtime/platform/sound/SoundSystem.h"

ManualClockSound::ManualClockSound() {
  HostSoundSetOutput(HostSoundOutput::kManualClock);
  InitSoundSystem();
}

ManualClockSound::~ManualClockSound() {
  TermSoundSystem();
  HostSoundSetOutput(HostSoundOutput::kSdl);
}

std::vector<int16_t> ManualClockSound::Mix(uint32_t ms) {
  std::vector<int16_t> out;
  uint32_t frames = ms * 441 / 10;
  while (frames > 0) {
    const uint32_t n = std::min<uint32_t>(frames, 735);
    std::vector<int16_t> part(n * 2);
    HostSoundMixManual(part.data(), n);
    out.insert(out.end(), part.begin(), part.end());
    RefillAllStreamSounds();
    frames -= n;
  }
  return out;
}

int ManualClockSound::Peak(uint32_t ms) {
  int peak = 0;
  for (int16_t s : Mix(ms)) peak = std::max(peak, std::abs(int{s}));
  return peak;
}

int32_t ManualClockSound::VolumeOf(int handle) {
  SoundHandle* sound = FindSound(handle);
  if (!sound || !sound->buffers[0].buffer) return 1;
  return HostSoundGetVolume(sound->buffers[0].buffer);
}

int32_t ManualClockSound::VolumeToHundredthsDb(int volume) {
  if (volume <= 0) return -10000;
  const double db = 1000.0 * std::log10(std::min(volume, 255) / 255.0);
  return std::max(static_cast<int32_t>(db), -10000);
}
