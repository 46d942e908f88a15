#pragma once
// The per-pixel operation of every 16-bit blend loop: one R5G6B5 source
// colour (with its alpha and blend-graphic weight) combined with one
// destination pixel, on the 5- and 6-bit field values. Written once over the
// word type W: uint32_t for one pixel, or a vector of 32-bit lanes with one
// pixel per lane, so the scalar and vector forms cannot drift apart. Every
// table lookup is replaced by its exact formula (the tests prove them over
// their whole ranges), and every per-pixel choice is a select.
//
// Compiled once per instruction set inside that set's namespace.

#include <cstdint>

#include "runtime/softrender/BlendArithmetic.h"
#include "runtime/softrender/BlendKernel32.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

enum class Op16 {
  // The mode formulas, with every modifier.
  Copy,
  Translucent,
  Additive,
  Subtractive,
  Multiply,
  InvertedTranslucent,
  MultiplyTranslucent,
  // Fast paths without blend graphic, brightness or alpha.
  CopyWhole,  // the colour word itself
  Lerp,       // translucent through the lerp slab
  Halve,      // translucent at 128, by pairs
  AddWhole,   // additive at 255: the pair form, lone pixels variant B
  SubWhole,   // subtractive at 255: the pair form, lone pixels one by one
};

constexpr bool IsPairOp(Op16 op) { return op == Op16::Halve || op == Op16::AddWhole || op == Op16::SubWhole; }

// Per-draw values as words of W.
template <class W>
struct Context16 {
  W parameter;
  W slab;              // parameter / 4
  W level[3];          // brightness of red, green, blue
  W scale;             // ProductScale(parameter)
  bool unitParameter;  // parameter 255: a product by it is the value itself
};

template <class W>
static inline Context16<W> MakeContext16(const PixelContext& c) {
  Context16<W> x;
  x.parameter = Broadcast<W>(c.parameter);
  x.slab = Broadcast<W>(c.parameter >> 2);
  x.level[0] = Broadcast<W>(c.brightness[2]);
  x.level[1] = Broadcast<W>(c.brightness[1]);
  x.level[2] = Broadcast<W>(c.brightness[0]);
  x.unitParameter = c.parameter >= 255;
  x.scale = Broadcast<W>(x.unitParameter ? 0 : ProductScale(c.parameter));
  return x;
}

template <Op16 kOp, bool kGraphic, bool kTinted, bool kAlpha, bool kKeyed, class Family = PlainFamily>
struct BlendKernel16 {
  // The same mode's name for the family's rules.
  static constexpr Op32 kFamilyOp = kOp == Op16::Copy                  ? Op32::Copy
                                    : kOp == Op16::Translucent         ? Op32::Translucent
                                    : kOp == Op16::Additive            ? Op32::Additive
                                    : kOp == Op16::Subtractive         ? Op32::Subtractive
                                    : kOp == Op16::InvertedTranslucent ? Op32::InvertedTranslucent
                                    : kOp == Op16::MultiplyTranslucent ? Op32::MultiplyTranslucent
                                                                       : Op32::Multiply;
  static constexpr bool kUsesParameter = kOp == Op16::Translucent || kOp == Op16::Additive ||
                                         kOp == Op16::Subtractive || kOp == Op16::InvertedTranslucent ||
                                         kOp == Op16::MultiplyTranslucent;
  // Whether every intermediate value fits 16-bit lanes: no weight, or one
  // weight (blend graphic or alpha) in the modes that do not weigh by the
  // parameter too.
  static constexpr bool kFitsShortLanes =
      !IsPairOp(kOp) && ((!kGraphic && !kAlpha) || (kGraphic != kAlpha && (kOp == Op16::Copy || kOp == Op16::Additive ||
                                                                           kOp == Op16::Subtractive)));

  // s: the colour word, a: its alpha, w: the blend-graphic weight, hit: all
  // ones where the raw source value equals the key. One pixel per lane of W.
  template <class W>
  static inline W Apply(const Context16<W>& c, W s, W a, W d, W w, W hit) {
    if constexpr (kOp == Op16::CopyWhole) {
      return kKeyed ? Select<W>(hit, d, s) : s;
    } else if constexpr (kOp == Op16::Lerp) {
      const W out =
          Pack16<W>(LerpSlab<W>(c.slab, Red16<W>(s), Red16<W>(d)), LerpSlab<W>(c.slab, Green16<W>(s), Green16<W>(d)),
                    LerpSlab<W>(c.slab, Blue16<W>(s), Blue16<W>(d)));
      return kKeyed ? Select<W>(hit, d, out) : out;
    } else if constexpr (kOp == Op16::Halve) {
      const W out = Halve16<W>(s, d);
      return kKeyed ? Select<W>(hit, d, out) : out;
    } else if constexpr (kOp == Op16::AddWhole) {
      const W out = PackedAddB16<W>(d, s);
      return kKeyed ? Select<W>(hit, d, out) : out;
    } else if constexpr (kOp == Op16::SubWhole) {
      const W out = PackedSub16<W>(d, s);
      return kKeyed ? Select<W>(hit, d, out) : out;
    } else {
      return Blend(c, s, a, d, w, hit);
    }
  }

