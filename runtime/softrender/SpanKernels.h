#pragma once
// Span kernels: n pixels of one destination row combined with n source
// colours already in the destination's format. Every draw family reaches
// its pixels through these: it fetches a span of colours (straight from a
// direct source row, or into a temporary span through a palette, a column
// table or a (u, v) walk), then runs the kernel it chose once per draw. The
// key is tested on the raw source values (pixel, word or palette index),
// which the family hands over beside the colours.
//
// Compiled once per instruction set inside that set's namespace.

#include <immintrin.h>

#include <cstdint>
#include <type_traits>

#include "runtime/softrender/BlendKernel16.h"
#include "runtime/softrender/BlendKernel32.h"
#include "runtime/softrender/BlendVector32.h"

#ifndef SOFTRENDER_ISA
#error "define SOFTRENDER_ISA to the namespace of the instruction set"
#endif

namespace SOFTRENDER_ISA {

// d: destination pixels; colour: source colours in the kernel's layout;
// raw: the values the key is compared with; g: blend-graphic bytes, or null.
using SpanFn = void (*)(uint8_t* d, const uint8_t* colour, const uint8_t* raw, const uint8_t* g, int n,
                        const PixelContext& c);

typedef uint16_t VWords __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES / 2)));

// 16-bit pixels one per 16-bit lane, for kernels whose values fit there.
typedef uint16_t VShorts __attribute__((vector_size(SOFTRENDER_VECTOR_BYTES)));
constexpr int kShortLanes = SOFTRENDER_VECTOR_BYTES / 2;

static inline VShorts LoadShorts(const uint8_t* p) {
  VShorts v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}

// kShortLanes bytes, one per 16-bit lane.
static inline VShorts LoadHalfBytes(const uint8_t* p) {
#if SOFTRENDER_VECTOR_BYTES == 32
  return (VShorts)_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
#else
  return (VShorts)_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
#endif
}
static inline void StoreShorts(uint8_t* p, VShorts v) { __builtin_memcpy(p, &v, sizeof v); }

static inline uint32_t LoadWord16(const uint8_t* p) {
  uint16_t v;
  __builtin_memcpy(&v, p, 2);
  return v;
}
static inline void StoreWord16(uint8_t* p, uint32_t v) {
  const uint16_t w = static_cast<uint16_t>(v);
  __builtin_memcpy(p, &w, 2);
}
static inline uint32_t LoadWord32(const uint8_t* p) {
  uint32_t v;
  __builtin_memcpy(&v, p, 4);
  return v;
}
static inline void StoreWord32(uint8_t* p, uint32_t v) { __builtin_memcpy(p, &v, 4); }

// kVectorPixels 16-bit words, one per 32-bit lane, and back.
static inline VPixels LoadWords(const uint8_t* p) {
#if SOFTRENDER_VECTOR_BYTES == 32
  return (VPixels)_mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
#else
  return (VPixels)_mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
#endif
}

// kVectorPixels bytes, one per 32-bit lane.
static inline VPixels LoadQuarter(const uint8_t* p) {
#if SOFTRENDER_VECTOR_BYTES == 32
  return (VPixels)_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
#else
  int32_t four;
  __builtin_memcpy(&four, p, 4);
  const __m128i zero = _mm_setzero_si128();
  return (VPixels)_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
#endif
}
static inline void StoreWords(uint8_t* p, VPixels v) {
  const VWords w = __builtin_convertvector(v, VWords);
  __builtin_memcpy(p, &w, sizeof w);
}

// Raw source values, read as 32-bit numbers.
struct RawPixel32 {
  static uint32_t At(const uint8_t* p, int i) { return LoadWord32(p + 4 * i); }
  static VPixels Lanes(const uint8_t* p, int i) { return LoadPixels(p + 4 * i); }
};
struct RawWord16 {
  static uint32_t At(const uint8_t* p, int i) { return LoadWord16(p + 2 * i); }
  static VShorts Shorts(const uint8_t* p, int i) { return LoadShorts(p + 2 * i); }
  static VPixels Lanes(const uint8_t* p, int i) { return LoadWords(p + 2 * i); }
  // The values of 2 kVectorPixels pixels from i, split into even and odd.
  static void Pairs(const uint8_t* p, int i, VPixels& even, VPixels& odd) {
    const VPixels v = LoadPixels(p + 2 * i);
    even = v & 0xFFFF;
    odd = v >> 16;
  }
};
struct RawIndex8 {
  static uint32_t At(const uint8_t* p, int i) { return p[i]; }
  static VShorts Shorts(const uint8_t* p, int i) { return LoadHalfBytes(p + i); }
  static VPixels Lanes(const uint8_t* p, int i) { return LoadQuarter(p + i); }
  static void Pairs(const uint8_t* p, int i, VPixels& even, VPixels& odd) {
    const VPixels v = LoadWords(p + i);
    even = v & 0xFF;
    odd = v >> 8;
  }
};

