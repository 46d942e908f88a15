// Sound loading above the decoder from any bytes (SoundLoadingInput.h):
// plain and stream sounds in every load mode, further sources, loop starts,
// positions, playing through the mixer with refills, and WAV images built
// around PCM must end, stay in bounds and give back their memory.

#include <cstdint>
#include <vector>

#include "fuzz/SoundLoadingInput.h"
#include "runtime/Movan.h"
#include "runtime/host/sound/SoundDevice.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "runtime/platform/sound/SoundFileImage.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "runtime/platform/sound/StreamSound.h"

namespace {

// Plays frames of output a 60th of a second at a time, refilling the stream
// sounds as the message pump does.
void Play(uint32_t frames) {
  std::vector<int16_t> out(2 * 735);
  while (frames > 0) {
    const uint32_t n = frames < 735 ? frames : 735;
    HostSoundMixManual(out.data(), n);
    RefillAllStreamSounds();
    frames -= n;
  }
}

void LoadAndPlay(const SoundLoadingInput& in) {
  SetSoundLoadMode(in.loadMode);
  const int handle = CreateSoundFromMemory(in.files[0].data(), in.files[0].size(), 1, -1);
  if (handle < 0) return;
  if (in.flags & 4) {
    for (int i = 1; i < 3; ++i) {
      AddStreamSoundFromMemory(in.files[i].data(), static_cast<uint32_t>(in.files[i].size()), i - 1, handle, 2, -1);
    }
  }
  if (in.flags & 2) SetSoundLoopStartMs(in.loopStartMs, handle);
  const int length = GetSoundLengthMs(handle);
  StartSound(handle, (in.flags & 1) ? 3 : 1, 1);
  Play(3 * 735);
  if (in.flags & 8) {
    SetSoundPlayTime(length > 0 ? length / 2 : in.loopStartMs, handle);
    Play(2 * 735);
  }
  GetSoundPlayTime(handle);
  HaltSound(handle);
  DeleteSound(handle, 0);
}

// A WAV image around the bytes of the second file, in the format the first
// file's first 18 bytes give, loaded as a plain sound.
void BuildAndLoad(const SoundLoadingInput& in) {
  const WaveFormat format =
      WaveFormatFromBytes(reinterpret_cast<const unsigned char*>(in.files[0].data()), in.files[0].size());
  uint32_t imageSize = 0;
  unsigned char* image = BuildWaveImage(format, reinterpret_cast<const unsigned char*>(in.files[1].data()),
                                        static_cast<uint32_t>(in.files[1].size()), &imageSize);
  if (!image) return;
  if (imageSize != in.files[1].size() + 46) __builtin_trap();
  SetSoundLoadMode(0);
  const int handle = CreateSoundFromMemory(image, imageSize, 1, -1);
  if (handle >= 0) DeleteSound(handle, 0);
  TrackedFree(image);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  HostSoundSetOutput(HostSoundOutput::kManualClock);
  SetSoundPumpHook([] { return -1; });  // no foreground wait lasts
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kSoundLoadingHeadSize) return 0;
  const SoundLoadingInput in = ParseSoundLoadingInput(data, size);
  // A fresh sound system for every input: handles, ring and mixer start over.
  if (InitSoundSystem() != 0) __builtin_trap();
  LoadAndPlay(in);
  BuildAndLoad(in);
  TermSoundSystem();
  if (TrackedBlockCount() != 0) __builtin_trap();
  return 0;
}
