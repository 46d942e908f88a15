#pragma once
// The plain draw family: one walker over the clipped area for every kernel,
// and the tree of specialised loops that the 32-bit direct branch chooses
// from. Compiled once per instruction set inside that set's namespace.

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "runtime/softrender/BlendKernel32.h"
#include "runtime/softrender/BlendVector32.h"
#include "runtime/softrender/PlainDrawSetup.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

static inline uint32_t LoadPixel32(const uint8_t* p) {
  uint32_t v;
  __builtin_memcpy(&v, p, 4);
  return v;
}

static inline void StorePixel32(uint8_t* p, uint32_t v) { __builtin_memcpy(p, &v, 4); }

// One stretch of pixels through a kernel: whole vectors through its vector
// form where it has one, the rest through the scalar form (which the
// compiler vectorises where it can). A vector is read whole before it is
// written, which is safe wherever the destination does not start inside the
// source row ahead of it (the walker's overlap case).
template <class Kernel, class Vector, bool kGraphic>
static inline void RunSpan32(uint8_t* d, const uint8_t* s, const uint8_t* g, int n, const PixelContext& c,
                             const VectorContext& context) {
  // A local copy: stores through the byte pointers could otherwise alias it
  // and force its constants to be reloaded every step.
  const VectorContext v = context;
  int i = 0;
  if constexpr (Vector::kAvailable) {
    for (; i + kVectorPixels <= n; i += kVectorPixels)
      StorePixels(d + 4 * i, Vector::Apply(v, LoadPixels(s + 4 * i), LoadPixels(d + 4 * i)));
  }
  for (; i < n; ++i) {
    const uint32_t gi = kGraphic ? g[i] : 0;
    StorePixel32(d + 4 * i, Kernel::Apply(c, LoadPixel32(s + 4 * i), LoadPixel32(d + 4 * i), gi));
  }
}

// The walker: rows top to bottom, pixels left to right. Without overlap a
// row is one span. With it, groups of kGroup source pixels are read before
// they are written, then the rest of the row one by one, as the loops of
// the one-pass order do.
template <class Kernel, class Vector, bool kGraphic, int kGroup>
void WalkPlain32(const PlainDrawSetup& p, const PixelContext& c) {
  static_assert(kGroup >= 1, "a loop reads at least one pixel before it writes");
  const VectorContext v(c);
  uint8_t* d = p.destination;
  const uint8_t* s = p.source;
  const uint8_t* g = p.graphic;
  const int n = p.width;
  for (int y = 0; y < p.height; ++y) {
    if (!p.overlap) {
      RunSpan32<Kernel, Vector, kGraphic>(d, s, g, n, c, v);
    } else {
      uint8_t group[4 * kGroup];
      int i = 0;
      for (; i + kGroup <= n; i += kGroup) {
        std::memcpy(group, s + 4 * i, 4 * kGroup);
        RunSpan32<Kernel, Vector, kGraphic>(d + 4 * i, group, kGraphic ? g + i : nullptr, kGroup, c, v);
      }
      for (; i < n; ++i) {
        std::memcpy(group, s + 4 * i, 4);
        RunSpan32<Kernel, Vector, kGraphic>(d + 4 * i, group, kGraphic ? g + i : nullptr, 1, c, v);
      }
    }
    d += p.destinationPitch;
    s += p.sourcePitch;
    if (kGraphic) g += p.graphicPitch;
  }
}

static void CopyRows32(const PlainDrawSetup& p) {
  uint8_t* d = p.destination;
  const uint8_t* s = p.source;
  for (int y = 0; y < p.height; ++y, d += p.destinationPitch, s += p.sourcePitch)
    std::memmove(d, s, static_cast<size_t>(p.width) * 4);
}

