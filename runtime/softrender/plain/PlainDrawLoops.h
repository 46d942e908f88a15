#pragma once
// The plain draw family: the walker over the clipped area and the choice of
// span kernel for each source kind (32-bit, 16-bit with or without alpha,
// palette onto 32 or 16 bits). Compiled once per instruction set inside that
// set's namespace.

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "runtime/softrender/plain/PlainDrawSetup.h"
#include "runtime/softrender/SpanKernels.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

// The kernel a draw runs, and how many source pixels each of its steps
// reads before it writes when the source may be overwritten under it.
struct SpanPlan {
  SpanFn span;
  int group;
};

// Palette colours of a chunk gathered into a temporary span. The palette is
// the store's 1,024 bytes, so a 4-byte read at any 2-byte entry stays inside.
template <int kDestinationBytes>
static inline void FetchPalette(uint8_t* colours, const uint8_t* indices, int n, const uint8_t* palette) {
  int i = 0;
#if SOFTRENDER_VECTOR_BYTES == 32
  for (; i + 8 <= n; i += 8) {
    const __m256i at = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(indices + i)));
    const __m256i entries = _mm256_i32gather_epi32(reinterpret_cast<const int*>(palette), at, kDestinationBytes);
    if constexpr (kDestinationBytes == 4)
      StorePixels(colours + 4 * i, (VPixels)entries);
    else
      StoreWords(colours + 2 * i, (VPixels)entries);
  }
#endif
  using Entry = std::conditional_t<kDestinationBytes == 4, uint32_t, uint16_t>;
  auto entry = [&](uint32_t index) {
    Entry e;
    std::memcpy(&e, palette + kDestinationBytes * index, kDestinationBytes);
    return e;
  };
  for (; i + 4 <= n; i += 4) {
    uint32_t four;
    std::memcpy(&four, indices + i, 4);
    if constexpr (kDestinationBytes == 4) {
      // One store for the four.
      const __m128i e =
          _mm_setr_epi32(static_cast<int>(entry(four & 0xFF)), static_cast<int>(entry((four >> 8) & 0xFF)),
                         static_cast<int>(entry((four >> 16) & 0xFF)), static_cast<int>(entry(four >> 24)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(colours + 4 * i), e);
    } else {
      const uint64_t e = uint64_t{entry(four & 0xFF)} | uint64_t{entry((four >> 8) & 0xFF)} << 16 |
                         uint64_t{entry((four >> 16) & 0xFF)} << 32 | uint64_t{entry(four >> 24)} << 48;
      std::memcpy(colours + 2 * i, &e, 8);
    }
  }
  for (; i < n; ++i) {
    const Entry e = entry(indices[i]);
    std::memcpy(colours + kDestinationBytes * i, &e, kDestinationBytes);
  }
}

// Rows top to bottom, each in chunks of a temporary span's length (palette
// sources) or whole (direct sources). With overlap, groups of plan.group
// source pixels are read before they are written, then the rest of the row
// one by one, as the loops of the one-pass order do.
template <int kDestinationBytes, int kSourceBytes, bool kPalette>
void WalkPlain(const PlainDrawSetup& p, const PixelContext& c, SpanPlan plan) {
  constexpr int kChunk = 256;  // even, so pairs never straddle two chunks
  alignas(64) uint8_t colours[kChunk * kDestinationBytes];
  auto run = [&](uint8_t* d, const uint8_t* s, const uint8_t* g, int n) {
    if constexpr (kPalette) {
      FetchPalette<kDestinationBytes>(colours, s, n, p.palette);
      plan.span(d, colours, s, g, n, c);
    } else {
      plan.span(d, s, s, g, n, c);
    }
  };
  uint8_t* d = p.destination;
  const uint8_t* s = p.source;
  const uint8_t* g = p.graphic;
  const int n = p.width;
  for (int y = 0; y < p.height; ++y) {
    auto graphicAt = [&](int i) { return g ? g + i : nullptr; };
    if (!p.overlap) {
      const int step = kPalette ? kChunk : n;
      for (int i = 0; i < n; i += step)
        run(d + kDestinationBytes * i, s + kSourceBytes * i, graphicAt(i), n - i < step ? n - i : step);
    } else {
      uint8_t group[16];  // four pixels of at most 4 bytes; never fewer than a fetch reads
      int i = 0;
      for (; i + plan.group <= n; i += plan.group) {
        std::memcpy(group, s + kSourceBytes * i, static_cast<size_t>(kSourceBytes) * plan.group);
        run(d + kDestinationBytes * i, group, graphicAt(i), plan.group);
      }
      for (; i < n; ++i) {
        std::memcpy(group, s + kSourceBytes * i, kSourceBytes);
        run(d + kDestinationBytes * i, group, graphicAt(i), 1);
      }
    }
    d += p.destinationPitch;
    s += p.sourcePitch;
    if (g) g += p.graphicPitch;
  }
}

static void CopyRows(const PlainDrawSetup& p, int bytesPerPixel) {
  uint8_t* d = p.destination;
  const uint8_t* s = p.source;
  for (int y = 0; y < p.height; ++y, d += p.destinationPitch, s += p.sourcePitch)
    std::memmove(d, s, static_cast<size_t>(p.width) * bytesPerPixel);
}

template <Op32 kOp, class Raw>
static SpanPlan General32(const PlainDrawSetup& p) {
  return {ChooseSpan32<kOp, Raw>(p.graphic != nullptr, !p.whiteBrightness, p.sourceAlpha, p.transparent), 1};
}

template <Op32 kOp, class Raw>
static SpanPlan Plain32(bool keyed, int group) {
  return {ChooseSpan32<kOp, Raw>(false, false, false, keyed), group};
}

