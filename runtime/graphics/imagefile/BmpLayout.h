#pragma once
// What the BMP reader's parts share: the fields of the headers it uses and
// the pixel data as read.

#include <cstddef>
#include <cstdint>

struct BmpLayout {
  int32_t width;
  int32_t height;      // rows, always positive
  bool bottomUp;       // the first stored row is the bottom row
  int bitCount;        // 1, 4, 8, 16, 24 or 32
  uint32_t compression;
  uint8_t palette[256][4];  // blue, green, red, reserved; unread entries 0
  uint32_t masks[3];        // red, green, blue for 16 and 32 bits
  int64_t stride;           // bytes of a stored uncompressed row
  const uint8_t* data;      // from the pixel-data offset to the end of the file
  size_t dataSize;
};

// Run-length data (8 or 4 bits per pixel) decoded to one byte per pixel,
// top row first, into pixels of height x pitch bytes cleared beforehand.
// Every operation is checked: nothing is written outside the buffer or read
// past the data, and decoding stops at the first that would.
void DecodeBmpRunLength(const BmpLayout& bmp, bool fourBit, uint8_t* pixels, int64_t pitch);

// Uncompressed 1, 4, 8, 16, 24 or 32-bit data or bit fields as top-down
// 24-bit rows (blue, green, red) of the given pitch; rows or pixels the data
// lacks come out 0.
void ConvertBmpToRgb24(const BmpLayout& bmp, uint8_t* pixels, int64_t pitch);
