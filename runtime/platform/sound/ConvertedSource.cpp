// Converted sources (compressed WAV and MPEG audio files): the compressed
// data is held whole and converted a chunk at a time. A second conversion
// stream, the checkpoint, follows the first to within 10240 output bytes
// before the loop start, so that a jump back to the loop start converts
// little instead of starting over. Only sources given a loop start open it.

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/platform/sound/MpegAudioFrames.h"
#include "runtime/platform/sound/SoundSources.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr uint64_t kCheckpointLead = 10240;
constexpr uint32_t kMpegChunk = 2048;

// Closes the converter, if any, and opens a fresh one (null on failure).
void Reopen(SoundDecoder* d, HostAudioConverter** converter) {
  HostConverterClose(*converter);
  *converter = HostConverterOpen(d->sourceFormat, d->sourceFormatSize, d->output);
}

// Reads through the stream in blocks, for the frame walk.
class ByteScanner {
 public:
  ByteScanner(SoundDecoder* d, int64_t limit) : d_(d), limit_(limit) {}

  // The byte at pos, or -1 at the limit or the end of the stream.
  int At(int64_t pos) {
    if (pos < 0 || pos >= limit_) return -1;
    if (pos < start_ || pos >= start_ + length_) {
      if (d_->ops.seek(d_->stream, pos, 0) != 0) return -1;
      start_ = pos;
      length_ = static_cast<int64_t>(d_->ops.read(buffer_, 1, sizeof buffer_, d_->stream));
      if (length_ <= 0) return -1;
    }
    return buffer_[pos - start_];
  }

 private:
  SoundDecoder* d_;
  int64_t limit_;
  int64_t start_ = 0;
  int64_t length_ = 0;
  unsigned char buffer_[4096];
};

struct MpegLayout {
  int64_t dataStart = -1;
  int64_t dataEnd = 0;
  int64_t totalSamples = 0;
  unsigned char firstHeader[4] = {};
};

// Where the audio lies: after an ID3v2 tag, before an ID3v1 tag, from the
// first frame header to the end of the last frame.
int WalkMpegFrames(SoundDecoder* d, MpegLayout* layout) {
  const int64_t size = StreamByteSize(d->ops, d->stream);
  if (size < 0) return -1;
  unsigned char tag[10] = {};
  int64_t start = 0;
  if (d->ops.read(tag, 1, 3, d->stream) == 3 && std::memcmp(tag, "ID3", 3) == 0 &&
      d->ops.read(tag + 3, 1, 7, d->stream) == 7) {
    const int64_t s = (tag[6] & 0x7F) << 21 | (tag[7] & 0x7F) << 14 | (tag[8] & 0x7F) << 7 | (tag[9] & 0x7F);
    start = s + 10;
    if (tag[3] == 4 && (tag[5] & 0x10)) start += 10;
  }
  int64_t end = size;
  if (size > 128 && d->ops.seek(d->stream, size - 128, 0) == 0 && d->ops.read(tag, 1, 3, d->stream) == 3 &&
      std::memcmp(tag, "TAG", 3) == 0) {
    end = size - 128;
  }
  ByteScanner scan(d, end);
  int64_t pos = start;
  for (;;) {
    const int b0 = scan.At(pos);
    if (b0 < 0) break;
    if (b0 != 0xFF) {
      ++pos;
      continue;
    }
    const int b1 = scan.At(pos + 1);
    if (b1 < 0) break;
    if (b1 < 0xF0) {
      pos += 2;
      continue;
    }
    const int b2 = scan.At(pos + 2);
    const int b3 = scan.At(pos + 3);
    if (b2 < 0 || b3 < 0) break;
    const unsigned char bytes[4] = {0xFF, static_cast<unsigned char>(b1), static_cast<unsigned char>(b2),
                                    static_cast<unsigned char>(b3)};
    MpegFrameHeader header;
    if (ParseMpegFrameHeader(bytes, &header) != 0) return -1;
    if (layout->dataStart < 0) {
      layout->dataStart = pos;
      std::memcpy(layout->firstHeader, bytes, 4);
    }
    layout->totalSamples += header.samples;
    const int64_t frameEnd = pos + header.frameBytes;
    layout->dataEnd = std::min(frameEnd, end);
    if (frameEnd >= end) break;
    pos = frameEnd;
  }
  return layout->dataStart < 0 ? -1 : 0;
}

