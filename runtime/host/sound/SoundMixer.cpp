#include "runtime/host/sound/SoundMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint64_t kOne = uint64_t{1} << 32;

// One sample frame as left and right in the 16-bit range.
template <int Bits, int Channels>
inline void Fetch(const unsigned char* p, int32_t& l, int32_t& r) {
  constexpr int kBytes = Bits / 8;
  auto one = [](const unsigned char* s) -> int32_t {
    if constexpr (Bits == 8) {
      return (static_cast<int32_t>(s[0]) - 128) * 256;
    } else if constexpr (Bits == 16) {
      int16_t v;
      std::memcpy(&v, s, 2);
      return v;
    } else if constexpr (Bits == 24) {
      const uint32_t u = static_cast<uint32_t>(s[0]) << 8 | static_cast<uint32_t>(s[1]) << 16 |
                         static_cast<uint32_t>(s[2]) << 24;
      return static_cast<int32_t>(u) >> 16;
    } else {
      int32_t v;
      std::memcpy(&v, s, 4);
      return v >> 16;
    }
  };
  l = one(p);
  r = Channels == 2 ? one(p + kBytes) : l;
}

// Frames whose right-hand neighbour lies inside the buffer: interpolated
// between the two by the position's fraction.
template <int Bits, int Channels>
void MixInterpolated(const unsigned char* base, uint32_t blockAlign, uint64_t& position, uint64_t step,
                     int32_t gain, int32_t* acc, uint32_t n) {
  uint64_t pos = position;
  for (uint32_t k = 0; k < n; ++k) {
    const unsigned char* p = base + (pos >> 32) * blockAlign;
    const int32_t frac = static_cast<int32_t>((pos >> 17) & 0x7FFF);
    int32_t l0, r0, l1, r1;
    Fetch<Bits, Channels>(p, l0, r0);
    Fetch<Bits, Channels>(p + blockAlign, l1, r1);
    const int32_t l = l0 + (((l1 - l0) * frac) >> 15);
    const int32_t r = r0 + (((r1 - r0) * frac) >> 15);
    acc[2 * k] += (l * gain) >> 16;
    acc[2 * k + 1] += (r * gain) >> 16;
    pos += step;
  }
  position = pos;
}

// The buffer plays at the output's rate on whole frames: a straight run.
template <int Bits, int Channels>
void MixStraight(const unsigned char* base, uint32_t blockAlign, uint64_t& position, int32_t gain, int32_t* acc,
                 uint32_t n) {
  const unsigned char* p = base + (position >> 32) * blockAlign;
  for (uint32_t k = 0; k < n; ++k, p += blockAlign) {
    int32_t l, r;
    Fetch<Bits, Channels>(p, l, r);
    acc[2 * k] += (l * gain) >> 16;
    acc[2 * k + 1] += (r * gain) >> 16;
  }
  position += static_cast<uint64_t>(n) << 32;
}

template <int Bits, int Channels>
bool MixTyped(HostSoundBuffer& b, int32_t* acc, uint32_t frames, uint64_t step) {
  const unsigned char* base = b.memory->bytes;
  const uint32_t align = b.format.blockAlign;
  const uint64_t end = static_cast<uint64_t>(b.frames) << 32;
  const uint64_t lastSafe = static_cast<uint64_t>(b.frames - 1) << 32;
  uint32_t done = 0;
  while (done < frames) {
    if (b.position < lastSafe) {
      const uint64_t safe = (lastSafe - b.position + step - 1) / step;
      const uint32_t run = static_cast<uint32_t>(std::min<uint64_t>(safe, frames - done));
      if (step == kOne && (b.position & 0xFFFFFFFF) == 0) {
        MixStraight<Bits, Channels>(base, align, b.position, b.gain, acc + 2 * done, run);
      } else {
        MixInterpolated<Bits, Channels>(base, align, b.position, step, b.gain, acc + 2 * done, run);
      }
      done += run;
      continue;
    }
    if (b.position >= end) {
      if (!b.looping) {
        b.position = 0;
        return false;
      }
      b.position %= end;
      continue;
    }
    // The last frame: its neighbour is the first one when looping.
    int32_t l0, r0, l1, r1;
    Fetch<Bits, Channels>(base + static_cast<size_t>(b.frames - 1) * align, l0, r0);
    if (b.looping) {
      Fetch<Bits, Channels>(base, l1, r1);
    } else {
      l1 = l0;
      r1 = r0;
    }
    const int32_t frac = static_cast<int32_t>((b.position >> 17) & 0x7FFF);
    acc[2 * done] += ((l0 + (((l1 - l0) * frac) >> 15)) * b.gain) >> 16;
    acc[2 * done + 1] += ((r0 + (((r1 - r0) * frac) >> 15)) * b.gain) >> 16;
    b.position += step;
    ++done;
  }
  return true;
}

}  // namespace

bool MixSoundBuffer(HostSoundBuffer& b, int32_t* acc, uint32_t frames, uint32_t outputRate) {
  b.mixedFrames += frames;
  if (b.frames == 0) {
    b.position = 0;
    return b.looping;
  }
  const uint32_t rate = b.frequency ? b.frequency : b.format.samplesPerSec;
  const uint64_t step = (static_cast<uint64_t>(rate) << 32) / outputRate;
  if (b.gain == 0) {
    // Silent: only the cursor moves.
    const uint64_t end = static_cast<uint64_t>(b.frames) << 32;
    b.position += step * frames;
    if (b.position >= end) {
      if (!b.looping) {
        b.position = 0;
        return false;
      }
      b.position %= end;
    }
    return true;
  }
  const bool stereo = b.format.channels == 2;
  switch (b.format.bitsPerSample) {
    case 8: return stereo ? MixTyped<8, 2>(b, acc, frames, step) : MixTyped<8, 1>(b, acc, frames, step);
    case 16: return stereo ? MixTyped<16, 2>(b, acc, frames, step) : MixTyped<16, 1>(b, acc, frames, step);
    case 24: return stereo ? MixTyped<24, 2>(b, acc, frames, step) : MixTyped<24, 1>(b, acc, frames, step);
    default: return stereo ? MixTyped<32, 2>(b, acc, frames, step) : MixTyped<32, 1>(b, acc, frames, step);
  }
}

void MixFloatFrames(const float* samples, int32_t* acc, uint32_t frames) {
  for (uint32_t i = 0; i < 2 * frames; ++i) {
    acc[i] += static_cast<int32_t>(std::lrint(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f));
  }
}

void ClampMix(const int32_t* acc, int16_t* out, uint32_t samples) {
  for (uint32_t i = 0; i < samples; ++i) {
    out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
  }
}
