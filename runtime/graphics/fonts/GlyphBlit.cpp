#include "runtime/graphics/fonts/GlyphBlit.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "runtime/graphics/fonts/FontEntry.h"

namespace {

// Writes a Word at pixel x of a row of Stride-byte pixels.
template <typename Word, int Stride>
struct Store {
  static void At(uint8_t* row, int x, uint32_t value) {
    const Word w = static_cast<Word>(value);
    std::memcpy(row + static_cast<int64_t>(x) * Stride, &w, sizeof w);
  }
};

// Each byte of a 1-bit row as eight pixel masks, leftmost pixel first.
constexpr std::array<std::array<uint32_t, 8>, 256> kBitMasks = [] {
  std::array<std::array<uint32_t, 8>, 256> masks{};
  for (int bits = 0; bits < 256; ++bits) {
    for (int k = 0; k < 8; ++k) masks[bits][k] = (bits >> (7 - k) & 1) ? 0xFFFFFFFFu : 0;
  }
  return masks;
}();

// 32-bit pixels: whole bytes of the row become eight masked pixel writes
// without a branch per pixel.
void MonoLoop32(const GlyphBlit& b, uint32_t colour) {
  const int first = b.sourceX;
  const int end = b.sourceX + b.width;
  for (int y = 0; y < b.height; ++y) {
    const uint8_t* src = b.source + static_cast<int64_t>(y) * b.sourcePitch;
    uint8_t* row = b.destination + static_cast<int64_t>(y) * b.destinationPitch;
    for (int byte = first >> 3; byte << 3 < end; ++byte) {
      unsigned bits = src[byte];
      if (bits == 0) continue;
      const int base = byte << 3;
      if (base >= first && base + 8 <= end + b.spareRight) {
        // Columns past the width keep their pixels.
        if (base + 8 > end) bits &= ~(0xFFu >> (end - base)) & 0xFF;
        uint8_t* d = row + static_cast<int64_t>(base - first) * 4;
        const std::array<uint32_t, 8>& m = kBitMasks[bits];
#if defined(__SSE2__)
        const __m128i c = _mm_set1_epi32(static_cast<int>(colour));
        for (int half = 0; half < 2; ++half) {
          __m128i* p = reinterpret_cast<__m128i*>(d + half * 16);
          const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m.data() + half * 4));
          const __m128i old = _mm_loadu_si128(p);
          _mm_storeu_si128(p, _mm_or_si128(_mm_andnot_si128(mask, old), _mm_and_si128(mask, c)));
        }
#else
        for (int k = 0; k < 8; ++k) {
          uint32_t old;
          std::memcpy(&old, d + k * 4, 4);
          const uint32_t value = (old & ~m[k]) | (colour & m[k]);
          std::memcpy(d + k * 4, &value, 4);
        }
#endif
        continue;
      }
      if (base < first) bits &= 0xFFu >> (first - base);
      if (base + 8 > end) bits &= ~(0xFFu >> (end - base)) & 0xFF;
      auto* d = reinterpret_cast<uint32_t*>(row);
      while (bits) {
        const int high = 31 - __builtin_clz(bits);
        d[base + 7 - high - first] = colour;
        bits &= ~(1u << high);
      }
    }
  }
}

template <typename S>
void MonoLoop(const GlyphBlit& b, uint32_t colour) {
  const int first = b.sourceX;
  const int end = b.sourceX + b.width;
  for (int y = 0; y < b.height; ++y) {
    const uint8_t* src = b.source + static_cast<int64_t>(y) * b.sourcePitch;
    uint8_t* dst = b.destination + static_cast<int64_t>(y) * b.destinationPitch;
    for (int byte = first >> 3; byte << 3 < end; ++byte) {
      unsigned bits = src[byte];
      if (bits == 0) continue;
      const int base = byte << 3;
      // Keep the bits of columns first..end-1 only; bit 7 is the leftmost.
      if (base < first) bits &= 0xFFu >> (first - base);
      if (base + 8 > end) bits &= ~(0xFFu >> (end - base)) & 0xFF;
      while (bits) {
        const int high = 31 - __builtin_clz(bits);  // column base + 7 - high
        S::At(dst, base + 7 - high - first, colour);
        bits &= ~(1u << high);
      }
    }
  }
}

