#include "runtime/graphics/imagefile/BmpLayout.h"

void DecodeBmpRunLength(const BmpLayout& bmp, bool fourBit, uint8_t* pixels, int64_t pitch) {
  const uint8_t* in = bmp.data;
  const size_t size = bmp.dataSize;
  const int64_t width = bmp.width;
  const int64_t height = bmp.height;
  const int64_t step = bmp.bottomUp ? -1 : 1;
  int64_t row = bmp.bottomUp ? height - 1 : 0;
  int64_t column = 0;
  size_t at = 0;

  // Pixels past the end of the row are dropped; they never wrap.
  auto put = [&](uint8_t value) {
    if (column < width) pixels[row * pitch + column] = value;
    ++column;
  };

  while (at + 2 <= size) {
    const uint8_t count = in[at];
    const uint8_t value = in[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(fourBit ? static_cast<uint8_t>(i & 1 ? value & 0x0F : value >> 4) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      row += step;
      column = 0;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (at + 2 > size) return;
      column += in[at];
      row += step * in[at + 1];
      at += 2;
    } else {  // literal run, padded to an even byte count
      const size_t bytes = fourBit ? (value + 1u) / 2 : value;
      if (at + bytes > size) return;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = in[at + (fourBit ? i / 2 : i)];
        put(fourBit ? static_cast<uint8_t>(i & 1 ? b & 0x0F : b >> 4) : b);
      }
      at += bytes + (bytes & 1);
    }
    if (row < 0 || row >= height) return;
  }
}
