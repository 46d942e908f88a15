#pragma once
// The named pixel operations of the blend arithmetic, as formulas. Each is
// exact over its whole input range (the tests prove the divisions), so the
// hot loops use these in place of table lookups and the compiler can
// vectorise them.
//
// Static: the draw loops are compiled once per instruction set, and each copy
// must keep its own.

#include <immintrin.h>

#include <cstdint>
#include <type_traits>
#include <utility>

// The formulas that the vector kernels share are written once, for one
// 32-bit word and for GCC vectors: a scalar call takes words (W defaults to
// uint32_t, and plain integers convert to it), a vector call names its type,
// as in PackedSub32<VPixels>(d, t). The argument types are not deduced.
template <class W>
using Word = std::type_identity_t<W>;

// floor(x / 255) for 0 <= x <= 65280; in 16-bit lanes for x <= 65279, where
// x + 1 + (x >> 8) still fits.
template <class W = uint32_t>
static inline W DivideBy255(Word<W> x) {
  return (x + 1 + (x >> 8)) >> 8;
}
// Bytes per lane of a word or vector type.
template <class W>
constexpr int LaneBytes() {
  if constexpr (std::is_integral_v<W>)
    return sizeof(W);
  else
    return sizeof(std::remove_reference_t<decltype(std::declval<W>()[0])>);
}

// v in every lane (v fits a lane).
template <class W>
static inline W Broadcast(uint32_t v) {
  if constexpr (std::is_integral_v<W>) {
    return static_cast<W>(v);
  } else {
    using Lane = std::remove_reference_t<decltype(std::declval<W>()[0])>;
    return W{} + static_cast<Lane>(v);
  }
}

// The high halves of the products of 16-bit lanes (vectors of 16 or 32 bytes).
template <class W>
static inline W MultiplyHigh16(W a, W b) {
  static_assert(LaneBytes<W>() == 2);
  if constexpr (sizeof(W) == 32)
    return (W)_mm256_mulhi_epu16((__m256i)a, (__m256i)b);
  else
    return (W)_mm_mulhi_epu16((__m128i)a, (__m128i)b);
}

// floor(x / 63) for 0 <= x <= 4095 (the 6-bit lerp numerators reach 3969);
// in 16-bit lanes for x <= 3969.
template <class W = uint32_t>
static inline W DivideBy63(Word<W> x) {
  if constexpr (LaneBytes<W>() == 2)
    return MultiplyHigh16<W>(x, W{} + 2081) >> 1;
  else
    return (x * 4162) >> 18;
}

// The multiplier that turns a product by p / 255 into a high half:
// floor(p x s / 255) = (s x ProductScale(p)) >> 16 for s <= 255 and p < 255
// (p = 255 would need 65536).
static inline uint32_t ProductScale(uint32_t p) { return (65536 * p + 254) / 255; }

// ProductTable's entry: floor(a x b / 255).
static inline uint32_t ProductOf(uint32_t a, uint32_t b) { return DivideBy255(a * b); }

// d moved toward x by the weight W out of 2^n: (W (x - d) + d 2^n) >> n.
// The exact value lies below 2^32, so wrapping 32-bit arithmetic gives it.
template <class W = uint32_t>
static inline W ShiftMix(Word<W> d, Word<W> x, Word<W> weight, int n) {
  return (weight * (x - d) + (d << n)) >> n;
}

// All ones where a < b (or a == b), else 0, for words and vectors alike.
template <class W>
static inline W LessMask(W a, W b) {
  if constexpr (std::is_integral_v<W>)
    return W{0} - static_cast<W>(a < b);
  else
    return (W)(a < b);
}
template <class W>
static inline W EqualMask(W a, W b) {
  if constexpr (std::is_integral_v<W>)
    return W{0} - static_cast<W>(a == b);
  else
    return (W)(a == b);
}
template <class W>
static inline W Select(W mask, W ifSet, W ifClear) {
  return (mask & ifSet) | (~mask & ifClear);
}

// x read as signed and shifted right with its sign (a floor division).
template <class W>
static inline W ShiftRightSigned(W x, int n) {
  if constexpr (std::is_integral_v<W>) {
    return static_cast<W>(static_cast<int32_t>(x) >> n);
  } else {
    typedef int32_t Signed __attribute__((vector_size(sizeof(W))));
    return (W)((Signed)x >> n);
  }
}

// SignedProductTable's mix: d + trunc(p (x - d) / 255), for values below 256.
template <class W = uint32_t>
static inline W TableMix(Word<W> d, Word<W> x, Word<W> p) {
  return Select<W>(LessMask<W>(x, d), d - DivideBy255<W>(p * (d - x)), d + DivideBy255<W>(p * (x - d)));
}

// Lerp6Table's entry for slab w6: floor((w6 m + (63 - w6) k) / 63).
template <class W = uint32_t>
static inline W LerpSlab(Word<W> w6, Word<W> m, Word<W> k) {
  return DivideBy63<W>(w6 * m + (63 - w6) * k);
}

