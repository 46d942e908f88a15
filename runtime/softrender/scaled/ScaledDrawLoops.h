#pragma once
// The scaled draw family: the gather walker over the clipped area, which
// fetches each destination row's source colours through the per-draw column
// table into a temporary span and runs the span kernel chosen once per
// draw, and that choice under the family's own rules. Compiled once per
// instruction set inside that set's namespace.

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "runtime/softrender/scaled/ScaledDrawSetup.h"
#include "runtime/softrender/SpanKernels.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

// The scaled draw's rules for alpha sources.
struct ScaledFamily {
  // Under the transparency flag, alpha 0 is not drawn in any mode.
  static constexpr bool SkipsClearAlpha(Op32) { return true; }
};

// n source pixels of kBytes each from row at the columns of the table into
// out, with the family's fast shapes: a mirrored same-size run read
// backwards a vector at a time, every column twice by unpacking, and every
// other column by packing.
template <int kBytes>
static inline void Gather(uint8_t* out, const uint8_t* row, const int32_t* columns, int n, bool reversed, bool doubled,
                          bool halved) {
  int i = 0;
  if constexpr (kBytes == 4) {
    if (reversed) {
#if SOFTRENDER_VECTOR_BYTES == 32
      const __m256i backwards = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
      for (; i + 8 <= n; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * (columns[i] - 7)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i), _mm256_permutevar8x32_epi32(v, backwards));
      }
#endif
      for (; i + 4 <= n; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * (columns[i] - 3)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3)));
      }
    } else if (doubled) {
      // A lone first pixel where the cut fell inside a pair.
      if (n > 1 && columns[0] != columns[1]) {
        std::memcpy(out, row + 4 * columns[0], 4);
        i = 1;
      }
      for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * columns[i]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_unpacklo_epi32(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i + 16), _mm_unpackhi_epi32(v, v));
      }
    } else if (halved) {
      // The source is exactly twice as wide, so the odd column after the
      // last even one taken is still in the row.
      for (; i + 4 <= n; i += 4) {
        const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(row + 4 * columns[i]));
        const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(row + 4 * columns[i] + 16));
        _mm_storeu_ps(reinterpret_cast<float*>(out + 4 * i), _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
      }
    }
#if SOFTRENDER_VECTOR_BYTES == 32
    for (; i + 8 <= n; i += 8) {
      const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * i),
                          _mm256_i32gather_epi32(reinterpret_cast<const int*>(row), at, 4));
    }
#endif
  } else if constexpr (kBytes == 2) {
    if (reversed) {
      for (; i + 8 <= n; i += 8) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * (columns[i] - 7)));
        v = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(0, 1, 2, 3)), _MM_SHUFFLE(0, 1, 2, 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
      }
    } else if (doubled) {
      if (n > 1 && columns[0] != columns[1]) {
        std::memcpy(out, row + 2 * columns[0], 2);
        i = 1;
      }
      for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * columns[i]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_unpacklo_epi16(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i + 16), _mm_unpackhi_epi16(v, v));
      }
    } else if (halved) {
      for (; i + 8 <= n; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * columns[i]));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * columns[i] + 16));
        // Each even word sign-extended, so the signed pack keeps it.
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(out + 2 * i),
            _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(a, 16), 16), _mm_srai_epi32(_mm_slli_epi32(b, 16), 16)));
      }
    }
  }
  for (; i < n; ++i) std::memcpy(out + kBytes * i, row + kBytes * columns[i], kBytes);
}

// Palette entries of n indices taken through the column table, with the
// indices themselves for the key.
template <int kDestinationBytes>
static inline void GatherPalette(uint8_t* colours, uint8_t* indices, const uint8_t* row, const int32_t* columns, int n,
                                 const uint8_t* palette) {
  for (int i = 0; i < n; ++i) {
    const uint8_t index = row[columns[i]];
    indices[i] = index;
    std::memcpy(colours + kDestinationBytes * i, palette + kDestinationBytes * index, kDestinationBytes);
  }
}