template <typename S>
void ByteLoop(const GlyphBlit& b, const GlyphPalette& palette) {
  for (int y = 0; y < b.height; ++y) {
    const uint8_t* src = b.source + static_cast<int64_t>(y) * b.sourcePitch + b.sourceX;
    uint8_t* dst = b.destination + static_cast<int64_t>(y) * b.destinationPitch;
    int x = 0;
    // Runs of eight empty cache pixels (most of a cell) are skipped at once.
    for (; x + 8 <= b.width; x += 8) {
      uint64_t eight;
      std::memcpy(&eight, src + x, 8);
      if (eight == 0) continue;
      for (int k = x; k < x + 8; ++k) {
        if (src[k]) S::At(dst, k, palette.pixel[src[k]]);
      }
    }
    for (; x < b.width; ++x) {
      if (src[x]) S::At(dst, x, palette.pixel[src[x]]);
    }
  }
}

// Text over edge at grey level g (1..14) and edge level e, per channel of
// `width` bits at `shift`: edge + ((text - edge) x k) >> 8.
uint32_t MixChannel(uint32_t text, uint32_t edge, int shift, int width, int k) {
  const int mask = (1 << width) - 1;
  const int t = static_cast<int>(text >> shift) & mask;
  const int e = static_cast<int>(edge >> shift) & mask;
  return static_cast<uint32_t>((e + (((t - e) * k) >> 8)) & mask) << shift;
}

}  // namespace

void MakeGlyphPalette(GlyphPalette* palette, int fontType, GlyphTarget target, uint32_t colour, uint32_t edgeColour) {
  uint32_t* out = palette->pixel;
  std::memset(out, 0, sizeof palette->pixel);
  const bool alpha = target == GlyphTarget16Alpha || target == GlyphTarget32;
  const int alphaShift = target == GlyphTarget32 ? 24 : 16;
  const uint32_t colourMask = target == GlyphTarget32 ? 0x00FFFFFF : target == GlyphTarget8 ? 0xFF : 0xFFFF;
  const uint32_t text = colour & colourMask;
  const uint32_t edge = edgeColour & colourMask;
  palette->withAlpha = alpha && fontType != kFontEdged;
  for (int v = 1; v < 256; ++v) {
    const int g = v & 0x0F;
    const int e = v >> 4;
    switch (fontType) {
      case kFontEdged:
        out[v] = v == 1 ? text : v == 2 ? edge : 0;
        break;
      case kFontAntialiased:
        if (v > 15) break;
        out[v] = alpha ? text | static_cast<uint32_t>(g * 16) << alphaShift : text;
        break;
      default:  // anti-aliased with an edge
        if (!alpha) {
          // No alpha to blend with: glyph over edge, as an edged font.
          out[v] = g > 0 ? text : edge;
        } else if (g == 15) {
          out[v] = text | 255u << alphaShift;
        } else if (g == 0) {
          out[v] = edge | static_cast<uint32_t>(e * 16) << alphaShift;
        } else {
          const int a = ((15 - g) * e + g * 16) % 256;
          const int k = g * 4096 / a;
          uint32_t mixed;
          if (target == GlyphTarget32) {
            mixed = MixChannel(text, edge, 16, 8, k) | MixChannel(text, edge, 8, 8, k) | MixChannel(text, edge, 0, 8, k);
          } else {
            mixed = MixChannel(text, edge, 11, 5, k) | MixChannel(text, edge, 5, 6, k) | MixChannel(text, edge, 0, 5, k);
          }
          out[v] = mixed | static_cast<uint32_t>(a) << alphaShift;
        }
        break;
    }
  }
}

void BlitMonoGlyph(const GlyphBlit& blit, GlyphTarget target, uint32_t colour) {
  switch (target) {
    case GlyphTarget8: MonoLoop<Store<uint8_t, 1>>(blit, colour); break;
    case GlyphTarget16: MonoLoop<Store<uint16_t, 2>>(blit, colour); break;
    case GlyphTarget16Alpha: MonoLoop<Store<uint16_t, 4>>(blit, colour); break;
    case GlyphTarget32: MonoLoop32(blit, colour); break;
  }
}

void BlitByteGlyph(const GlyphBlit& blit, GlyphTarget target, const GlyphPalette& palette) {
  switch (target) {
    case GlyphTarget8: ByteLoop<Store<uint8_t, 1>>(blit, palette); break;
    case GlyphTarget16: ByteLoop<Store<uint16_t, 2>>(blit, palette); break;
    case GlyphTarget16Alpha:
      if (palette.withAlpha) {
        ByteLoop<Store<uint32_t, 4>>(blit, palette);
      } else {
        ByteLoop<Store<uint16_t, 4>>(blit, palette);
      }
      break;
    case GlyphTarget32: ByteLoop<Store<uint32_t, 4>>(blit, palette); break;
  }
}
