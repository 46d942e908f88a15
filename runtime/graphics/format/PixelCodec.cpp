#include "runtime/graphics/format/PixelCodec.h"

namespace {

uint32_t Place(uint32_t value, int shift) { return shift < 32 ? value << shift : 0; }

// An 8-bit value packed into a channel of the given width and shift.
uint32_t PackChannel(int value, int width, int shift) {
  if (width == 0) return 0;
  const uint32_t v = static_cast<uint32_t>(value) & 0xFF;
  return Place(width <= 8 ? v >> (8 - width) : v << (width - 8), shift);
}

int DecodeChannel(uint32_t pixel, uint32_t mask, int shift, int width) {
  if (width == 0) return 0;
  return static_cast<int>(ExtractChannel(pixel, mask, shift) * 255ull / LowBitMask(width));
}

uint32_t ResizeByShift(uint32_t value, int sourceWidth, int destinationWidth) {
  if (destinationWidth < sourceWidth) return value >> (sourceWidth - destinationWidth);
  if (destinationWidth > sourceWidth) return value << (destinationWidth - sourceWidth);
  return value;
}

}  // namespace

int NearestPaletteIndex(const ColorFormat& format, int red, int green, int blue) {
  int best = 0;
  int bestDistance = 0xFFFFFF;
  for (int i = 0; i < 256; ++i) {
    const int db = format.palette[i][0] - blue;
    const int dg = format.palette[i][1] - green;
    const int dr = format.palette[i][2] - red;
    const int distance = db * db + dg * dg + dr * dr;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

uint32_t EncodePixel(const ColorFormat& format, int red, int green, int blue, int alpha) {
  if (format.bytesPerPixel == 1) return static_cast<uint32_t>(NearestPaletteIndex(format, red, green, blue));
  uint32_t pixel = PackChannel(red, format.redWidth, format.redShift) +
                   PackChannel(green, format.greenWidth, format.greenShift) +
                   PackChannel(blue, format.blueWidth, format.blueShift) + format.unusedMask;
  if (format.alphaWidth != 0) pixel += PackChannel(alpha, format.alphaWidth, format.alphaShift);
  return pixel;
}

int DecodePixel(const ColorFormat& format, uint32_t pixel, int* red, int* green, int* blue, int* alpha) {
  if (red) *red = DecodeChannel(pixel, format.redMask, format.redShift, format.redWidth);
  if (green) *green = DecodeChannel(pixel, format.greenMask, format.greenShift, format.greenWidth);
  if (blue) *blue = DecodeChannel(pixel, format.blueMask, format.blueShift, format.blueWidth);
  if (alpha) *alpha = DecodeChannel(pixel, format.alphaMask, format.alphaShift, format.alphaWidth);
  return 0;
}

uint32_t ConvertPixel(const ColorFormat& d, const ColorFormat& s, uint32_t pixel) {
  const uint32_t r = ResizeByShift(ExtractChannel(pixel, s.redMask, s.redShift), s.redWidth, d.redWidth);
  const uint32_t g = ResizeByShift(ExtractChannel(pixel, s.greenMask, s.greenShift), s.greenWidth, d.greenWidth);
  const uint32_t b = ResizeByShift(ExtractChannel(pixel, s.blueMask, s.blueShift), s.blueWidth, d.blueWidth);
  uint32_t a;
  if (s.alphaWidth == 0) {
    a = ExtractChannel(d.alphaMask, d.alphaMask, d.alphaShift);
  } else {
    a = ResizeByShift(ExtractChannel(pixel, s.alphaMask, s.alphaShift), s.alphaWidth, d.alphaWidth);
  }
  return Place(r, d.redShift) | Place(g, d.greenShift) | Place(b, d.blueShift) |
         (d.alphaWidth ? Place(a, d.alphaShift) : 0) | d.unusedMask;
}

uint32_t ScaleChannel(uint32_t value, int sourceWidth, int destinationWidth) {
  if (destinationWidth <= sourceWidth) return ResizeByShift(value, sourceWidth, destinationWidth);
  if (sourceWidth == 0) return 0;
  return static_cast<uint32_t>(uint64_t{value} * LowBitMask(destinationWidth) / LowBitMask(sourceWidth));
}

uint32_t ExtractChannel(uint32_t pixel, uint32_t mask, int shift) { return shift < 32 ? (pixel & mask) >> shift : 0; }
