#pragma once
// The format record of sound data: the 18 bytes that head a WAV file's fmt
// chunk (little-endian), as sound buffers, converters and decoders pass it.

#include <cstddef>
#include <cstdint>

#include "runtime/LittleEndian.h"

struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;

  bool operator==(const WaveFormat&) const = default;
};

constexpr size_t kWaveFormatBytes = 18;

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatMsAdpcm = 2;
constexpr uint16_t kWaveFormatIeeeFloat = 3;
constexpr uint16_t kWaveFormatALaw = 6;
constexpr uint16_t kWaveFormatMuLaw = 7;
constexpr uint16_t kWaveFormatImaAdpcm = 0x11;
constexpr uint16_t kWaveFormatMpeg = 0x50;
constexpr uint16_t kWaveFormatMpegLayer3 = 0x55;
constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

// At most the first 18 bytes count; fields beyond size stay 0.
inline WaveFormat WaveFormatFromBytes(const unsigned char* bytes, size_t size) {
  unsigned char full[kWaveFormatBytes] = {};
  for (size_t i = 0; i < size && i < kWaveFormatBytes; ++i) full[i] = bytes[i];
  WaveFormat f;
  f.formatTag = ReadLe16(full);
  f.channels = ReadLe16(full + 2);
  f.samplesPerSec = ReadLe32(full + 4);
  f.avgBytesPerSec = ReadLe32(full + 8);
  f.blockAlign = ReadLe16(full + 12);
  f.bitsPerSample = ReadLe16(full + 14);
  f.extraSize = ReadLe16(full + 16);
  return f;
}

inline void WaveFormatToBytes(const WaveFormat& f, unsigned char out[kWaveFormatBytes]) {
  WriteLe16(out, f.formatTag);
  WriteLe16(out + 2, f.channels);
  WriteLe32(out + 4, f.samplesPerSec);
  WriteLe32(out + 8, f.avgBytesPerSec);
  WriteLe16(out + 12, f.blockAlign);
  WriteLe16(out + 14, f.bitsPerSample);
  WriteLe16(out + 16, f.extraSize);
}

// A PCM format with its derived fields filled in.
inline WaveFormat PcmWaveFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormat f;
  f.formatTag = kWaveFormatPcm;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * (bits / 8));
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}
