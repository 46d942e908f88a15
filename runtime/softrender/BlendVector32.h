#pragma once
// Vector forms of the 32-bit kernels whose arithmetic fits 16-bit lanes: one
// lane per channel, a vector of pixels per step. Written once with the
// compiler's vector extensions; each instruction set compiles them at its
// own width. Every form gives the scalar kernel's pixels bit for bit (the
// differential tests compare them); kernels without one run the scalar
// loop, which the compiler vectorises where it can.

#include <cstdint>

#include "runtime/softrender/BlendKernel32.h"

#ifndef SOFTRENDER_VECTOR_BYTES
#error "define SOFTRENDER_VECTOR_BYTES to the vector width of the instruction set"
#endif

namespace SOFTRENDER_ISA {

constexpr int kVectorPixels = SOFTRENDER_VECTOR_BYTES / 4;

typedef uint8_t VBytes __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES)));
typedef uint16_t VLanes __attribute__((vector_size(2 * SOFTRENDER_VECTOR_BYTES)));
typedef uint32_t VPixels __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES)));

// Two bytes of a vector of pixels per 16-bit lane, in place.
typedef uint16_t VPairs __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES)));

// One 16-bit lane per byte of a vector of pixels.
constexpr int kLanes = sizeof(VLanes) / sizeof(uint16_t);
static_assert(kLanes == SOFTRENDER_VECTOR_BYTES);

static inline VPixels LoadPixels(const uint8_t* p) {
  VPixels v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}

static inline void StorePixels(uint8_t* p, VPixels v) { __builtin_memcpy(p, &v, sizeof v); }

// One 16-bit lane per byte, and back (each lane then holds at most 255).
static inline VLanes Widen(VPixels v) { return __builtin_convertvector((VBytes)v, VLanes); }
static inline VPixels Narrow(VLanes v) {
  return (VPixels)__builtin_convertvector(v, VBytes);
}

// Lanes of blue, green and red set to one value, the top byte's lane to another.
static inline VLanes ChannelLanes(uint16_t channels, uint16_t top) {
  VLanes v;
  for (int i = 0; i < kLanes; ++i) v[i] = (i & 3) == 3 ? top : channels;
  return v;
}

static inline VLanes BrightnessLanes(const uint32_t brightness[3]) {
  VLanes v;
  for (int i = 0; i < kLanes; ++i)
    v[i] = (i & 3) == 3 ? 0 : static_cast<uint16_t>(brightness[i & 3]);
  return v;
}

struct VectorContext {
  VLanes brightness;      // channel lanes hold the levels, the top lane 0
  VLanes toSource;        // p on the channel lanes, 0 on the top lane
  VLanes toDest;          // 256 - p, and 256 on the top lane
  VLanes parameter;       // p on every lane
  VLanes channelMask;     // 0xFFFF on the channel lanes
  VPixels topByte;        // 0xFF000000 in every pixel
  VPairs parameterScale;  // ProductScale(p) in every lane
  bool unitParameter;     // p = 255: the product is the value itself

  explicit VectorContext(const PixelContext& c)
      : brightness(BrightnessLanes(c.brightness)),
        toSource(ChannelLanes(static_cast<uint16_t>(c.parameter), 0)),
        toDest(ChannelLanes(static_cast<uint16_t>(256 - c.parameter), 256)),
        parameter(ChannelLanes(static_cast<uint16_t>(c.parameter), static_cast<uint16_t>(c.parameter))),
        channelMask(ChannelLanes(0xFFFF, 0)),
        unitParameter(c.parameter >= 255) {
    const uint16_t scale = static_cast<uint16_t>(unitParameter ? 0 : ProductScale(c.parameter));
    for (int i = 0; i < SOFTRENDER_VECTOR_BYTES / 2; ++i) parameterScale[i] = scale;
    for (int i = 0; i < kVectorPixels; ++i) topByte[i] = 0xFF000000;
  }
};

static inline bool AllEqual(VPixels v, uint32_t value) {
  uint64_t words[sizeof(VPixels) / 8];
  const VPixels differs = v ^ value;
  __builtin_memcpy(words, &differs, sizeof words);
  uint64_t any = 0;
  for (uint64_t w : words) any |= w;
  return any == 0;
}

template <Op32 kOp, bool kGraphic, bool kTinted, bool kAlpha, bool kKeyed, class Family = PlainFamily>
struct BlendVector32 {
  static constexpr bool kMixes =
      kOp == Op32::Translucent || kOp == Op32::InvertedTranslucent || kOp == Op32::MultiplyTranslucent;
  static constexpr bool kAvailable =
      !kGraphic && ((!kAlpha && (kMixes || kOp == Op32::Multiply || kOp == Op32::Additive ||
                                 kOp == Op32::Subtractive || (kOp == Op32::Copy && kTinted))) ||
                    (kAlpha && kOp == Op32::Copy) || kOp == Op32::CopyWhole || kOp == Op32::Halve ||
                    kOp == Op32::SaturatingAdd || kOp == Op32::SaturatingSub || kOp == Op32::PackedAddWhole ||
                    kOp == Op32::PackedSubWhole);

