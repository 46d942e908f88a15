#pragma once
// The mapped draws' walker (triangles, quads, rotated draws): per row, the
// exact run of pixels whose texel lies inside the source (the map is affine,
// so the run is contiguous), its texels gathered into a temporary span and
// the span kernel chosen once per draw run over it. Compiled once per
// instruction set inside that set's namespace.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/softrender/shapes/ShapeDrawSetup.h"
#include "runtime/softrender/SpanKernels.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

// The mapped draws' rule for alpha sources: under the transparency flag,
// alpha 0 is not drawn in the modes that mix toward the source.
struct MappedFamily {
  static constexpr bool SkipsClearAlpha(Op32 op) {
    return op == Op32::Copy || op == Op32::Translucent || op == Op32::Additive || op == Op32::Subtractive ||
           op == Op32::InvertedTranslucent;
  }
};

static inline int64_t FloorDivide(int64_t a, int64_t b) {  // b > 0
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The steps k in [first, last) with 0 <= start + k * step < limit, within
// [0, count).
static inline void InsideRun(int64_t start, int64_t step, int64_t limit, int64_t count, int64_t& first,
                             int64_t& last) {
  int64_t lo = 0, hi = count;
  if (step == 0) {
    if (start < 0 || start >= limit) hi = 0;
  } else if (step > 0) {
    lo = -FloorDivide(start, step);  // ceil(-start / step)
    hi = FloorDivide(limit - 1 - start, step) + 1;
  } else {
    const int64_t b = -step;
    lo = FloorDivide(start - limit, b) + 1;
    hi = FloorDivide(start, b) + 1;
  }
  first = std::max(first, lo);
  last = std::min(last, hi);
}

template <class Family>
struct MappedKernels {
  template <class Raw>
  static SpanFn Choose32(const MappedDrawSetup& p) {
    const bool g = p.graphic != nullptr, t = !p.whiteBrightness, a = p.sourceAlpha, k = p.transparent;
    switch (p.blendMode) {
      case 0:
        if (!g && !t && !a) return ChooseSpan32<Op32::CopyWhole, Raw, Family>(false, false, false, k);
        return ChooseSpan32<Op32::Copy, Raw, Family>(g, t, a, k);
      case 1: return ChooseSpan32<Op32::Translucent, Raw, Family>(g, t, a, k);
      case 2: return ChooseSpan32<Op32::Additive, Raw, Family>(g, t, a, k);
      case 3: return ChooseSpan32<Op32::Subtractive, Raw, Family>(g, t, a, k);
      case 4: return ChooseSpan32<Op32::Multiply, Raw, Family>(g, t, a, k);
      case 10: return ChooseSpan32<Op32::InvertedTranslucent, Raw, Family>(g, t, a, k);
      case 11: return ChooseSpan32<Op32::MultiplyTranslucent, Raw, Family>(g, t, a, k);
      default: return nullptr;
    }
  }

  template <class Colour, class Raw>
  static SpanFn Choose16(const MappedDrawSetup& p) {
    const bool g = p.graphic != nullptr, t = !p.whiteBrightness, k = p.transparent;
    switch (p.blendMode) {
      case 0:
        if (!g && !t && Colour::kBytes == 2) return ChooseSpan16<Op16::CopyWhole, Colour, Raw, Family>(false, false, k);
        return ChooseSpan16<Op16::Copy, Colour, Raw, Family>(g, t, k);
      case 1: return ChooseSpan16<Op16::Translucent, Colour, Raw, Family>(g, t, k);
      case 2: return ChooseSpan16<Op16::Additive, Colour, Raw, Family>(g, t, k);
      case 3: return ChooseSpan16<Op16::Subtractive, Colour, Raw, Family>(g, t, k);
      case 4: return ChooseSpan16<Op16::Multiply, Colour, Raw, Family>(g, t, k);
      case 10: return ChooseSpan16<Op16::InvertedTranslucent, Colour, Raw, Family>(g, t, k);
      case 11: return ChooseSpan16<Op16::MultiplyTranslucent, Colour, Raw, Family>(g, t, k);
      default: return nullptr;
    }
  }
};

constexpr int kMappedChunk = 256;

// The row's run of pixels whose texel lies inside the source. Its ends are
// usually at most a few pixels in from the row's, so they are looked for by
// steps before anything is divided.
static inline bool RowRun(const MappedDrawSetup& p, const MappedRow& row, int64_t& first, int64_t& last) {
  auto inside = [&](int64_t k) {
    return static_cast<uint64_t>(row.u + k * p.stepU) < static_cast<uint64_t>(p.widthFixed) &&
           static_cast<uint64_t>(row.v + k * p.stepV) < static_cast<uint64_t>(p.heightFixed);
  };
  constexpr int kSteps = 4;
  first = 0;
  last = row.count;
  for (int i = 0; i < kSteps && first < last && !inside(first); ++i) ++first;
  for (int i = 0; i < kSteps && first < last && !inside(last - 1); ++i) --last;
  if (first < last && (!inside(first) || !inside(last - 1))) {
    first = 0;
    last = row.count;
    InsideRun(row.u, p.stepU, p.widthFixed, row.count, first, last);
    InsideRun(row.v, p.stepV, p.heightFixed, row.count, first, last);
  }
  return first < last;
}

// kDirect: a plain copy, whose texels (or palette entries) go straight to
// the destination; otherwise a chunk is gathered and the span kernel run.
template <int kDestinationBytes, int kSourceBytes, bool kPalette, bool kDirect>
static void WalkMapped(const MappedDrawSetup& p, const PixelContext& c, SpanFn span) {
  alignas(64) uint8_t colours[kMappedChunk * 4];
  alignas(64) uint8_t indices[kMappedChunk];
  alignas(64) uint8_t weights[kMappedChunk];
  const uint8_t* src = p.source;
  const intptr_t pitch = p.sourcePitch;
  const uint8_t* graphic = p.graphic;
  const intptr_t graphicPitch = p.graphicPitch;
  MappedRow row;
  while (p.nextRow(p.rows, &row)) {
    int64_t first, last;
    if (!RowRun(p, row, first, last)) continue;
    int64_t u = row.u + first * p.stepU;
    int64_t v = row.v + first * p.stepV;
    uint8_t* d = p.destination + static_cast<intptr_t>(row.y) * p.destinationPitch +
                 static_cast<intptr_t>(row.x + first) * kDestinationBytes;
    if constexpr (kDirect) {
      for (int64_t k = first; k < last; ++k) {
        const uint8_t* texel = src + static_cast<intptr_t>(v >> 18) * pitch + static_cast<intptr_t>(u >> 18) * kSourceBytes;
        if constexpr (kPalette)
          std::memcpy(d, p.palette + kDestinationBytes * *texel, kDestinationBytes);
        else
          std::memcpy(d, texel, kDestinationBytes);
        d += kDestinationBytes;
        u += p.stepU;
        v += p.stepV;
      }
      continue;
    }
    for (int64_t k = first; k < last;) {
      const int n = static_cast<int>(std::min<int64_t>(kMappedChunk, last - k));
      for (int i = 0; i < n; ++i) {
        const intptr_t cu = static_cast<intptr_t>(u >> 18), cv = static_cast<intptr_t>(v >> 18);
        const uint8_t* texel = src + cv * pitch + cu * kSourceBytes;
        if constexpr (kPalette) {
          indices[i] = *texel;
          std::memcpy(colours + kDestinationBytes * i, p.palette + kDestinationBytes * *texel, kDestinationBytes);
        } else {
          std::memcpy(colours + kSourceBytes * i, texel, kSourceBytes);
        }
        if (graphic) weights[i] = graphic[cv * graphicPitch + cu];
        u += p.stepU;
        v += p.stepV;
      }
      span(d, colours, kPalette ? indices : colours, graphic ? weights : nullptr, n, c);
      d += static_cast<intptr_t>(n) * kDestinationBytes;
      k += n;
    }
  }
}

static void MappedDraw(const MappedDrawSetup& p) {
  const PixelContext c{p.colorKey, p.parameter, {p.brightness[0], p.brightness[1], p.brightness[2]},
                       p.graphicWeights};
  using K = MappedKernels<MappedFamily>;
  const bool plainCopy = p.blendMode == 0 && !p.graphic && p.whiteBrightness && !p.sourceAlpha && !p.transparent;
  SpanFn span;
  if (p.destinationBytes == 4) {
    if (p.palette) {
      if (plainCopy) return WalkMapped<4, 1, true, true>(p, c, nullptr);
      if ((span = K::template Choose32<RawIndex8>(p))) WalkMapped<4, 1, true, false>(p, c, span);
    } else {
      if (plainCopy) return WalkMapped<4, 4, false, true>(p, c, nullptr);
      if ((span = K::template Choose32<RawPixel32>(p))) WalkMapped<4, 4, false, false>(p, c, span);
    }
    return;
  }
  if (p.palette) {
    if (plainCopy) return WalkMapped<2, 1, true, true>(p, c, nullptr);
    if ((span = K::template Choose16<ColourWord16, RawIndex8>(p))) WalkMapped<2, 1, true, false>(p, c, span);
  } else if (p.sourceAlpha) {
    if ((span = K::template Choose16<ColourWord16Alpha, RawWord16>(p))) WalkMapped<2, 4, false, false>(p, c, span);
  } else {
    if (plainCopy) return WalkMapped<2, 2, false, true>(p, c, nullptr);
    if ((span = K::template Choose16<ColourWord16, RawWord16>(p))) WalkMapped<2, 2, false, false>(p, c, span);
  }
}

}  // namespace SOFTRENDER_ISA
