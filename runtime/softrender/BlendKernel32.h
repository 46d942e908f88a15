#pragma once
// The per-pixel operation of every 32-bit blend loop: one source pixel (with
// its blend-graphic byte) combined with one destination pixel. A kernel is
// chosen per draw by its template arguments, so nothing but the colour key
// or the source alpha is tested per pixel. Draw families share the kernels;
// where their rules differ, the family policy says how.
//
// Compiled once per instruction set inside that set's namespace.

#include <cstdint>

#include "runtime/softrender/BlendArithmetic.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

enum class Op32 {
  // The mode formulas, with every modifier.
  Copy,
  Translucent,
  Additive,
  Subtractive,
  Multiply,
  InvertedTranslucent,
  MultiplyTranslucent,
  // Fast paths without blend graphic, brightness or alpha.
  CopyWhole,       // the whole source pixel
  Halve,           // translucent at 128
  SaturatingAdd,   // additive at 255, every byte exact
  SaturatingSub,   // subtractive at 255, every byte exact
  PackedAddWhole,  // additive at 255, variant B with the source as amount
  PackedSubWhole,  // subtractive at 255 with the source as amount
};

// Per-draw values the kernels read.
struct PixelContext {
  uint32_t key;
  uint32_t parameter;
  uint32_t brightness[3];        // blue, green, red
  const uint8_t* graphicWeights;  // BlendGraphicTable
};

// The plain draw's rules for alpha sources.
struct PlainFamily {
  // Under the transparency flag, alpha 0 is not drawn in these modes.
  static constexpr bool SkipsClearAlpha(Op32 op) {
    return op == Op32::Copy || op == Op32::Translucent || op == Op32::Additive || op == Op32::Subtractive;
  }
};

constexpr bool UsesParameter(Op32 op) {
  return op == Op32::Translucent || op == Op32::Additive || op == Op32::Subtractive ||
         op == Op32::InvertedTranslucent || op == Op32::MultiplyTranslucent;
}

template <Op32 kOp, bool kGraphic, bool kTinted, bool kAlpha, bool kKeyed, class Family = PlainFamily>
struct BlendKernel32 {
  // hit: the raw source value (pixel or index) equals the key.
  static inline uint32_t Apply(const PixelContext& c, uint32_t s, uint32_t d, uint32_t g, bool hit) {
    if constexpr (kOp == Op32::CopyWhole) {
      return kKeyed && hit ? d : s;
    } else if constexpr (kOp == Op32::Halve || kOp == Op32::SaturatingAdd || kOp == Op32::SaturatingSub ||
                         kOp == Op32::PackedAddWhole || kOp == Op32::PackedSubWhole) {
      uint32_t out;
      if constexpr (kOp == Op32::Halve) out = Halve32(s, d);
      if constexpr (kOp == Op32::SaturatingAdd) out = SaturatingAddBytes(d, s);
      if constexpr (kOp == Op32::SaturatingSub) out = SaturatingSubBytes(d, s);
      if constexpr (kOp == Op32::PackedAddWhole) out = PackedAddB32(d, s);
      if constexpr (kOp == Op32::PackedSubWhole) out = PackedSub32(d, s);
      return kKeyed && hit ? d : out;
    } else {
      return Blend(c, s, d, g, hit);
    }
  }

 private:
  static inline uint32_t Term(const PixelContext& c, uint32_t s, int channel) {
    const uint32_t v = kOp == Op32::InvertedTranslucent ? 255 - s : s;
    return kTinted ? ProductOf(c.brightness[channel], v) : v;
  }

  static inline uint32_t Blend(const PixelContext& c, uint32_t s, uint32_t d, uint32_t g, bool hit) {
    const uint32_t a = s >> 24;
    bool skip = false;
    bool shortForm = !kAlpha;
    uint32_t alphaWeight = 256;  // the short form is the full form at 256/256
    if constexpr (kAlpha && kKeyed) {
      skip = Family::SkipsClearAlpha(kOp) && a == 0;
      shortForm = a == 255;
      alphaWeight = a == 255 ? 256 : a;
    } else if constexpr (kAlpha) {
      alphaWeight = a;
    } else if constexpr (kKeyed) {
      skip = hit;
    }

    uint32_t weight = 1;
    int shift = 0;
    if constexpr (kGraphic) weight *= c.graphicWeights[g], shift += 8;
    if constexpr (kAlpha) weight *= alphaWeight, shift += 8;
    if constexpr (UsesParameter(kOp)) weight *= c.parameter, shift += 8;

    uint32_t out;
    if constexpr (kOp == Op32::Additive || kOp == Op32::Subtractive) {
      uint32_t amount = 0;
      for (int ch = 0; ch < 3; ++ch) {
        const uint32_t t = Term(c, (s >> (8 * ch)) & 0xFF, ch);
        uint32_t value = (t * weight) >> shift;
        // With the parameter as the only weight the amount is divided by 255.
        if constexpr (!kGraphic) {
          if (shortForm) value = ProductOf(c.parameter, t);
        }
        amount |= value << (8 * ch);
      }
      out = kOp == Op32::Additive ? PackedAddA32(d, amount) : PackedSub32(d, amount);
    } else {
      out = d & 0xFF000000;
      for (int ch = 0; ch < 3; ++ch) {
        const uint32_t dc = (d >> (8 * ch)) & 0xFF;
        const uint32_t t = Term(c, (s >> (8 * ch)) & 0xFF, ch);
        uint32_t value;
        if constexpr (kOp == Op32::Multiply) {
          value = (t * dc * weight) >> (shift + 8);
        } else {
          const uint32_t target = kOp == Op32::MultiplyTranslucent ? (t * dc) >> 8 : t;
          value = shift == 0 ? target : ShiftMix(dc, target, weight, shift);
        }
        out |= (value & 0xFF) << (8 * ch);
      }
      // An opaque alpha pixel of a plain copy is copied whole.
      if constexpr (kOp == Op32::Copy && kAlpha && kKeyed && !kGraphic && !kTinted) {
        if (a == 255) out = s;
      }
    }
    return skip ? d : out;
  }
};

}  // namespace SOFTRENDER_ISA