  // The source term per lane (the top lane is not meaningful).
  static inline VLanes Term(const VectorContext& v, VLanes s) {
    if constexpr (kOp == Op32::InvertedTranslucent) s = 255 - s;
    if constexpr (kTinted) return DivideBy255<VLanes>(v.brightness * s);
    return s;
  }

  // hit: all ones where the raw source value equals the key.
  static inline VPixels Apply(const VectorContext& v, VPixels s, VPixels d, VPixels hit) {
    VPixels out;
    if constexpr (kOp == Op32::CopyWhole) {
      out = s;
    } else if constexpr (kOp == Op32::Halve) {
      out = Halve32<VPixels>(s, d);
    } else if constexpr (kOp == Op32::SaturatingAdd || kOp == Op32::SaturatingSub) {
      const VBytes sb = (VBytes)s, db = (VBytes)d;
      VBytes r;
      if constexpr (kOp == Op32::SaturatingAdd) {
        const VBytes sum = db + sb;
        r = sum | (VBytes)(sum < db);
      } else {
        r = (db - sb) & (VBytes)(db >= sb);
      }
      out = (VPixels)r;
    } else if constexpr (kOp == Op32::PackedAddWhole) {
      out = PackedAddB32<VPixels>(d, s);
    } else if constexpr (kOp == Op32::PackedSubWhole) {
      out = PackedSub32<VPixels>(d, s);
    } else if constexpr (kOp == Op32::Additive || kOp == Op32::Subtractive) {
      VPixels amount;
      if constexpr (kTinted) {
        amount = Narrow(DivideBy255<VLanes>(v.parameter * Term(v, Widen(s))));
      } else if (v.unitParameter) {
        amount = s;
      } else {
        // Each byte times p / 255 in place: the low byte of a lane through
        // the high half of its product, the high byte through the high half
        // of its product at 256 times the value, whose low byte is dropped.
        const VPairs x = (VPairs)s;
        amount = (VPixels)(MultiplyHigh16<VPairs>(x & 0x00FF, v.parameterScale) |
                           (MultiplyHigh16<VPairs>(x & 0xFF00, v.parameterScale) & 0xFF00));
      }
      if constexpr (kOp == Op32::Additive)
        out = PackedAddA32<VPixels>(d, amount);
      else
        out = PackedSub32<VPixels>(d, amount);
    } else if constexpr (kOp == Op32::Copy && kAlpha) {
      return CopyAlpha(v, s, d);
    } else {
      const VLanes dl = Widen(d);
      VLanes t = Term(v, Widen(s));
      if constexpr (kOp == Op32::Copy) {
        out = Narrow((t & v.channelMask) | (dl & ~v.channelMask));
      } else if constexpr (kOp == Op32::Multiply) {
        // The top lane multiplies by 256/256 and keeps its byte.
        out = Narrow((((t & v.channelMask) | (~v.channelMask & 256)) * dl) >> 8);
      } else {
        if constexpr (kOp == Op32::MultiplyTranslucent) t = (t * dl) >> 8;
        out = Narrow((v.toSource * t + v.toDest * dl) >> 8);
      }
    }
    if constexpr (kKeyed && !kAlpha) out = Select(hit, d, out);
    return out;
  }

 private:
  // Copy mixed by the source alpha: d + floor(a (t - d) / 256) per channel,
  // the top byte kept; under the flag alpha 255 is the short form, and
  // alpha 0 is skipped where the family says so.
  static inline VPixels CopyAlpha(const VectorContext& v, VPixels s, VPixels d) {
    const VPixels a = s >> 24;
    // Sprites are mostly runs of clear or opaque pixels.
    if constexpr (kKeyed) {
      if (Family::SkipsClearAlpha(kOp) && AllEqual(a, 0)) return d;
      if (!kTinted && AllEqual(a, 255)) return s;
    }
    const VPixels spread = a | (a << 8) | (a << 16);  // a on the channel lanes, 0 on the top
    const VLanes weight = Widen(spread);
    const VLanes dl = Widen(d);
    const VPixels mixed = Narrow((weight * Term(v, Widen(s)) + (256 - weight) * dl) >> 8);
    if constexpr (!kKeyed) return mixed;
    VPixels opaque;
    if constexpr (kTinted) {
      opaque = Narrow((Term(v, Widen(s)) & v.channelMask) | (dl & ~v.channelMask));
    } else {
      opaque = s;
    }
    const VPixels out = Select((VPixels)(a == 255), opaque, mixed);
    if constexpr (!Family::SkipsClearAlpha(kOp)) return out;
    return Select((VPixels)(a == 0), d, out);
  }
};

}  // namespace SOFTRENDER_ISA