// The 32-bit destination's loops for direct (Raw = the pixel) and palette
// (Raw = the index) sources. A null span: nothing to draw.
template <class Raw>
static SpanPlan Choose32(const PlainDrawSetup& p) {
  const bool plain = p.graphic == nullptr && p.whiteBrightness;
  const bool plainOpaque = plain && !p.sourceAlpha;
  const bool k = p.transparent;
  switch (p.blendMode) {
    case 0:
      if (plain && !k) return Plain32<Op32::CopyWhole, Raw>(false, 1);
      if (plainOpaque) return Plain32<Op32::CopyWhole, Raw>(true, 4);
      return General32<Op32::Copy, Raw>(p);
    case 1:
      if (plainOpaque && p.parameter == 128) return Plain32<Op32::Halve, Raw>(k, k && !p.mmx ? 1 : 2);
      return General32<Op32::Translucent, Raw>(p);
    case 2:
      // At 255 the source is the amount: the exact bytewise form (two pixels
      // a step with the flag, four without) where the MMX-usable flag is set,
      // the packed form otherwise.
      if (plainOpaque && p.parameter == 255)
        return p.mmx ? Plain32<Op32::SaturatingAdd, Raw>(k, k ? 2 : 4) : Plain32<Op32::PackedAddWhole, Raw>(k, 1);
      return General32<Op32::Additive, Raw>(p);
    case 3:
      if (plainOpaque && p.parameter == 255)
        return p.mmx ? Plain32<Op32::SaturatingSub, Raw>(k, k ? 2 : 4) : Plain32<Op32::PackedSubWhole, Raw>(k, 1);
      return General32<Op32::Subtractive, Raw>(p);
    case 4:
      return General32<Op32::Multiply, Raw>(p);
    case 10:
      return General32<Op32::InvertedTranslucent, Raw>(p);
    case 11:
      return General32<Op32::MultiplyTranslucent, Raw>(p);
    default:
      return {nullptr, 1};
  }
}

template <Op16 kOp, class Colour, class Raw>
static SpanPlan General16(const PlainDrawSetup& p) {
  return {ChooseSpan16<kOp, Colour, Raw>(p.graphic != nullptr, !p.whiteBrightness, p.transparent), 1};
}

// The 16-bit destination's loops for the colour word, the word with alpha
// and the palette entry.
template <class Colour, class Raw>
static SpanPlan Choose16(const PlainDrawSetup& p) {
  const bool plain = p.graphic == nullptr && p.whiteBrightness;
  const bool plainOpaque = plain && !p.sourceAlpha;
  const bool k = p.transparent;
  switch (p.blendMode) {
    case 0:
      if (plain && !k) return {ChooseSpan16<Op16::CopyWhole, Colour, Raw>(false, false, false), 1};
      // The keyed copy by pairs.
      if (plainOpaque) return {ChooseSpan16<Op16::CopyWhole, Colour, Raw>(false, false, true), 2};
      return General16<Op16::Copy, Colour, Raw>(p);
    case 1:
      if (plainOpaque && p.parameter == 128) return {ChooseSpan16<Op16::Halve, Colour, Raw>(false, false, k), 2};
      if (plainOpaque) return {ChooseSpan16<Op16::Lerp, Colour, Raw>(false, false, k), 1};
      return General16<Op16::Translucent, Colour, Raw>(p);
    case 2:
      if (plainOpaque && p.parameter == 255) return {ChooseSpan16<Op16::AddWhole, Colour, Raw>(false, false, k), 2};
      return General16<Op16::Additive, Colour, Raw>(p);
    case 3:
      if (plainOpaque && p.parameter == 255) return {ChooseSpan16<Op16::SubWhole, Colour, Raw>(false, false, k), 2};
      return General16<Op16::Subtractive, Colour, Raw>(p);
    case 4:
      return General16<Op16::Multiply, Colour, Raw>(p);
    case 10:
      return General16<Op16::InvertedTranslucent, Colour, Raw>(p);
    case 11:
      return General16<Op16::MultiplyTranslucent, Colour, Raw>(p);
    default:
      return {nullptr, 1};
  }
}

// The plain draw after its entry has clipped and prepared it.
static void PlainDraw(const PlainDrawSetup& p) {
  const PixelContext c{p.colorKey, p.parameter, {p.brightness[0], p.brightness[1], p.brightness[2]}, p.graphicWeights};
  const bool plainCopy = p.blendMode == 0 && p.graphic == nullptr && p.whiteBrightness && !p.transparent;
  if (p.destinationBytes == 4) {
    if (p.palette) {
      const SpanPlan plan = Choose32<RawIndex8>(p);
      if (plan.span) WalkPlain<4, 1, true>(p, c, plan);
      return;
    }
    // Without overlap, a row moved as a block is the same as pixel by pixel.
    if (plainCopy && (!p.sourceAlpha || !p.overlap)) return CopyRows(p, 4);
    const SpanPlan plan = Choose32<RawPixel32>(p);
    if (plan.span) WalkPlain<4, 4, false>(p, c, plan);
    return;
  }
  if (p.palette) {
    const SpanPlan plan = Choose16<ColourWord16, RawIndex8>(p);
    if (plan.span) WalkPlain<2, 1, true>(p, c, plan);
    return;
  }
  if (p.sourceAlpha) {
    const SpanPlan plan = Choose16<ColourWord16Alpha, RawWord16>(p);
    if (plan.span) WalkPlain<2, 4, false>(p, c, plan);
    return;
  }
  if (plainCopy) return CopyRows(p, 2);
  const SpanPlan plan = Choose16<ColourWord16, RawWord16>(p);
  if (plan.span) WalkPlain<2, 2, false>(p, c, plan);
}

}  // namespace SOFTRENDER_ISA
