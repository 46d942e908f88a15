#include "runtime/graphics/format/DDPixelFormat.h"

#include "runtime/graphics/format/ColorFormat.h"

int FillDDPixelFormat(DDPixelFormat* format, int depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                      uint32_t alphaMask) {
  *format = DDPixelFormat{};
  format->size = sizeof(DDPixelFormat);
  format->flags = kDDPixelFormatRgb;
  format->rgbBitCount = static_cast<uint32_t>(depth);
  format->redMask = redMask;
  format->greenMask = greenMask;
  format->blueMask = blueMask;
  format->alphaMask = alphaMask;
  return 0;
}

int ColorFormatFromPixelFormat(const DDPixelFormat& pixelFormat, ColorFormat* format) {
  return MakeColorFormatFromMasks(format, static_cast<int>(pixelFormat.rgbBitCount), pixelFormat.redMask,
                                  pixelFormat.greenMask, pixelFormat.blueMask, pixelFormat.alphaMask);
}
