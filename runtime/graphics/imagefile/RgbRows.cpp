#include "runtime/graphics/imagefile/RgbRows.h"

#include "runtime/LittleEndian.h"

namespace {

bool HasMasks(const ColorFormat& f, int depth, uint32_t red, uint32_t green, uint32_t blue) {
  return f.depth == depth && f.redMask == red && f.greenMask == green && f.blueMask == blue;
}

}  // namespace

void BuildRgbRow(const GraphImage& image, int y, uint8_t* row) {
  const ColorFormat& f = image.format;
  const uint8_t* in = image.pixels + int64_t{y} * image.pitch;
  const int width = image.width;
  if (f.bytesPerPixel == 4 && HasMasks(f, 32, 0xFF0000, 0x00FF00, 0x0000FF)) {
    for (int x = 0; x < width; ++x, in += 4, row += 3) {
      row[0] = in[2], row[1] = in[1], row[2] = in[0];
    }
  } else if (f.bytesPerPixel == 3 && HasMasks(f, 24, 0xFF0000, 0x00FF00, 0x0000FF)) {
    for (int x = 0; x < width; ++x, in += 3, row += 3) {
      row[0] = in[2], row[1] = in[1], row[2] = in[0];
    }
  } else if (f.bytesPerPixel == 2 && HasMasks(f, 16, 0xF800, 0x07E0, 0x001F)) {
    // The channels widened exactly as the general path does.
    for (int x = 0; x < width; ++x, in += 2, row += 3) {
      const uint32_t p = ReadLe16(in);
      row[0] = static_cast<uint8_t>((p >> 11) * 255 / 31);
      row[1] = static_cast<uint8_t>((p >> 5 & 63) * 255 / 63);
      row[2] = static_cast<uint8_t>((p & 31) * 255 / 31);
    }
  } else {
    for (int x = 0; x < width; ++x, row += 3) {
      int red = 0, green = 0, blue = 0;
      GetGraphImagePixel(image, x, y, &red, &green, &blue, nullptr);
      row[0] = static_cast<uint8_t>(red), row[1] = static_cast<uint8_t>(green), row[2] = static_cast<uint8_t>(blue);
    }
  }
}