// 16-bit source colours: the bare word, or the word followed by its alpha.
struct ColourWord16 {
  static constexpr int kBytes = 2;
  static uint32_t At(const uint8_t* p, int i) { return LoadWord16(p + 2 * i); }
  static uint32_t AlphaAt(const uint8_t*, int) { return 0; }
  static VPixels Lanes(const uint8_t* p, int i) { return LoadWords(p + 2 * i); }
  static VPixels AlphaLanes(const uint8_t*, int) { return VPixels{}; }
  static void Shorts(const uint8_t* p, int i, VShorts& colour, VShorts& alpha) {
    colour = LoadShorts(p + 2 * i);
    alpha = VShorts{};
  }
};
struct ColourWord16Alpha {
  static constexpr int kBytes = 4;
  static uint32_t At(const uint8_t* p, int i) { return LoadWord16(p + 4 * i); }
  static uint32_t AlphaAt(const uint8_t* p, int i) { return p[4 * i + 2]; }
  static VPixels Lanes(const uint8_t* p, int i) { return LoadPixels(p + 4 * i) & 0xFFFF; }
  static VPixels AlphaLanes(const uint8_t* p, int i) { return (LoadPixels(p + 4 * i) >> 16) & 0xFF; }
  // Records are (colour, alpha) pairs of 16-bit lanes.
  // Each word is sign-extended before the signed pack, which then keeps it.
  static void Shorts(const uint8_t* p, int i, VShorts& colour, VShorts& alpha) {
#if SOFTRENDER_VECTOR_BYTES == 32
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 4 * i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 4 * i + 32));
    const __m256i c = _mm256_packs_epi32(_mm256_srai_epi32(_mm256_slli_epi32(a, 16), 16),
                                         _mm256_srai_epi32(_mm256_slli_epi32(b, 16), 16));
    const __m256i mask = _mm256_set1_epi32(0xFF);
    const __m256i t = _mm256_packs_epi32(_mm256_and_si256(_mm256_srli_epi32(a, 16), mask),
                                         _mm256_and_si256(_mm256_srli_epi32(b, 16), mask));
    colour = (VShorts)_mm256_permute4x64_epi64(c, 0xD8);
    alpha = (VShorts)_mm256_permute4x64_epi64(t, 0xD8);
#else
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4 * i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4 * i + 16));
    colour =
        (VShorts)_mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(a, 16), 16), _mm_srai_epi32(_mm_slli_epi32(b, 16), 16));
    const __m128i mask = _mm_set1_epi32(0xFF);
    alpha = (VShorts)_mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(a, 16), mask),
                                     _mm_and_si128(_mm_srli_epi32(b, 16), mask));
#endif
  }
};

static inline VPixels GraphicWeights(const PixelContext& c, const uint8_t* g, int i) {
  VPixels w;
  for (int k = 0; k < kVectorPixels; ++k) w[k] = c.graphicWeights[g[i + k]];
  return w;
}

