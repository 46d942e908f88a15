#include "runtime/host/sound/AudioConverter.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "runtime/host/sound/AdpcmCodecs.h"
#include "runtime/host/sound/MpegAudioStream.h"

namespace {

enum class Codec { kIma, kMs, kALaw, kMuLaw, kMpeg, kPcm };

// The PCM sub-format of the extensible format, after its first two bytes.
constexpr unsigned char kPcmSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct SourceInfo {
  Codec codec;
  WaveFormat format;
  WaveFormat pcm;
  uint32_t framesPerBlock = 0;  // block codecs
  std::vector<int16_t> coefs;   // Microsoft ADPCM: pairs
};

bool Describe(const unsigned char* source, size_t size, SourceInfo* info) {
  if (!source || size < 16) return false;
  const WaveFormat f = WaveFormatFromBytes(source, size);
  const unsigned char* extra = source + kWaveFormatBytes;
  const size_t extraSize = size > kWaveFormatBytes ? std::min<size_t>(f.extraSize, size - kWaveFormatBytes) : 0;
  if (f.channels < 1 || f.channels > 8 || f.samplesPerSec == 0 || f.samplesPerSec > 768000 || f.blockAlign == 0) {
    return false;
  }
  info->format = f;
  uint16_t bits = 16;
  switch (f.formatTag) {
    case kWaveFormatImaAdpcm:
      if (f.bitsPerSample != 4 || f.channels > 2 || f.blockAlign % (4 * f.channels) != 0) return false;
      info->codec = Codec::kIma;
      info->framesPerBlock = ImaAdpcmBlockFrames(f.blockAlign, f.channels);
      break;
    case kWaveFormatMsAdpcm: {
      if (f.bitsPerSample != 4 || f.channels > 2 || f.blockAlign < 7 * f.channels || extraSize < 4) return false;
      const int count = ReadLe16(extra + 2);
      if (count < 1 || extraSize < 4 + 4 * static_cast<size_t>(count)) return false;
      info->codec = Codec::kMs;
      info->framesPerBlock = MsAdpcmBlockFrames(f.blockAlign, f.channels);
      info->coefs.resize(2 * static_cast<size_t>(count));
      for (int i = 0; i < 2 * count; ++i) info->coefs[i] = static_cast<int16_t>(ReadLe16(extra + 4 + 2 * i));
      break;
    }
    case kWaveFormatALaw:
    case kWaveFormatMuLaw:
      if (f.bitsPerSample != 8 || f.blockAlign != f.channels) return false;
      info->codec = f.formatTag == kWaveFormatALaw ? Codec::kALaw : Codec::kMuLaw;
      break;
    case kWaveFormatMpeg:
    case kWaveFormatMpegLayer3:
      if (f.channels > 2) return false;
      info->codec = Codec::kMpeg;
      break;
    case kWaveFormatExtensible:
      if (extraSize < 22 || ReadLe16(extra + 6) != kWaveFormatPcm ||
          std::memcmp(extra + 8, kPcmSubFormatTail, sizeof kPcmSubFormatTail) != 0) {
        return false;
      }
      bits = f.bitsPerSample;
      if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || f.blockAlign != f.channels * (bits / 8)) {
        return false;
      }
      info->codec = Codec::kPcm;
      break;
    default:
      return false;
  }
  info->pcm = PcmWaveFormat(f.channels, f.samplesPerSec, bits);
  return true;
}

}  // namespace

struct HostAudioConverter {
  SourceInfo info;
  HostMpegStream* mpeg = nullptr;
  std::vector<int16_t> samples;  // one decoded block
};

bool HostConverterSuggestPcm(const unsigned char* source, size_t sourceSize, WaveFormat* pcm) {
  SourceInfo info;
  if (!Describe(source, sourceSize, &info)) return false;
  *pcm = info.pcm;
  return true;
}

