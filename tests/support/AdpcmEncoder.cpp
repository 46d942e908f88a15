#include "tests/support/AdpcmEncoder.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "runtime/host/sound/AdpcmCodecs.h"
#include "runtime/host/sound/WaveFormat.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/WaveWriter.h"

namespace {

// The sample of frame f, channel c; past the end the last frame repeats.
int16_t SampleAt(const std::vector<int16_t>& s, int channels, size_t f, int c) {
  const size_t frames = s.size() / channels;
  if (frames == 0) return 0;
  return s[std::min(f, frames - 1) * channels + c];
}

struct ImaState {
  int32_t predictor = 0;
  int32_t index = 0;
};

int ImaEncodeOne(ImaState& st, int16_t sample) {
  int32_t diff = sample - st.predictor;
  int nibble = 0;
  if (diff < 0) {
    nibble = 8;
    diff = -diff;
  }
  int32_t step = kImaStepTable[st.index];
  for (int bit = 4; bit > 0; bit >>= 1) {
    if (diff >= step) {
      nibble |= bit;
      diff -= step;
    }
    step >>= 1;
  }
  // Reconstruct as a decoder does.
  const int32_t s = kImaStepTable[st.index];
  int32_t delta = s >> 3;
  if (nibble & 4) delta += s;
  if (nibble & 2) delta += s >> 1;
  if (nibble & 1) delta += s >> 2;
  st.predictor = std::clamp(st.predictor + ((nibble & 8) ? -delta : delta), -32768, 32767);
  st.index = std::clamp(st.index + kImaIndexTable[nibble], 0, 88);
  return nibble;
}

// The fmt chunk of 4-bit ADPCM with its extra fields.
std::string AdpcmFormat(uint16_t tag, int channels, uint32_t rate, uint16_t blockAlign, uint32_t perBlock,
                        const std::string& extra) {
  WaveFormat f;
  f.formatTag = tag;
  f.channels = static_cast<uint16_t>(channels);
  f.samplesPerSec = rate;
  f.blockAlign = blockAlign;
  f.bitsPerSample = 4;
  f.avgBytesPerSec = static_cast<uint32_t>(uint64_t{rate} * blockAlign / perBlock);
  return FormatChunk(f, extra);
}

}  // namespace

EncodedSound EncodeImaAdpcm(const std::vector<int16_t>& samples, int channels, uint32_t rate, uint16_t blockAlign) {
  EncodedSound out;
  const uint32_t perBlock = (blockAlign / channels - 4) * 2 + 1;
  const size_t frames = samples.size() / channels;
  const size_t blocks = (frames + perBlock - 1) / perBlock;
  ImaState state[2];
  ByteWriter data;
  for (size_t b = 0; b < blocks; ++b) {
    const size_t first = b * perBlock;
    for (int c = 0; c < channels; ++c) {
      state[c].predictor = SampleAt(samples, channels, first, c);
      data.U16(static_cast<uint16_t>(state[c].predictor)).U8(static_cast<uint8_t>(state[c].index)).U8(0);
    }
    std::vector<int16_t> block(static_cast<size_t>(perBlock) * channels);
    for (int c = 0; c < channels; ++c) block[c] = static_cast<int16_t>(state[c].predictor);
    for (uint32_t f = 1; f < perBlock; f += 8) {
      for (int c = 0; c < channels; ++c) {
        uint8_t bytes[4] = {};
        for (int k = 0; k < 8; ++k) {
          const int nibble = ImaEncodeOne(state[c], SampleAt(samples, channels, first + f + k, c));
          bytes[k / 2] |= static_cast<uint8_t>(nibble << (4 * (k & 1)));
          block[(f + k) * channels + c] = static_cast<int16_t>(state[c].predictor);
        }
        for (uint8_t byte : bytes) data.U8(byte);
      }
    }
    out.decoded.insert(out.decoded.end(), block.begin(), block.end());
  }
  ByteWriter extra;
  extra.U16(static_cast<uint16_t>(perBlock));
  out.fmt = AdpcmFormat(kWaveFormatImaAdpcm, channels, rate, blockAlign, perBlock, extra.Bytes());
  out.data = data.Bytes();
  return out;
}

