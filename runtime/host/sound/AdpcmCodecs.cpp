#include "runtime/host/sound/AdpcmCodecs.h"

#include <algorithm>
#include <climits>

#include "runtime/host/sound/WaveFormat.h"

const int16_t kImaStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

const int8_t kImaIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

const int16_t kMsAdpcmStandardCoefs[7][2] = {{256, 0}, {512, -256}, {0, 0},      {192, 64},
                                             {240, 0}, {460, -208}, {392, -232}};

const int16_t kMsAdpcmAdaptTable[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                        768, 614, 512, 409, 307, 230, 230, 230};

namespace {

struct ImaChannel {
  int32_t predictor;
  int32_t index;
};

int16_t ImaStep(ImaChannel& c, int nibble) {
  const int32_t step = kImaStepTable[c.index];
  int32_t diff = step >> 3;
  if (nibble & 1) diff += step >> 2;
  if (nibble & 2) diff += step >> 1;
  if (nibble & 4) diff += step;
  if (nibble & 8) diff = -diff;
  c.predictor = std::clamp(c.predictor + diff, -32768, 32767);
  c.index = std::clamp(c.index + kImaIndexTable[nibble], 0, 88);
  return static_cast<int16_t>(c.predictor);
}

int16_t Sample16(const unsigned char* p) { return static_cast<int16_t>(ReadLe16(p)); }

}  // namespace

uint32_t ImaAdpcmBlockFrames(size_t size, int channels) {
  const size_t header = 4 * static_cast<size_t>(channels);
  if (channels < 1 || size < header) return 0;
  return static_cast<uint32_t>(1 + (size - header) / header * 8);
}

uint32_t DecodeImaAdpcmBlock(const unsigned char* block, size_t size, int channels, int16_t* out,
                             uint32_t maxFrames) {
  const uint32_t frames = std::min(ImaAdpcmBlockFrames(size, channels), maxFrames);
  if (frames == 0 || channels > 2) return 0;
  ImaChannel state[2];
  for (int c = 0; c < channels; ++c) {
    state[c].predictor = Sample16(block + 4 * c);
    state[c].index = std::min<int32_t>(block[4 * c + 2], 88);
    out[c] = static_cast<int16_t>(state[c].predictor);
  }
  const unsigned char* data = block + 4 * channels;
  // Groups of 8 frames: 4 bytes of each channel in turn.
  for (uint32_t frame = 1; frame < frames; frame += 8) {
    const uint32_t n = std::min<uint32_t>(8, frames - frame);
    for (int c = 0; c < channels; ++c) {
      const unsigned char* word = data + 4 * c;
      for (uint32_t k = 0; k < n; ++k) {
        const int nibble = (word[k / 2] >> (4 * (k & 1))) & 0xF;
        out[(frame + k) * channels + c] = ImaStep(state[c], nibble);
      }
    }
    data += 4 * channels;
  }
  return frames;
}

uint32_t MsAdpcmBlockFrames(size_t size, int channels) {
  const size_t header = 7 * static_cast<size_t>(channels);
  if (channels < 1 || size < header) return 0;
  return static_cast<uint32_t>(2 + (size - header) * 2 / channels);
}

uint32_t DecodeMsAdpcmBlock(const unsigned char* block, size_t size, int channels, const int16_t (*coefs)[2],
                            int coefCount, int16_t* out, uint32_t maxFrames) {
  const uint32_t frames = std::min(MsAdpcmBlockFrames(size, channels), maxFrames);
  if (frames == 0 || channels > 2 || coefCount < 1) return 0;
  int32_t coef1[2], coef2[2], delta[2], samp1[2], samp2[2];
  for (int c = 0; c < channels; ++c) {
    const int predictor = std::min<int>(block[c], coefCount - 1);
    coef1[c] = coefs[predictor][0];
    coef2[c] = coefs[predictor][1];
    delta[c] = Sample16(block + channels + 2 * c);
    samp1[c] = Sample16(block + 3 * channels + 2 * c);
    samp2[c] = Sample16(block + 5 * channels + 2 * c);
    out[c] = static_cast<int16_t>(samp2[c]);
    if (frames > 1) out[channels + c] = static_cast<int16_t>(samp1[c]);
  }
  const unsigned char* data = block + 7 * channels;
  const uint32_t samples = (frames - 2) * static_cast<uint32_t>(channels);
  for (uint32_t i = 0; i < samples; ++i) {
    const int c = static_cast<int>(i % channels);
    const int nibble = (data[i / 2] >> ((i & 1) ? 0 : 4)) & 0xF;
    const int32_t signedNibble = nibble >= 8 ? nibble - 16 : nibble;
    // Coefficients come from the file: two full-scale products pass 2^31.
    const int32_t predicted =
        static_cast<int32_t>((int64_t{samp1[c]} * coef1[c] + int64_t{samp2[c]} * coef2[c]) >> 8);
    const int32_t sample = std::clamp(predicted + signedNibble * delta[c], -32768, 32767);
    samp2[c] = samp1[c];
    samp1[c] = sample;
    delta[c] = std::clamp((kMsAdpcmAdaptTable[nibble] * delta[c]) >> 8, 16, INT32_MAX / 768);
    out[2 * channels + i] = static_cast<int16_t>(sample);
  }
  return frames;
}

int16_t ALawToLinear(uint8_t code) {
  const int a = code ^ 0x55;
  int t = (a & 0x0F) << 4;
  const int segment = (a & 0x70) >> 4;
  if (segment == 0) {
    t += 8;
  } else {
    t += 0x108;
    t <<= segment - 1;
  }
  return static_cast<int16_t>((a & 0x80) ? t : -t);
}

int16_t MuLawToLinear(uint8_t code) {
  const int u = ~code & 0xFF;
  int t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u & 0x70) >> 4;
  return static_cast<int16_t>((u & 0x80) ? 0x84 - t : t - 0x84);
}