// Rows top to bottom; each row in chunks gathered into temporary spans
// (colours, raw values for the key, blend-graphic bytes) and combined by
// span. A row that fits one chunk and repeats the previous source row keeps
// what was gathered for it. A null span is the unkeyed whole copy: the
// gather then writes the destination itself, and a destination row whose
// source row repeats the previous one is copied from the row above. With
// overlap every pixel is gathered just before it is written.
template <int kDestinationBytes, int kSourceBytes, bool kPalette>
void WalkScaled(const ScaledDrawSetup& p, const PixelContext& c, SpanFn span) {
  constexpr int kChunk = 1024;
  constexpr int kColourBytes = kPalette ? kDestinationBytes : kSourceBytes;
  alignas(64) uint8_t colours[kChunk * kColourBytes];
  alignas(64) uint8_t indices[kChunk];
  alignas(64) uint8_t weights[kChunk];
  const int chunk = p.overlap ? 1 : kChunk;
  const bool reversed = p.reversed && !p.overlap;
  const bool doubled = p.doubled && !p.overlap;
  const bool halved = p.halved && !p.overlap;
  const size_t rowBytes = static_cast<size_t>(p.width) * kDestinationBytes;
  uint8_t* d = p.destination;
  for (int y = 0; y < p.height; ++y, d += p.destinationPitch) {
    const int sourceRow = p.rows[y];
    if (!span && !p.overlap && y > 0 && sourceRow == p.rows[y - 1]) {
      std::memcpy(d, d - p.destinationPitch, rowBytes);
      continue;
    }
    const uint8_t* s = p.source + static_cast<intptr_t>(sourceRow) * p.sourcePitch;
    const uint8_t* g = p.graphic ? p.graphic + static_cast<intptr_t>(sourceRow) * p.graphicPitch : nullptr;
    if (span && !p.overlap && p.width <= kChunk && y > 0 && sourceRow == p.rows[y - 1]) {
      span(d, colours, kPalette ? indices : colours, g ? weights : nullptr, p.width, c);
      continue;
    }
    for (int i = 0; i < p.width; i += chunk) {
      const int n = p.width - i < chunk ? p.width - i : chunk;
      const int32_t* columns = p.columns + i;
      uint8_t* out = d + kDestinationBytes * i;
      if constexpr (kPalette) {
        if (!span) {
          GatherPalette<kDestinationBytes>(out, indices, s, columns, n, p.palette);
          continue;
        }
        GatherPalette<kDestinationBytes>(colours, indices, s, columns, n, p.palette);
      } else {
        if (!span) {
          Gather<kSourceBytes>(out, s, columns, n, reversed, doubled, halved);
          continue;
        }
        Gather<kSourceBytes>(colours, s, columns, n, reversed, doubled, halved);
      }
      if (g)
        for (int k = 0; k < n; ++k) weights[k] = g[columns[k]];
      span(out, colours, kPalette ? indices : colours, g ? weights : nullptr, n, c);
    }
  }
}

template <Op32 kOp, class Raw>
static SpanFn Scaled32(const ScaledDrawSetup& p) {
  return ChooseSpan32<kOp, Raw, ScaledFamily>(p.graphic != nullptr, !p.whiteBrightness, p.sourceAlpha, p.transparent);
}

// The 32-bit loops for direct (Raw = the pixel) and palette (Raw = the
// index) sources. Sets whole for the unkeyed whole copy (no span).
template <class Raw>
static SpanFn ChooseScaled32(const ScaledDrawSetup& p, bool& whole) {
  const bool plainOpaque = p.graphic == nullptr && p.whiteBrightness && !p.sourceAlpha;
  const bool k = p.transparent;
  whole = false;
  switch (p.blendMode) {
    case 0:
      if (plainOpaque && !k) {
        whole = true;
        return nullptr;
      }
      if (plainOpaque) return ChooseSpan32<Op32::CopyWhole, Raw, ScaledFamily>(false, false, false, true);
      return Scaled32<Op32::Copy, Raw>(p);
    case 1:
      return Scaled32<Op32::Translucent, Raw>(p);
    case 2:
      return Scaled32<Op32::Additive, Raw>(p);
    case 3:
      // At 255 the source is the amount: bytewise exact where the MMX-usable
      // flag is set, packed otherwise.
      if (plainOpaque && p.parameter == 255)
        return p.mmx ? ChooseSpan32<Op32::SaturatingSub, Raw, ScaledFamily>(false, false, false, k)
                     : ChooseSpan32<Op32::PackedSubWhole, Raw, ScaledFamily>(false, false, false, k);
      return Scaled32<Op32::Subtractive, Raw>(p);
    case 4:
      return Scaled32<Op32::Multiply, Raw>(p);
    case 10:
      return Scaled32<Op32::InvertedTranslucent, Raw>(p);
    case 11:
      return Scaled32<Op32::MultiplyTranslucent, Raw>(p);
    default:
      return nullptr;
  }
}

