#pragma once
// The slow reference's per-pixel part: one source colour onto one
// destination pixel, written straight from the per-mode rules with the
// blend tables, dividing where the rules divide. 32-bit pixels and 16-bit
// R5G6B5 pixels; a palette source passes its entry as a colour without alpha.

#include <cstdint>

struct ReferenceDraw {
  int mode;
  int p;
  int b[3];  // blue, green, red
  bool white;
  bool graphic;
  bool alpha;  // the source has the alpha flag
  bool keyed;
  const uint8_t* weights;  // BlendGraphicTable
  // The scaled draw's rules: alpha 0 under the flag skipped in every mode,
  // the 16-bit translucent mix by the table for every parameter.
  bool scaled;
};

// The packed operations as the rules describe them field by field.
uint32_t ReferencePackedAdd32(uint32_t d, uint32_t t, bool lowBits);
uint32_t ReferencePackedSubtract32(uint32_t d, uint32_t t);
uint32_t ReferenceBytewiseSaturate32(uint32_t d, uint32_t s, bool add);
// One pixel: variant A (lowBits) or B; carry receives the red carry.
uint32_t ReferencePackedAdd16(uint32_t d, uint32_t t, bool lowBits, int* carry = nullptr);
uint32_t ReferencePackedSubtract16(uint32_t d, uint32_t t, int* borrow = nullptr);
// Two pixels side by side, first in the low half.
uint32_t ReferencePackedAddPair16(uint32_t d, uint32_t t);
uint32_t ReferencePackedSubtractPair16(uint32_t d, uint32_t t);

// A loop without a special path. s is the colour (with its alpha byte in
// bits 24-31 for 32-bit pixels); a is the 16-bit source's alpha; hit: the raw
// source value equals the key. Returns false when the pixel is not drawn.
bool ReferenceGeneralPixel32(const ReferenceDraw& r, uint32_t s, uint32_t& d, int g, bool hit);
bool ReferenceGeneralPixel16(const ReferenceDraw& r, uint32_t s, int a, uint32_t& d, int g, bool hit);