  // Two pixels per lane, the first in the low half (the pair ops only).
  template <class W>
  static inline W ApplyPair(W s, W d) {
    if constexpr (kOp == Op16::Halve) return Halve16<W>(s, d);
    if constexpr (kOp == Op16::AddWhole) return PackedAddPair16<W>(d, s);
    if constexpr (kOp == Op16::SubWhole) return PackedSubPair16<W>(d, s);
    return d;
  }

 private:
  template <class W>
  static inline W Field(W v, int f) {
    return f == 0 ? Red16<W>(v) : f == 1 ? Green16<W>(v) : Blue16<W>(v);
  }
  template <class W>
  static inline W Bright(const Context16<W>& c, W v, int f) {
    return DivideBy255<W>(c.level[f] * v);
  }
  // The source term: inverted first in mode 10, then the brightness.
  template <class W>
  static inline W Term(const Context16<W>& c, W s, int f) {
    W v = Field(s, f);
    if constexpr (kOp == Op16::InvertedTranslucent) v = Broadcast<W>(f == 1 ? 63 : 31) - v;
    return kTinted ? Bright(c, v, f) : v;
  }

  template <class W>
  static inline W Blend(const Context16<W>& c, W s, W a, W d, W w, W hit) {
    W skip{};
    W shortForm = kAlpha ? W{} : ~W{};
    W alphaWeight = W{} + 256;  // the short form is the full form at 256/256
    if constexpr (kAlpha && kKeyed) {
      if constexpr (Family::SkipsClearAlpha(kFamilyOp)) skip = EqualMask<W>(a, W{});
      shortForm = EqualMask<W>(a, W{} + 255);
      alphaWeight = Select<W>(shortForm, W{} + 256, a);
    } else if constexpr (kAlpha) {
      alphaWeight = a;
    } else if constexpr (kKeyed) {
      skip = hit;
    }

    W weight = W{} + 1;
    int shift = 0;
    if constexpr (kGraphic) weight *= w, shift += 8;
    if constexpr (kAlpha) weight *= alphaWeight, shift += 8;

    W field[3];
    if constexpr ((kOp == Op16::Additive || kOp == Op16::Subtractive) && LaneBytes<W>() == 2 && !kGraphic && !kAlpha &&
                  !kTinted) {
      // Each field times p / 255 in place, through the high half of its
      // product by the draw's scale (the bits below a field drop out).
      W amount;
      if (c.unitParameter) {
        amount = s;
      } else {
        amount = (MultiplyHigh16<W>(s & 0xF800, c.scale) & 0xF800) | (MultiplyHigh16<W>(s & 0x07E0, c.scale) & 0x07E0) |
                 MultiplyHigh16<W>(s & 0x001F, c.scale);
      }
      const W out = kOp == Op16::Additive ? PackedAddA16<W>(d, amount) : PackedSub16<W>(d, amount);
      return Select<W>(skip, d, out);
    } else if constexpr (kOp == Op16::Additive || kOp == Op16::Subtractive) {
      for (int f = 0; f < 3; ++f) {
        W y;
        if constexpr (kGraphic) {
          y = (Term(c, s, f) * weight) >> shift;
        } else if constexpr (kAlpha) {
          // Alpha before brightness.
          y = (Field(s, f) * alphaWeight) >> 8;
          if constexpr (kTinted) y = Bright(c, y, f);
        } else {
          y = Term(c, s, f);
        }
        field[f] = DivideBy255<W>(c.parameter * y);
      }
      const W amount = Pack16<W>(field[0], field[1], field[2]);
      const W out = kOp == Op16::Additive ? PackedAddA16<W>(d, amount) : PackedSub16<W>(d, amount);
      return Select<W>(skip, d, out);
    } else {
      if constexpr (kUsesParameter) weight *= c.parameter, shift += 8;
      for (int f = 0; f < 3; ++f) {
        const int bits = f == 1 ? 6 : 5;
        const W dc = Field(d, f);
        const W t = Term(c, s, f);
        if constexpr (kOp == Op16::Multiply) {
          field[f] = (t * dc * weight) >> (bits + shift);
        } else if constexpr (kOp == Op16::Copy) {
          field[f] = shift == 0 ? t : ShiftMix<W>(dc, t, weight, shift);
        } else {
          const W target = kOp == Op16::MultiplyTranslucent ? (t * dc) >> bits : t;
          // Without weights beside the parameter: the table mix.
          W mixed;
          if constexpr (!kGraphic && !kAlpha) {
            mixed = TableMix<W>(dc, target, c.parameter);
          } else {
            mixed = ShiftMix<W>(dc, target, weight, shift);
            if constexpr (kOp == Op16::MultiplyTranslucent && kAlpha && !kGraphic && !kTinted) {
              // Green keeps five more fraction bits of its product.
              if (f == 1) {
                const W g = ((Field(s, 1) * dc) >> 1) - (dc << 5);
                const W step = ShiftRightSigned<W>(g * weight, 16);
                mixed = ((dc << 5) + step) >> 5;
              }
            }
            if constexpr (!kGraphic && kKeyed)
              mixed = Select<W>(shortForm, TableMix<W>(dc, target, c.parameter), mixed);
          }
          field[f] = mixed;
        }
      }
      const W out = Pack16<W>(field[0], field[1], field[2]);
      return Select<W>(skip, d, out);
    }
  }
};

}  // namespace SOFTRENDER_ISA