template <Op32 kOp, bool kGraphic, bool kTinted, bool kAlpha, bool kKeyed, int kGroup = 1>
static void Run32(const PlainDrawSetup& p, const PixelContext& c) {
  WalkPlain32<BlendKernel32<kOp, kGraphic, kTinted, kAlpha, kKeyed>,
              BlendVector32<kOp, kGraphic, kTinted, kAlpha, kKeyed>, kGraphic, kGroup>(p, c);
}

// Turns the four per-draw modifiers into template arguments.
template <Op32 kOp>
static void RunWithModifiers32(const PlainDrawSetup& p, const PixelContext& c) {
  auto pick = [](bool flag, auto body) {
    if (flag)
      body(std::true_type{});
    else
      body(std::false_type{});
  };
  pick(p.graphic != nullptr, [&](auto graphic) {
    pick(!p.whiteBrightness, [&](auto tinted) {
      pick(p.sourceAlpha, [&](auto alpha) {
        pick(p.transparent, [&](auto keyed) {
          Run32<kOp, decltype(graphic)::value, decltype(tinted)::value, decltype(alpha)::value,
                decltype(keyed)::value>(p, c);
        });
      });
    });
  });
}

// Additive and subtractive at 255 take the source pixel as the amount: the
// exact bytewise form (two pixels a step with the flag, four without) where
// the MMX-usable flag is set, the packed form otherwise.
template <Op32 kExact, Op32 kPacked>
static void RunWholeAmount32(const PlainDrawSetup& p, const PixelContext& c) {
  if (!p.mmx)
    return p.transparent ? Run32<kPacked, false, false, false, true>(p, c)
                         : Run32<kPacked, false, false, false, false>(p, c);
  return p.transparent ? Run32<kExact, false, false, false, true, 2>(p, c)
                       : Run32<kExact, false, false, false, false, 4>(p, c);
}

// The 32-bit direct-source branch of the plain draw.
static void PlainDraw32(const PlainDrawSetup& p, const uint8_t* graphicWeights) {
  const PixelContext c{p.colorKey,
                       p.parameter,
                       {p.brightness[0], p.brightness[1], p.brightness[2]},
                       graphicWeights};
  const bool plain = p.graphic == nullptr && p.whiteBrightness;
  const bool plainOpaque = plain && !p.sourceAlpha;
  switch (p.blendMode) {
    case 0:
      // Without overlap, a row moved as a block is the same as pixel by pixel.
      if (plain && !p.transparent && (!p.sourceAlpha || !p.overlap)) return CopyRows32(p);
      if (plain && !p.transparent) return Run32<Op32::CopyWhole, false, false, false, false>(p, c);
      if (plainOpaque) return Run32<Op32::CopyWhole, false, false, false, true, 4>(p, c);
      return RunWithModifiers32<Op32::Copy>(p, c);
    case 1:
      if (plainOpaque && p.parameter == 128) {
        if (p.transparent)
          return p.mmx ? Run32<Op32::Halve, false, false, false, true, 2>(p, c)
                       : Run32<Op32::Halve, false, false, false, true, 1>(p, c);
        return Run32<Op32::Halve, false, false, false, false, 2>(p, c);
      }
      return RunWithModifiers32<Op32::Translucent>(p, c);
    case 2:
      if (plainOpaque && p.parameter == 255)
        return RunWholeAmount32<Op32::SaturatingAdd, Op32::PackedAddWhole>(p, c);
      return RunWithModifiers32<Op32::Additive>(p, c);
    case 3:
      if (plainOpaque && p.parameter == 255)
        return RunWholeAmount32<Op32::SaturatingSub, Op32::PackedSubWhole>(p, c);
      return RunWithModifiers32<Op32::Subtractive>(p, c);
    case 4:
      return RunWithModifiers32<Op32::Multiply>(p, c);
    case 10:
      return RunWithModifiers32<Op32::InvertedTranslucent>(p, c);
    case 11:
      return RunWithModifiers32<Op32::MultiplyTranslucent>(p, c);
    default:
      return;
  }
}

}  // namespace SOFTRENDER_ISA
