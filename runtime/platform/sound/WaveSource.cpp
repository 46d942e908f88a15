// The two WAV openers: PCM read straight from the stream, and any other
// format converted through a conversion stream.

#include <algorithm>
#include <cstring>

#include "runtime/platform/sound/SoundSources.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// Anything longer is no fmt chunk of a real file.
constexpr uint32_t kMaxFmtChunkBytes = 65536;

// The fmt and data chunks of a WAV stream. fmt is a tracked block.
struct WaveChunks {
  unsigned char* fmt = nullptr;
  uint32_t fmtSize = 0;
  WaveFormat format;
};

bool ReadExact(SoundDecoder* d, void* buffer, size_t n) { return d->ops.read(buffer, 1, n, d->stream) == n; }

// "RIFF", "WAVE", the fmt chunk right after, then chunks up to "data". The
// header's counts are checked and the data size clamped to the stream.
int ReadWaveChunks(SoundDecoder* d, WaveChunks* w) {
  const int64_t streamSize = StreamByteSize(d->ops, d->stream);
  if (streamSize < 0) return -1;
  unsigned char header[12];
  if (!ReadExact(d, header, 8) || std::memcmp(header, "RIFF", 4) != 0) return -1;
  if (!ReadExact(d, header, 4) || std::memcmp(header, "WAVE", 4) != 0) return -1;
  if (!ReadExact(d, header, 8) || std::memcmp(header, "fmt ", 4) != 0) return -1;
  const uint32_t fmtSize = ReadLe32(header + 4);
  if (fmtSize < 16 || fmtSize > kMaxFmtChunkBytes) return -1;
  w->fmt = static_cast<unsigned char*>(TrackedAllocZero(std::max<uint32_t>(fmtSize, kWaveFormatBytes), __FILE__, __LINE__));
  if (!w->fmt) return -1;
  w->fmtSize = fmtSize;
  if (!ReadExact(d, w->fmt, fmtSize)) return -1;
  WaveFormat& f = w->format;
  f = WaveFormatFromBytes(w->fmt, fmtSize);
  if (f.channels == 0 || f.blockAlign == 0 || f.samplesPerSec == 0 || f.avgBytesPerSec == 0) return -1;
  if (fmtSize == 16 && f.formatTag == kWaveFormatPcm) {
    f.bitsPerSample = static_cast<uint16_t>(f.blockAlign / f.channels * 8);
    f.extraSize = 0;
  }
  // The fmt chunk's padding byte, when its size is odd.
  if (fmtSize & 1) d->ops.seek(d->stream, 1, 1);
  for (;;) {
    if (!ReadExact(d, header, 8)) return -1;
    const uint32_t size = ReadLe32(header + 4);
    if (std::memcmp(header, "data", 4) == 0) {
      d->dataStart = d->ops.tell(d->stream);
      d->dataSize = std::min<uint64_t>(size, static_cast<uint64_t>(std::max<int64_t>(streamSize - d->dataStart, 0)));
      return 0;
    }
    const int64_t next = d->ops.tell(d->stream) + ((static_cast<int64_t>(size) + 1) & ~int64_t{1});
    if (next >= streamSize || d->ops.seek(d->stream, next, 0) != 0) return -1;
  }
}

}  // namespace

int OpenPcmWaveDecoder(SoundDecoder* d) {
  WaveChunks w;
  const int result = ReadWaveChunks(d, &w);
  TrackedFree(w.fmt);
  const WaveFormat f = w.format;
  if (result != 0 || f.formatTag != kWaveFormatPcm) return -1;
  // Timing and the ring follow the samples, whatever the header claims.
  const uint64_t bytesPerSecond = uint64_t{f.samplesPerSec} * f.blockAlign;
  if (bytesPerSecond > kMaxSoundBlockBytes) return -1;
  d->type = kSoundSourcePcm;
  d->output = f;
  d->output.avgBytesPerSec = static_cast<uint32_t>(bytesPerSecond);
  d->output.extraSize = 0;
  d->dataSize -= d->dataSize % f.blockAlign;
  d->blockSize = d->output.avgBytesPerSec;
  d->ops.seek(d->stream, d->dataStart, 0);
  return 0;
}

int ReadPcmBlock(SoundDecoder* d) {
  const int64_t remaining = d->dataStart + static_cast<int64_t>(d->dataSize) - d->ops.tell(d->stream);
  if (remaining <= 0) return -1;
  const size_t want = static_cast<size_t>(std::min<int64_t>(remaining, d->blockSize));
  const size_t got = d->ops.read(d->block, 1, want, d->stream);
  // A stream shorter than its header said ends here.
  if (got == 0) return -1;
  d->available = static_cast<uint32_t>(got);
  return 0;
}

int OpenAcmWaveDecoder(SoundDecoder* d) {
  WaveChunks w;
  if (ReadWaveChunks(d, &w) != 0 || w.format.formatTag == kWaveFormatPcm) {
    TrackedFree(w.fmt);
    return -1;
  }
  d->sourceFormat = w.fmt;
  d->sourceFormatSize = std::max<uint32_t>(w.fmtSize, kWaveFormatBytes);
  WaveFormat pcm;
  if (!HostConverterSuggestPcm(d->sourceFormat, d->sourceFormatSize, &pcm) ||
      pcm.avgBytesPerSec > kMaxSoundBlockBytes) {
    ReleaseAcmSource(d);
    return -1;
  }
  d->totalSamples = -1;
  d->sourceChunk = std::max<uint32_t>(2048, w.format.blockAlign);
  return StartAcmConversion(d, pcm, pcm.avgBytesPerSec);
}
