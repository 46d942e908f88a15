#pragma once
// The named pixel operations of the blend arithmetic, as formulas. Each is
// exact over its whole input range (the tests prove the divisions), so the
// hot loops use these in place of table lookups and the compiler can
// vectorise them.
//
// Static: the draw loops are compiled once per instruction set, and each copy
// must keep its own.

#include <cstdint>
#include <type_traits>

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
// floor(x / 63) for 0 <= x <= 4095 (the 6-bit lerp numerators reach 3969).
static inline uint32_t DivideBy63(uint32_t x) { return (x * 4162) >> 18; }

// ProductTable's entry: floor(a x b / 255).
static inline uint32_t ProductOf(uint32_t a, uint32_t b) { return DivideBy255(a * b); }

// d moved toward x by the weight W out of 2^n: (W (x - d) + d 2^n) >> n.
// The exact value lies below 2^32, so wrapping 32-bit arithmetic gives it.
static inline uint32_t ShiftMix(uint32_t d, uint32_t x, uint32_t weight, int n) {
  return (weight * (x - d) + (d << n)) >> n;
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