// 32-bit destinations: whole vectors through the vector form where the
// kernel has one, the rest through the scalar form. A vector is read whole
// before it is written.
template <class Kernel, class Vector, class Raw, bool kGraphic, bool kKeyed>
void Span32(uint8_t* d, const uint8_t* colour, const uint8_t* raw, const uint8_t* g, int n, const PixelContext& c) {
  int i = 0;
  if constexpr (Vector::kAvailable) {
    const VectorContext v(c);
    const uint32_t key = c.key;
    for (; i + kVectorPixels <= n; i += kVectorPixels) {
      const VPixels s = LoadPixels(colour + 4 * i);
      VPixels hit{};
      // A direct source's colours are its raw values.
      if constexpr (kKeyed && std::is_same_v<Raw, RawPixel32>) hit = (VPixels)(s == key);
      if constexpr (kKeyed && !std::is_same_v<Raw, RawPixel32>) hit = (VPixels)(Raw::Lanes(raw, i) == key);
      StorePixels(d + 4 * i, Vector::Apply(v, s, LoadPixels(d + 4 * i), hit));
    }
  }
  for (; i < n; ++i) {
    const uint32_t gi = kGraphic ? g[i] : 0;
    const bool hit = kKeyed && Raw::At(raw, i) == c.key;
    StoreWord32(d + 4 * i, Kernel::Apply(c, LoadWord32(colour + 4 * i), LoadWord32(d + 4 * i), gi, hit));
  }
}

// 16-bit destinations: one pixel per 16-bit lane where the kernel's values
// fit there, else one per 32-bit lane.
template <class Kernel, class Colour, class Raw, bool kGraphic, bool kKeyed>
void Span16(uint8_t* d, const uint8_t* colour, const uint8_t* raw, const uint8_t* g, int n, const PixelContext& c) {
  const Context16<VPixels> cv = MakeContext16<VPixels>(c);
  const Context16<uint32_t> cs = MakeContext16<uint32_t>(c);
  const uint32_t key = c.key;
  int i = 0;
  // The key is compared in 16 bits there, so a key above them (which no
  // raw value equals, and which the draws' set-up drops) keeps to the
  // 32-bit lanes rather than be truncated.
  if constexpr (Kernel::kFitsShortLanes) {
    constexpr bool kColourIsRaw = std::is_same_v<Colour, ColourWord16> && std::is_same_v<Raw, RawWord16>;
    const Context16<VShorts> cv16 = MakeContext16<VShorts>(c);
    const uint16_t key16 = static_cast<uint16_t>(key);
    for (; i + kShortLanes <= n && (!kKeyed || key <= 0xFFFF); i += kShortLanes) {
      VShorts w{};
      if constexpr (kGraphic)
        for (int k = 0; k < kShortLanes; ++k) w[k] = c.graphicWeights[g[i + k]];
      VShorts s, a;
      Colour::Shorts(colour, i, s, a);
      VShorts hit{};
      // A direct source's colour words are its raw values (the span is
      // handed the same words as both).
      if constexpr (kKeyed && kColourIsRaw) hit = (VShorts)(s == key16);
      if constexpr (kKeyed && !kColourIsRaw) hit = (VShorts)(Raw::Shorts(raw, i) == key16);
      StoreShorts(d + 2 * i, Kernel::Apply(cv16, s, a, LoadShorts(d + 2 * i), w, hit));
    }
  }
  for (; i + kVectorPixels <= n; i += kVectorPixels) {
    const VPixels w = kGraphic ? GraphicWeights(c, g, i) : VPixels{};
    VPixels hit{};
    if constexpr (kKeyed) hit = (VPixels)(Raw::Lanes(raw, i) == key);
    StoreWords(d + 2 * i, Kernel::Apply(cv, Colour::Lanes(colour, i), Colour::AlphaLanes(colour, i),
                                        LoadWords(d + 2 * i), w, hit));
  }
  for (; i < n; ++i) {
    const uint32_t w = kGraphic ? c.graphicWeights[g[i]] : 0;
    const uint32_t hit = kKeyed && Raw::At(raw, i) == key ? ~0u : 0u;
    StoreWord16(d + 2 * i,
                Kernel::Apply(cs, Colour::At(colour, i), Colour::AlphaAt(colour, i), LoadWord16(d + 2 * i), w, hit));
  }
}

