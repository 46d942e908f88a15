#pragma once
// The 32-byte pixel-format record that surfaces and textures are described
// with: eight 32-bit fields.

#include <cstdint>

struct DDPixelFormat {
  uint32_t size;
  uint32_t flags;
  uint32_t fourCC;
  uint32_t rgbBitCount;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t alphaMask;
};
static_assert(sizeof(DDPixelFormat) == 32);

constexpr uint32_t kDDPixelFormatRgb = 0x40;

// Clears the record and describes an RGB format. Returns 0.
struct ColorFormat;

// The ColorFormat of an RGB pixel-format record: its bit count and masks.
int ColorFormatFromPixelFormat(const DDPixelFormat& pixelFormat, ColorFormat* format);

int FillDDPixelFormat(DDPixelFormat* format, int depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                      uint32_t alphaMask);
