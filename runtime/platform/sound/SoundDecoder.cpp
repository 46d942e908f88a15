#include "runtime/platform/sound/SoundDecoder.h"

#include <algorithm>
#include <cstring>

#include "runtime/platform/sound/SoundSources.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// A whole decode starts with at most this much and grows as the data asks,
// so that a size estimate from a damaged header costs no memory.
constexpr uint64_t kFirstWholeDecodeBytes = 32u << 20;

int RefillBlock(SoundDecoder* d) {
  switch (d->type) {
    case kSoundSourcePcm: return ReadPcmBlock(d);
    case kSoundSourceConverted: return ConvertAcmBlock(d);
    default: return ReadOggBlock(d);
  }
}

void ReleaseDecoder(SoundDecoder* d) {
  TrackedFree(d->block);
  d->block = nullptr;
  if (d->type == kSoundSourceConverted) ReleaseAcmSource(d);
  if (d->type == kSoundSourceOgg) CloseOggDecoder(d);
  d->valid = 0;
}

}  // namespace

int OpenSoundDecoder(const StreamOps* ops, StreamHandle stream, SoundDecoder* d) {
  *d = SoundDecoder();
  d->ops = *ops;
  d->stream = stream;
  d->checkpointTarget = 0;
  int (*const openers[])(SoundDecoder*) = {OpenPcmWaveDecoder, OpenAcmWaveDecoder, OpenOggDecoder,
                                           OpenMpegAudioDecoder};
  bool opened = false;
  for (auto opener : openers) {
    d->ops.seek(d->stream, 0, 0);
    if (opener(d) == 0) {
      opened = true;
      break;
    }
  }
  if (!opened) return -1;
  d->block = static_cast<unsigned char*>(TrackedAlloc(d->blockSize, __FILE__, __LINE__));
  if (!d->block) {
    ReleaseDecoder(d);
    return -1;
  }
  d->available = 0;
  d->readOffset = 0;
  d->position = 0;
  d->endFlag = 0;
  d->valid = 1;
  return 0;
}

int64_t ReadSoundDecoder(SoundDecoder* d, void* destination, uint32_t n) {
  if (!d->valid) return -1;
  if (n == 0 || d->endFlag) return 0;
  unsigned char* out = static_cast<unsigned char*>(destination);
  uint32_t copied = 0;
  while (copied < n) {
    if (d->available == 0) {
      d->readOffset = 0;
      if (RefillBlock(d) < 0) {
        d->available = 0;
        d->endFlag = 1;
        return copied;
      }
    }
    const uint32_t k = std::min(d->available, n - copied);
    std::memcpy(out + copied, d->block + d->readOffset, k);
    d->readOffset += k;
    d->available -= k;
    d->position += k;
    copied += k;
  }
  return copied;
}

int SeekSoundDecoder(SoundDecoder* d, int64_t sample) {
  if (!d->valid) return -1;
  const uint64_t target = static_cast<uint64_t>(std::max<int64_t>(sample, 0)) * d->output.blockAlign;
  const uint64_t distance = target > d->position ? target - d->position : d->position - target;
  if (distance < 16) return 0;
  switch (d->type) {
    case kSoundSourcePcm:
      d->ops.seek(d->stream, d->dataStart + static_cast<int64_t>(target), 0);
      d->position = target;
      d->available = 0;
      break;
    case kSoundSourceOgg:
      SeekOggDecoder(d, sample);
      d->position = target;
      d->available = 0;
      break;
    default:
      SeekAcmDecoder(d, target);
      break;
  }
  d->endFlag = 0;
  return 0;
}

const WaveFormat& GetSoundDecoderFormat(const SoundDecoder* d) { return d->output; }

uint64_t GetSoundDecoderPcmSize(const SoundDecoder* d) {
  switch (d->type) {
    case kSoundSourcePcm: return d->dataSize;
    case kSoundSourceConverted:
      if (d->totalSamples >= 0) return static_cast<uint64_t>(d->totalSamples) * d->output.blockAlign;
      return HostConverterOutputSize(d->mainConverter, d->compressedSize);
    default: return d->dataSize + uint64_t{44100} * d->output.channels * 2;
  }
}

int DecodeWholeSound(SoundDecoder* d, unsigned char** pcm, uint32_t* size, WaveFormat* format) {
  if (!d->valid) return -1;
  const uint64_t estimate = GetSoundDecoderPcmSize(d);
  uint64_t capacity = std::min(estimate, kFirstWholeDecodeBytes);
  if (d->type == kSoundSourcePcm) capacity = estimate;
  if (capacity > UINT32_MAX - 1) return -1;
  unsigned char* out = static_cast<unsigned char*>(TrackedAlloc(capacity ? capacity : 1, __FILE__, __LINE__));
  if (!out) return -1;
  SeekSoundDecoder(d, 0);
  uint64_t count = 0;
  if (d->type == kSoundSourcePcm) {
    d->ops.seek(d->stream, d->dataStart, 0);
    count = capacity ? d->ops.read(out, 1, capacity, d->stream) : 0;
  } else {
    for (;;) {
      const int64_t got = ReadSoundDecoder(d, out + count, static_cast<uint32_t>(capacity - count));
      if (got > 0) count += static_cast<uint64_t>(got);
      if (count < capacity || d->endFlag || got <= 0) break;
      // Filled while more data follows: a larger block.
      const uint64_t grown = capacity + std::max<uint64_t>(capacity / 2, d->output.avgBytesPerSec);
      if (grown > UINT32_MAX - 1) break;
      unsigned char* larger = static_cast<unsigned char*>(TrackedRealloc(out, grown, __FILE__, __LINE__));
      if (!larger) break;
      out = larger;
      capacity = grown;
    }
  }
  *pcm = out;
  *size = static_cast<uint32_t>(count);
  *format = d->output;
  return 0;
}

int CloseSoundDecoder(SoundDecoder* d) {
  if (!d->valid) return -1;
  ReleaseDecoder(d);
  return 0;
}