EncodedSound EncodeMsAdpcm(const std::vector<int16_t>& samples, int channels, uint32_t rate, uint16_t blockAlign) {
  EncodedSound out;
  const uint32_t perBlock = (blockAlign - 7 * channels) * 2 / channels + 2;
  const size_t frames = samples.size() / channels;
  const size_t blocks = (frames + perBlock - 1) / perBlock;
  ByteWriter data;
  for (size_t b = 0; b < blocks; ++b) {
    const size_t first = b * perBlock;
    // Each block takes the next predictor in turn, so that all are used.
    const int predictor = static_cast<int>(b % 7);
    const int32_t c1 = kMsAdpcmStandardCoefs[predictor][0];
    const int32_t c2 = kMsAdpcmStandardCoefs[predictor][1];
    int32_t delta[2], s1[2], s2[2];
    for (int c = 0; c < channels; ++c) {
      s2[c] = SampleAt(samples, channels, first, c);
      s1[c] = SampleAt(samples, channels, first + 1, c);
      delta[c] = std::max(16, std::abs(s1[c] - s2[c]) / 4);
    }
    for (int c = 0; c < channels; ++c) data.U8(static_cast<uint8_t>(predictor));
    for (int c = 0; c < channels; ++c) data.U16(static_cast<uint16_t>(delta[c]));
    for (int c = 0; c < channels; ++c) data.U16(static_cast<uint16_t>(s1[c]));
    for (int c = 0; c < channels; ++c) data.U16(static_cast<uint16_t>(s2[c]));
    for (int c = 0; c < channels; ++c) out.decoded.push_back(static_cast<int16_t>(s2[c]));
    for (int c = 0; c < channels; ++c) out.decoded.push_back(static_cast<int16_t>(s1[c]));
    uint8_t pending = 0;
    const uint32_t count = (perBlock - 2) * channels;
    for (uint32_t i = 0; i < count; ++i) {
      const int c = static_cast<int>(i % channels);
      const int16_t target = SampleAt(samples, channels, first + 2 + i / channels, c);
      const int32_t predicted = (s1[c] * c1 + s2[c] * c2) >> 8;
      const double ideal = std::round(static_cast<double>(target - predicted) / delta[c]);
      const int32_t n = static_cast<int32_t>(std::clamp(ideal, -8.0, 7.0));
      const int32_t sample = std::clamp(predicted + n * delta[c], -32768, 32767);
      const int nibble = n & 0xF;
      s2[c] = s1[c];
      s1[c] = sample;
      delta[c] = std::clamp((kMsAdpcmAdaptTable[nibble] * delta[c]) >> 8, 16, INT32_MAX / 768);
      out.decoded.push_back(static_cast<int16_t>(sample));
      if (i % 2 == 0) {
        pending = static_cast<uint8_t>(nibble << 4);
      } else {
        data.U8(static_cast<uint8_t>(pending | nibble));
      }
    }
    if (count % 2) data.U8(pending);
  }
  ByteWriter extra;
  extra.U16(static_cast<uint16_t>(perBlock)).U16(7);
  for (const auto& pair : kMsAdpcmStandardCoefs) extra.U16(static_cast<uint16_t>(pair[0])).U16(static_cast<uint16_t>(pair[1]));
  out.fmt = AdpcmFormat(kWaveFormatMsAdpcm, channels, rate, blockAlign, perBlock, extra.Bytes());
  out.data = data.Bytes();
  return out;
}

uint8_t LinearToMuLaw(int16_t sample) {
  int32_t pcm = sample;
  const int sign = pcm < 0 ? 0x80 : 0;
  if (sign) pcm = -pcm;
  pcm = std::min(pcm, 32635) + 0x84;
  int exponent = 7;
  for (int32_t mask = 0x4000; !(pcm & mask) && exponent > 0; --exponent, mask >>= 1) {
  }
  const int mantissa = (pcm >> (exponent + 3)) & 0x0F;
  return static_cast<uint8_t>(~(sign | exponent << 4 | mantissa));
}

uint8_t LinearToALaw(int16_t sample) {
  static const int kSegmentEnds[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
  int32_t pcm = sample >> 3;
  int mask;
  if (pcm >= 0) {
    mask = 0xD5;
  } else {
    mask = 0x55;
    pcm = -pcm - 1;
  }
  int segment = 0;
  while (segment < 8 && pcm > kSegmentEnds[segment]) ++segment;
  if (segment >= 8) return static_cast<uint8_t>(0x7F ^ mask);
  int value = segment << 4;
  value |= segment < 2 ? (pcm >> 1) & 0x0F : (pcm >> segment) & 0x0F;
  return static_cast<uint8_t>(value ^ mask);
}

EncodedSound EncodeG711(const std::vector<int16_t>& samples, int channels, uint32_t rate, bool aLaw) {
  EncodedSound out;
  for (int16_t s : samples) out.data.push_back(static_cast<char>(aLaw ? LinearToALaw(s) : LinearToMuLaw(s)));
  WaveFormat f;
  f.formatTag = aLaw ? kWaveFormatALaw : kWaveFormatMuLaw;
  f.channels = static_cast<uint16_t>(channels);
  f.samplesPerSec = rate;
  f.blockAlign = static_cast<uint16_t>(channels);
  f.bitsPerSample = 8;
  f.avgBytesPerSec = rate * channels;
  out.fmt = FormatChunk(f);
  return out;
}
