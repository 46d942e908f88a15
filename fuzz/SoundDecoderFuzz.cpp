// A sound file from any bytes: whatever the headers, tags, frames and
// packets say, opening, reading in pieces, seeking and decoding whole must
// end and never read out of bounds.

#include <cstdint>
#include <vector>

#include "runtime/platform/sound/SoundDecoder.h"
#include "runtime/platform/base/TrackedAlloc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemStream* stream = MemStreamOpen(data, static_cast<uint32_t>(size));
  SoundDecoder d;
  if (OpenSoundDecoder(GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(stream), &d) == 0) {
    std::vector<unsigned char> buffer(5000);
    int64_t total = 0;
    while (total < (64 << 20)) {
      const int64_t got = ReadSoundDecoder(&d, buffer.data(), static_cast<uint32_t>(buffer.size()));
      if (got <= 0) break;
      total += got;
    }
    d.checkpointTarget = 4096;
    SeekSoundDecoder(&d, 700);
    ReadSoundDecoder(&d, buffer.data(), 3000);
    SeekSoundDecoder(&d, 10);
    ReadSoundDecoder(&d, buffer.data(), 3000);
    unsigned char* pcm = nullptr;
    uint32_t pcmSize = 0;
    WaveFormat format;
    if (DecodeWholeSound(&d, &pcm, &pcmSize, &format) == 0) TrackedFree(pcm);
    CloseSoundDecoder(&d);
  }
  MemStreamClose(reinterpret_cast<StreamHandle>(stream));
  return 0;
}