template <Op16 kOp, class Colour, class Raw>
static SpanFn Scaled16(const ScaledDrawSetup& p) {
  return ChooseSpan16<kOp, Colour, Raw, ScaledFamily>(p.graphic != nullptr, !p.whiteBrightness, p.transparent);
}

// The 16-bit loops for the colour word, the word with alpha and the
// palette entry: one pixel at a time, no pair forms, the table mix for
// every translucent parameter.
template <class Colour, class Raw>
static SpanFn ChooseScaled16(const ScaledDrawSetup& p, bool& whole) {
  const bool plainOpaque = p.graphic == nullptr && p.whiteBrightness && !p.sourceAlpha;
  whole = false;
  switch (p.blendMode) {
    case 0:
      if (plainOpaque && !p.transparent) {
        whole = true;
        return nullptr;
      }
      if (plainOpaque) return ChooseSpan16<Op16::CopyWhole, Colour, Raw, ScaledFamily>(false, false, true);
      return Scaled16<Op16::Copy, Colour, Raw>(p);
    case 1:
      return Scaled16<Op16::Translucent, Colour, Raw>(p);
    case 2:
      return Scaled16<Op16::Additive, Colour, Raw>(p);
    case 3:
      return Scaled16<Op16::Subtractive, Colour, Raw>(p);
    case 4:
      return Scaled16<Op16::Multiply, Colour, Raw>(p);
    case 10:
      return Scaled16<Op16::InvertedTranslucent, Colour, Raw>(p);
    case 11:
      return Scaled16<Op16::MultiplyTranslucent, Colour, Raw>(p);
    default:
      return nullptr;
  }
}

template <int kDestinationBytes, int kSourceBytes, bool kPalette>
static void RunScaled(const ScaledDrawSetup& p, const PixelContext& c, SpanFn span, bool whole) {
  if (span || whole) WalkScaled<kDestinationBytes, kSourceBytes, kPalette>(p, c, span);
}

// The scaled draw after its entry has clipped and prepared it.
static void ScaledDraw(const ScaledDrawSetup& p) {
  const PixelContext c{p.colorKey, p.parameter, {p.brightness[0], p.brightness[1], p.brightness[2]}, p.graphicWeights};
  bool whole = false;
  if (p.destinationBytes == 4) {
    if (p.palette) {
      const SpanFn span = ChooseScaled32<RawIndex8>(p, whole);
      return RunScaled<4, 1, true>(p, c, span, whole);
    }
    const SpanFn span = ChooseScaled32<RawPixel32>(p, whole);
    return RunScaled<4, 4, false>(p, c, span, whole);
  }
  if (p.palette) {
    const SpanFn span = ChooseScaled16<ColourWord16, RawIndex8>(p, whole);
    return RunScaled<2, 1, true>(p, c, span, whole);
  }
  if (p.sourceAlpha) {
    const SpanFn span = ChooseScaled16<ColourWord16Alpha, RawWord16>(p, whole);
    return RunScaled<2, 4, false>(p, c, span, whole);
  }
  const SpanFn span = ChooseScaled16<ColourWord16, RawWord16>(p, whole);
  RunScaled<2, 2, false>(p, c, span, whole);
}

}  // namespace SOFTRENDER_ISA