// The 16-bit pair ops: pixels two at a time from the span's first (which is
// a row's first or an even pixel after it), as one word with the first
// pixel in the low half. A pair with one key pixel has its other pixel done
// alone; the odd last pixel is done alone.
template <class Kernel, class Raw, bool kKeyed>
void SpanPairs16(uint8_t* d, const uint8_t* colour, const uint8_t* raw, const uint8_t*, int n, const PixelContext& c) {
  const Context16<VPixels> cv = MakeContext16<VPixels>(c);
  const Context16<uint32_t> cs = MakeContext16<uint32_t>(c);
  const uint32_t key = c.key;
  int i = 0;
  for (; i + 2 * kVectorPixels <= n; i += 2 * kVectorPixels) {
    const VPixels s = LoadPixels(colour + 2 * i), dp = LoadPixels(d + 2 * i);
    VPixels out = Kernel::ApplyPair(s, dp);
    if constexpr (kKeyed) {
      VPixels even, odd;
      Raw::Pairs(raw, i, even, odd);
      const VPixels h0 = (VPixels)(even == key), h1 = (VPixels)(odd == key);
      const VPixels dl = dp & 0xFFFF, dh = dp >> 16;
      const VPixels lone0 = Kernel::Apply(cv, s & 0xFFFF, VPixels{}, dl, VPixels{}, VPixels{});
      const VPixels lone1 = Kernel::Apply(cv, s >> 16, VPixels{}, dh, VPixels{}, VPixels{});
      const VPixels lo = Select(h0, dl, Select(h1, lone0, out & 0xFFFF));
      const VPixels hi = Select(h1, dh, Select(h0, lone1, out >> 16));
      out = lo | (hi << 16);
    }
    StorePixels(d + 2 * i, out);
  }
  for (; i + 2 <= n; i += 2) {
    const uint32_t s = LoadWord32(colour + 2 * i), dp = LoadWord32(d + 2 * i);
    const bool h0 = kKeyed && Raw::At(raw, i) == key, h1 = kKeyed && Raw::At(raw, i + 1) == key;
    if (!h0 && !h1) {
      StoreWord32(d + 2 * i, Kernel::ApplyPair(s, dp));
    } else if (!h0) {
      StoreWord16(d + 2 * i, Kernel::Apply(cs, s & 0xFFFF, 0u, dp & 0xFFFF, 0u, 0u));
    } else if (!h1) {
      StoreWord16(d + 2 * i + 2, Kernel::Apply(cs, s >> 16, 0u, dp >> 16, 0u, 0u));
    }
  }
  if (i < n) {
    const uint32_t hit = kKeyed && Raw::At(raw, i) == key ? ~0u : 0u;
    StoreWord16(d + 2 * i, Kernel::Apply(cs, ColourWord16::At(colour, i), 0u, LoadWord16(d + 2 * i), 0u, hit));
  }
}

// Turns per-draw flags into template arguments.
template <class Body>
static inline void Pick(bool flag, Body body) {
  if (flag)
    body(std::true_type{});
  else
    body(std::false_type{});
}

template <Op32 kOp, class Raw, class Family = PlainFamily>
static SpanFn ChooseSpan32(bool graphic, bool tinted, bool alpha, bool keyed) {
  SpanFn fn = nullptr;
  Pick(graphic, [&](auto gr) {
    Pick(tinted, [&](auto ti) {
      Pick(alpha, [&](auto al) {
        Pick(keyed, [&](auto ke) {
          constexpr bool G = decltype(gr)::value, T = decltype(ti)::value, A = decltype(al)::value,
                         K = decltype(ke)::value;
          fn = &Span32<BlendKernel32<kOp, G, T, A, K, Family>, BlendVector32<kOp, G, T, A, K, Family>, Raw, G, K>;
        });
      });
    });
  });
  return fn;
}

template <Op16 kOp, class Colour, class Raw, class Family = PlainFamily>
static SpanFn ChooseSpan16(bool graphic, bool tinted, bool keyed) {
  constexpr bool A = Colour::kBytes == 4;
  SpanFn fn = nullptr;
  Pick(graphic, [&](auto gr) {
    Pick(tinted, [&](auto ti) {
      Pick(keyed, [&](auto ke) {
        constexpr bool G = decltype(gr)::value, T = decltype(ti)::value, K = decltype(ke)::value;
        if constexpr (IsPairOp(kOp)) {
          fn = &SpanPairs16<BlendKernel16<kOp, false, false, false, K>, Raw, K>;
        } else if constexpr ((kOp == Op16::CopyWhole || kOp == Op16::Lerp) && (G || T)) {
          // Only ever chosen without blend graphic and brightness.
        } else {
          fn = &Span16<BlendKernel16<kOp, G, T, A, K, Family>, Colour, Raw, G, K>;
        }
      });
    });
  });
  return fn;
}

}  // namespace SOFTRENDER_ISA
