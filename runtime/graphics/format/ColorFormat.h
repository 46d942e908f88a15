#pragma once
// How a pixel is laid out: an index into a 256-entry palette, or channels
// picked out by masks. Every image that enters or leaves the layer is
// described by one of these.

#include <cstdint>

struct ColorFormat {
  uint16_t depth;          // bits per pixel; 0 in a cleared record
  uint16_t bytesPerPixel;  // 1 means each pixel indexes the palette
  uint8_t redWidth, greenWidth, blueWidth, alphaWidth;
  uint8_t redShift, greenShift, blueShift, alphaShift;
  uint32_t redMask, greenMask, blueMask, alphaMask;
  uint32_t unusedMask;       // bits no channel uses; packing sets them to 1
  uint8_t palette[256][4];   // blue, green, red, fourth byte
  uint8_t unusedShift, unusedWidth;
  uint32_t flags;
};

// Presets. Each sets the flags to 0 and leaves the palette alone (the grey
// preset fills it).
void MakePaletteColorFormat(ColorFormat* format);
void MakeGreyPaletteColorFormat(ColorFormat* format);
void MakeXrgb8ColorFormat(ColorFormat* format);
void MakeArgb8ColorFormat(ColorFormat* format);
void MakeRgb24ColorFormat(ColorFormat* format);

// Derives widths, shifts and the unused bits from the masks. Returns 0.
int MakeColorFormatFromMasks(ColorFormat* format, int depth, uint32_t redMask, uint32_t greenMask,
                             uint32_t blueMask, uint32_t alphaMask);
void RecomputeUnusedMask(ColorFormat* format);
// 1 when the depths and the four channel masks agree (and, at depth 0, the flags).
int ColorFormatsEqual(const ColorFormat& a, const ColorFormat& b);

// The lowest `bits` bits set: all 32 from 32 bits up, none from 0 down. The
// mask of every bit of a pixel of that depth, or of a channel of that width.
uint32_t LowBitMask(int bits);
// The lowest run of set bits of a mask: its position and length.
void MaskShiftAndWidth(uint32_t mask, uint8_t* shift, uint8_t* width);