HostAudioConverter* HostConverterOpen(const unsigned char* source, size_t sourceSize, const WaveFormat& pcm) {
  SourceInfo info;
  if (!Describe(source, sourceSize, &info) || !(info.pcm == pcm)) return nullptr;
  HostAudioConverter* c = new (std::nothrow) HostAudioConverter;
  if (!c) return nullptr;
  c->info = std::move(info);
  if (c->info.codec == Codec::kMpeg) {
    c->mpeg = HostMpegOpen(pcm.samplesPerSec, pcm.channels);
    if (!c->mpeg) {
      delete c;
      return nullptr;
    }
  }
  return c;
}

void HostConverterClose(HostAudioConverter* c) {
  if (!c) return;
  HostMpegClose(c->mpeg);
  delete c;
}

uint64_t HostConverterOutputSize(const HostAudioConverter* c, uint64_t sourceBytes) {
  const SourceInfo& i = c->info;
  switch (i.codec) {
    case Codec::kIma:
    case Codec::kMs:
      return sourceBytes / i.format.blockAlign * i.framesPerBlock * i.pcm.blockAlign;
    case Codec::kALaw:
    case Codec::kMuLaw:
      return sourceBytes * 2;
    case Codec::kPcm:
      return sourceBytes;
    case Codec::kMpeg: {
      // From the declared byte rate (128 kbit/s when none is given).
      const uint64_t rate = i.format.avgBytesPerSec ? i.format.avgBytesPerSec : 16000;
      const uint64_t bytes = (sourceBytes * i.pcm.avgBytesPerSec + rate - 1) / rate;
      return bytes - bytes % i.pcm.blockAlign + i.pcm.blockAlign;
    }
  }
  return 0;
}

bool HostConverterConvert(HostAudioConverter* c, const unsigned char* src, size_t srcSize, unsigned char* dst,
                          size_t dstSize, size_t* srcUsed, size_t* dstUsed) {
  *srcUsed = 0;
  *dstUsed = 0;
  const SourceInfo& i = c->info;
  const uint32_t outFrame = i.pcm.blockAlign;
  const int channels = i.format.channels;
  switch (i.codec) {
    case Codec::kIma:
    case Codec::kMs: {
      const size_t block = i.format.blockAlign;
      size_t used = 0;
      size_t produced = 0;
      while (used < srcSize) {
        const size_t take = std::min(block, srcSize - used);
        if (take < block) {
          // Conversion works in whole blocks: a short block given alone is
          // the end of the data, taken without output; after whole blocks it
          // waits for the next call.
          if (used == 0) used = take;
          break;
        }
        const uint32_t frames = i.framesPerBlock;
        if (dstSize - produced < static_cast<size_t>(frames) * outFrame) break;
        c->samples.resize(static_cast<size_t>(frames) * channels);
        const uint32_t got =
            i.codec == Codec::kIma
                ? DecodeImaAdpcmBlock(src + used, take, channels, c->samples.data(), frames)
                : DecodeMsAdpcmBlock(src + used, take, channels,
                                     reinterpret_cast<const int16_t(*)[2]>(i.coefs.data()),
                                     static_cast<int>(i.coefs.size() / 2), c->samples.data(), frames);
        if (got) std::memcpy(dst + produced, c->samples.data(), static_cast<size_t>(got) * outFrame);
        produced += static_cast<size_t>(got) * outFrame;
        used += take;
      }
      *srcUsed = used;
      *dstUsed = produced;
      return true;
    }
    case Codec::kALaw:
    case Codec::kMuLaw: {
      const size_t samples = std::min(srcSize / channels, dstSize / outFrame) * channels;
      for (size_t k = 0; k < samples; ++k) {
        const int16_t v = i.codec == Codec::kALaw ? ALawToLinear(src[k]) : MuLawToLinear(src[k]);
        std::memcpy(dst + 2 * k, &v, 2);
      }
      *srcUsed = samples;
      *dstUsed = samples * 2;
      return true;
    }
    case Codec::kPcm: {
      const size_t bytes = std::min(srcSize, dstSize) / outFrame * outFrame;
      if (bytes) std::memcpy(dst, src, bytes);
      *srcUsed = bytes;
      *dstUsed = bytes;
      return true;
    }
    case Codec::kMpeg:
      return HostMpegConvert(c->mpeg, src, srcSize, dst, dstSize, srcUsed, dstUsed);
  }
  return false;
}