// R5G6B5 fields: red in bits 11-15, green 5-10, blue 0-4.
template <class W = uint32_t>
static inline W Red16(Word<W> v) {
  return (v >> 11) & 31;
}
template <class W = uint32_t>
static inline W Green16(Word<W> v) {
  return (v >> 5) & 63;
}
template <class W = uint32_t>
static inline W Blue16(Word<W> v) {
  return v & 31;
}
template <class W = uint32_t>
static inline W Pack16(Word<W> r, Word<W> g, Word<W> b) {
  return (r << 11) | (g << 5) | b;
}

// Fields halved and added, one pixel (or two side by side) per word.
template <class W = uint32_t>
static inline W Halve16(Word<W> s, Word<W> d) {
  return ((s >> 1) & 0x7BEF7BEF) + ((d >> 1) & 0x7BEF7BEF);
}

// 16-bit packed saturating add, variant A: green's and red's lowest bits
// are OR-ed. The red carry is found by comparison, so that the same formula
// runs in 16-bit lanes.
template <class W = uint32_t>
static inline W PackedAddA16(Word<W> d, Word<W> t) {
  const W x = d & 0xF7DF;
  const W u = (x + (t & 0xF7DF)) & 0xFFFF;
  const W c = u & 0x0820;
  return (c - (c >> 5)) | ((d | t) & 0x0820) | u | (LessMask<W>(u, x) & 0xF800);
}

// Variant B: the lowest bit of green and red is only the carry from below.
template <class W = uint32_t>
static inline W PackedAddB16(Word<W> d, Word<W> t) {
  const W x = d & 0xF7DF;
  const W u = (x + (t & 0xF7DF)) & 0xFFFF;
  const W c = u & 0x0820;
  return (c - (c >> 5)) | u | (LessMask<W>(u, x) & 0xF800);
}

// Two pixels in one word, the first in the low half: the first as variant
// B, the second's blue on halves with the first's red carry as its bit 0;
// the carry out of the word saturates the second's red.
template <class W = uint32_t>
static inline W PackedAddPair16(Word<W> d, Word<W> t) {
  const W x = d & 0xF7DEF7DF;
  const W u = x + (t & 0xF7DEF7DF);
  const W k = LessMask<W>(u, x) & 1;
  const W c = u & 0x08210820;
  return u | (c - ((c >> 5) | (k << 27)));
}

// 16-bit packed saturating subtract, one pixel; red's borrow by comparison.
template <class W = uint32_t>
static inline W PackedSub16(Word<W> d, Word<W> t) {
  const W x = (d | 0x0820) & 0xFFFF;
  const W y = t & 0xF7DF;
  const W u = (x - y) & 0xFFFF;
  const W c = u & 0x0820;
  return u & ((c - (c >> 5)) | (~LessMask<W>(x, y) & 0xF800));
}

// Two pixels in one word; a borrow out of the word clears the second's red.
template <class W = uint32_t>
static inline W PackedSubPair16(Word<W> d, Word<W> t) {
  const W x = d | 0x08210820;
  const W y = t & 0xF7DEF7DF;
  const W u = x - y;
  const W keep = ~LessMask<W>(x, y) & 0xF8000000;
  const W c = u & 0x08210820;
  return u & ((c - (c >> 5)) | keep);
}

// Channels halved and added; the top byte becomes 0.
template <class W = uint32_t>
static inline W Halve32(Word<W> s, Word<W> d) {
  return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F);
}

// Packed saturating add, variant A: green's and red's lowest bits are OR-ed.
template <class W = uint32_t>
static inline W PackedAddA32(Word<W> d, Word<W> t) {
  const W u = (d & 0x00FEFEFF) + (t & 0x00FEFEFF);
  const W c = u & 0x01010100;
  return (c - (c >> 8)) | ((d | t) & 0x00010100) | u;
}

// Variant B: the lowest bit of green and red is only the carry from below.
template <class W = uint32_t>
static inline W PackedAddB32(Word<W> d, Word<W> t) {
  const W u = (d & 0x00FEFEFF) + (t & 0x00FEFEFF);
  const W c = u & 0x01010100;
  return (c - (c >> 8)) | u;
}

// Packed saturating subtract; the top byte becomes 0.
template <class W = uint32_t>
static inline W PackedSub32(Word<W> d, Word<W> t) {
  const W u = (d | 0x01010100) - (t & 0xFEFEFEFF);
  const W c = u & 0x01010100;
  return u & (c - (c >> 8));
}

// Every byte, the top one included, saturated on its own.
static inline uint32_t SaturatingAddBytes(uint32_t d, uint32_t s) {
  uint32_t out = 0;
  for (int i = 0; i < 32; i += 8) {
    const uint32_t sum = ((d >> i) & 0xFF) + ((s >> i) & 0xFF);
    out |= (sum > 255 ? 255 : sum) << i;
  }
  return out;
}

static inline uint32_t SaturatingSubBytes(uint32_t d, uint32_t s) {
  uint32_t out = 0;
  for (int i = 0; i < 32; i += 8) {
    const uint32_t a = (d >> i) & 0xFF, b = (s >> i) & 0xFF;
    out |= (a > b ? a - b : 0) << i;
  }
  return out;
}