// The format block that declares the data MPEG Layer III.
void BuildMpegSourceFormat(const MpegFrameHeader& h, unsigned char out[30]) {
  WaveFormat f;
  f.formatTag = kWaveFormatMpegLayer3;
  f.channels = static_cast<uint16_t>(h.channels);
  f.samplesPerSec = static_cast<uint32_t>(h.sampleRate);
  f.avgBytesPerSec = static_cast<uint32_t>(h.bitRateKbps * 1000 / 8);
  f.blockAlign = 1;
  f.bitsPerSample = 0;
  f.extraSize = 12;
  WaveFormatToBytes(f, out);
  WriteLe16(out + 18, 1);  // MPEG id
  WriteLe32(out + 20, static_cast<uint32_t>(h.padding));
  WriteLe16(out + 24, static_cast<uint16_t>(h.frameBytes));
  WriteLe16(out + 26, 1);    // frames per block
  WriteLe16(out + 28, 700);  // codec delay
}

// One conversion of the next source chunk; false when the converter refuses.
bool ConvertChunk(SoundDecoder* d, HostAudioConverter* c, uint32_t* sourceUsed, unsigned char* dst, uint64_t dstSize,
                  uint64_t* produced) {
  const uint32_t n = std::min(d->sourceChunk, d->compressedSize - *sourceUsed);
  size_t used = 0;
  size_t made = 0;
  if (!HostConverterConvert(c, d->compressed + *sourceUsed, n, dst, static_cast<size_t>(dstSize), &used, &made)) {
    return false;
  }
  *sourceUsed += static_cast<uint32_t>(used);
  *produced = made;
  return true;
}

// The checkpoint from the start of the data, its converter and scratch block
// made on first use. Without memory for them it stays closed, and a jump
// back converts from the start instead.
void RestartCheckpoint(SoundDecoder* d) {
  d->checkpointSourceUsed = 0;
  d->checkpointOutput = 0;
  if (!d->checkpointScratch) {
    d->checkpointScratch = static_cast<unsigned char*>(TrackedAlloc(d->blockSize, __FILE__, __LINE__));
    if (!d->checkpointScratch) return;
  }
  Reopen(d, &d->checkpointConverter);
}

}  // namespace

int StartAcmConversion(SoundDecoder* d, const WaveFormat& pcm, uint64_t blockBytes) {
  d->type = kSoundSourceConverted;
  d->output = pcm;
  d->compressedSize = static_cast<uint32_t>(d->dataSize);
  d->compressed = static_cast<unsigned char*>(TrackedAlloc(d->compressedSize ? d->compressedSize : 1, __FILE__, __LINE__));
  if (!d->compressed) {
    ReleaseAcmSource(d);
    return -1;
  }
  d->ops.seek(d->stream, d->dataStart, 0);
  d->compressedSize = static_cast<uint32_t>(d->ops.read(d->compressed, 1, d->compressedSize, d->stream));
  d->mainConverter = HostConverterOpen(d->sourceFormat, d->sourceFormatSize, pcm);
  if (d->mainConverter) {
    blockBytes = std::max(blockBytes, HostConverterOutputSize(d->mainConverter, d->sourceChunk));
  }
  d->blockSize = static_cast<uint32_t>(std::min(blockBytes, kMaxSoundBlockBytes));
  if (!d->mainConverter || d->blockSize == 0) {
    ReleaseAcmSource(d);
    return -1;
  }
  return 0;
}

void ReleaseAcmSource(SoundDecoder* d) {
  TrackedFree(d->sourceFormat);
  d->sourceFormat = nullptr;
  HostConverterClose(d->mainConverter);
  HostConverterClose(d->checkpointConverter);
  d->mainConverter = nullptr;
  d->checkpointConverter = nullptr;
  TrackedFree(d->compressed);
  d->compressed = nullptr;
  TrackedFree(d->checkpointScratch);
  d->checkpointScratch = nullptr;
}

