#include "runtime/graphics/format/ColorFormat.h"

namespace {

void SetChannels(ColorFormat* f, int depth, int bytes) {
  f->depth = static_cast<uint16_t>(depth);
  f->bytesPerPixel = static_cast<uint16_t>(bytes);
  f->redWidth = 8, f->greenWidth = 8, f->blueWidth = 8, f->alphaWidth = 0;
  f->redShift = 16, f->greenShift = 8, f->blueShift = 0, f->alphaShift = 0;
  f->redMask = 0xFF0000, f->greenMask = 0xFF00, f->blueMask = 0xFF, f->alphaMask = 0;
  f->flags = 0;
}

}  // namespace

uint32_t LowBitMask(int bits) {
  if (bits >= 32) return 0xFFFFFFFFu;
  if (bits <= 0) return 0;
  return (1u << bits) - 1;
}

void MaskShiftAndWidth(uint32_t mask, uint8_t* shift, uint8_t* width) {
  if (mask == 0) {
    *shift = 0, *width = 0;
    return;
  }
  int s = __builtin_ctz(mask);
  int w = 0;
  while (s + w < 32 && (mask >> (s + w)) & 1) ++w;
  *shift = static_cast<uint8_t>(s);
  *width = static_cast<uint8_t>(w);
}

void MakePaletteColorFormat(ColorFormat* format) {
  SetChannels(format, 8, 1);
  format->unusedMask = 0xFF000000;
}

void MakeGreyPaletteColorFormat(ColorFormat* format) {
  MakePaletteColorFormat(format);
  for (int i = 0; i < 256; ++i) {
    const uint8_t v = static_cast<uint8_t>(i);
    format->palette[i][0] = v, format->palette[i][1] = v, format->palette[i][2] = v;
    format->palette[i][3] = 0;
  }
}

void MakeXrgb8ColorFormat(ColorFormat* format) {
  SetChannels(format, 32, 4);
  format->unusedMask = 0xFF000000;
  format->unusedShift = 24, format->unusedWidth = 8;
}

void MakeArgb8ColorFormat(ColorFormat* format) {
  SetChannels(format, 32, 4);
  format->alphaWidth = 8, format->alphaShift = 24, format->alphaMask = 0xFF000000;
  format->unusedMask = 0;
}

void MakeRgb24ColorFormat(ColorFormat* format) {
  SetChannels(format, 24, 3);
  format->unusedMask = 0;
}

int MakeColorFormatFromMasks(ColorFormat* format, int depth, uint32_t redMask, uint32_t greenMask,
                             uint32_t blueMask, uint32_t alphaMask) {
  format->depth = static_cast<uint16_t>(depth);
  format->bytesPerPixel = static_cast<uint16_t>(depth / 8);
  format->redMask = redMask, format->greenMask = greenMask;
  format->blueMask = blueMask, format->alphaMask = alphaMask;
  MaskShiftAndWidth(redMask, &format->redShift, &format->redWidth);
  MaskShiftAndWidth(greenMask, &format->greenShift, &format->greenWidth);
  MaskShiftAndWidth(blueMask, &format->blueShift, &format->blueWidth);
  MaskShiftAndWidth(alphaMask, &format->alphaShift, &format->alphaWidth);
  format->unusedMask = LowBitMask(depth) & ~(redMask | greenMask | blueMask | alphaMask);
  MaskShiftAndWidth(format->unusedMask, &format->unusedShift, &format->unusedWidth);
  format->flags = 0;
  return 0;
}

void RecomputeUnusedMask(ColorFormat* format) {
  const int widths = format->redWidth + format->greenWidth + format->blueWidth + format->alphaWidth;
  if (widths == format->depth) {
    format->unusedMask = 0;
    return;
  }
  format->unusedMask = LowBitMask(format->depth) &
                       ~(format->redMask | format->greenMask | format->blueMask | format->alphaMask);
}

int ColorFormatsEqual(const ColorFormat& a, const ColorFormat& b) {
  if (a.depth != b.depth || a.redMask != b.redMask || a.greenMask != b.greenMask ||
      a.blueMask != b.blueMask || a.alphaMask != b.alphaMask)
    return 0;
  if (a.depth == 0 && a.flags != b.flags) return 0;
  return 1;
}
