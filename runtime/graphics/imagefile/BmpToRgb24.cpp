// Our own stand-in for the platform's bitmap conversion: the layouts the BMP
// reader does not take over directly become top-down 24-bit rows.

#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/imagefile/BmpLayout.h"

namespace {

struct Channel {
  uint32_t mask;
  uint8_t shift;
  uint8_t width;
};

Channel ChannelOf(uint32_t mask) {
  Channel c{mask, 0, 0};
  MaskShiftAndWidth(mask, &c.shift, &c.width);
  return c;
}

// Channels are widened exactly (full stays full) and narrowed by keeping the high bits.
uint8_t To8Bits(const Channel& c, uint32_t pixel) {
  if (c.width == 0) return 0;
  return static_cast<uint8_t>(ScaleChannel(ExtractChannel(pixel, c.mask, c.shift), c.width, 8));
}

void StoreFromPalette(const BmpLayout& bmp, uint8_t* out, unsigned index) {
  out[0] = bmp.palette[index][0];
  out[1] = bmp.palette[index][1];
  out[2] = bmp.palette[index][2];
}

}  // namespace

void ConvertBmpToRgb24(const BmpLayout& bmp, uint8_t* pixels, int64_t pitch) {
  uint32_t masks[3] = {bmp.masks[0], bmp.masks[1], bmp.masks[2]};
  if (bmp.compression == 0 && bmp.bitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bmp.compression == 0 && bmp.bitCount == 32) {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  const Channel red = ChannelOf(masks[0]), green = ChannelOf(masks[1]), blue = ChannelOf(masks[2]);
  const int64_t width = bmp.width;

  for (int64_t y = 0; y < bmp.height; ++y) {
    uint8_t* out = pixels + y * pitch;
    std::memset(out, 0, static_cast<size_t>(width * 3));
    const int64_t stored = bmp.bottomUp ? bmp.height - 1 - y : y;
    const int64_t start = stored * bmp.stride;
    if (start >= static_cast<int64_t>(bmp.dataSize)) continue;
    const uint8_t* in = bmp.data + start;
    // Whole pixels the data still holds for this row.
    const int64_t available = static_cast<int64_t>(bmp.dataSize) - start;
    const int64_t count = bmp.bitCount >= 8 ? available / (bmp.bitCount / 8) : available * (8 / bmp.bitCount);
    const int64_t n = count < width ? count : width;
    switch (bmp.bitCount) {
      case 1:
        for (int64_t x = 0; x < n; ++x) StoreFromPalette(bmp, out + 3 * x, (in[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        for (int64_t x = 0; x < n; ++x) StoreFromPalette(bmp, out + 3 * x, x & 1 ? in[x >> 1] & 0x0F : in[x >> 1] >> 4);
        break;
      case 8:
        for (int64_t x = 0; x < n; ++x) StoreFromPalette(bmp, out + 3 * x, in[x]);
        break;
      case 16:
        for (int64_t x = 0; x < n; ++x) {
          const uint32_t p = ReadLe16(in + 2 * x);
          out[3 * x] = To8Bits(blue, p), out[3 * x + 1] = To8Bits(green, p), out[3 * x + 2] = To8Bits(red, p);
        }
        break;
      case 24:
        std::memcpy(out, in, static_cast<size_t>(n * 3));
        break;
      case 32:
        for (int64_t x = 0; x < n; ++x) {
          const uint32_t p = ReadLe32(in + 4 * x);
          out[3 * x] = To8Bits(blue, p), out[3 * x + 1] = To8Bits(green, p), out[3 * x + 2] = To8Bits(red, p);
        }
        break;
      default:
        break;
    }
  }
}