int OpenMpegAudioDecoder(SoundDecoder* d) {
  MpegLayout layout;
  if (WalkMpegFrames(d, &layout) != 0) return -1;
  MpegFrameHeader first;
  ParseMpegFrameHeader(layout.firstHeader, &first);
  d->sourceFormatSize = 30;
  d->sourceFormat = static_cast<unsigned char*>(TrackedAllocZero(d->sourceFormatSize, __FILE__, __LINE__));
  if (!d->sourceFormat) return -1;
  BuildMpegSourceFormat(first, d->sourceFormat);
  d->dataStart = layout.dataStart;
  d->dataSize = static_cast<uint64_t>(layout.dataEnd - layout.dataStart);
  d->totalSamples = layout.totalSamples;
  d->sourceChunk = kMpegChunk;
  WaveFormat pcm;
  if (d->dataSize > UINT32_MAX || !HostConverterSuggestPcm(d->sourceFormat, d->sourceFormatSize, &pcm)) {
    ReleaseAcmSource(d);
    return -1;
  }
  return StartAcmConversion(d, pcm, uint64_t{4} * pcm.avgBytesPerSec / 3);
}

int ConvertAcmBlock(SoundDecoder* d) {
  // The checkpoint follows on towards its target, its output discarded.
  if (d->checkpointTarget != d->checkpointOutput) {
    if (d->checkpointTarget < d->checkpointOutput || !d->checkpointConverter) RestartCheckpoint(d);
    if (d->checkpointConverter && d->checkpointOutput + kCheckpointLead < d->checkpointTarget &&
        d->checkpointSourceUsed < d->compressedSize) {
      uint64_t made = 0;
      const uint64_t room = std::min<uint64_t>(d->blockSize, d->checkpointTarget - d->checkpointOutput);
      if (ConvertChunk(d, d->checkpointConverter, &d->checkpointSourceUsed, d->checkpointScratch, room, &made)) {
        d->checkpointOutput += made;
      }
    }
  }
  if (!d->mainConverter) return -1;
  for (;;) {
    // With the source all taken, a converter may still hold output.
    const bool exhausted = d->mainSourceUsed >= d->compressedSize;
    const uint32_t before = d->mainSourceUsed;
    uint64_t made = 0;
    if (!ConvertChunk(d, d->mainConverter, &d->mainSourceUsed, d->block, d->blockSize, &made)) {
      d->mainSourceUsed = d->compressedSize;
      return -1;
    }
    if (made > 0) {
      d->available = static_cast<uint32_t>(made);
      return 0;
    }
    if (exhausted || d->mainSourceUsed == before) {
      d->mainSourceUsed = d->compressedSize;
      return -1;
    }
    // Source taken without output (damaged frames, a frame split across
    // chunks): go on with the next chunk.
  }
}

void SeekAcmDecoder(SoundDecoder* d, uint64_t target) {
  if (target < d->position) {
    if (!d->checkpointConverter || target < d->checkpointOutput) {
      Reopen(d, &d->mainConverter);
      d->ops.seek(d->stream, d->dataStart, 0);
      d->mainSourceUsed = 0;
      d->position = 0;
      d->available = 0;
    } else {
      // The checkpoint becomes the main stream; a fresh checkpoint starts.
      std::swap(d->mainConverter, d->checkpointConverter);
      d->mainSourceUsed = d->checkpointSourceUsed;
      d->position = d->checkpointOutput;
      d->available = 0;
      RestartCheckpoint(d);
    }
  }
  for (;;) {
    if (d->position + d->available >= target) {
      const uint32_t skip = static_cast<uint32_t>(target - d->position);
      d->readOffset += skip;
      d->available -= skip;
      d->position = target;
      return;
    }
    d->position += d->available;
    d->available = 0;
    d->readOffset = 0;
    if (ConvertAcmBlock(d) < 0) {
      d->available = 0;
      d->endFlag = 1;
      return;
    }
  }
}
