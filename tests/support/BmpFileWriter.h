#pragma once
// BMP files for the image reader tests: headers, palettes, bit fields, rows
// packed at any depth in either order, and run-length data.

#include <cstdint>
#include <string>
#include <vector>

struct BmpFileFields {
  int32_t width = 0;
  int32_t height = 0;  // negative: the first stored row is the top row
  int bitCount = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB, written as blue, green, red, 0
  bool writeMasks = false;        // three u32 masks after the information header
  uint32_t masks[3] = {0, 0, 0};
  std::string data;  // pixel data as stored
};

// File header, 40-byte information header, masks, palette, data; the
// pixel-data offset points at the data.
std::string BmpFile(const BmpFileFields& fields);
constexpr size_t kBmpDataOffsetField = 10;

// Rows of pixel values (indices, or packed values of 16, 24 or 32 bits),
// each padded to 4 bytes; rows are written in the order given.
std::string PackBmpRows(int bitCount, const std::vector<std::vector<uint32_t>>& rows);

// Run-length data, op by op.
class BmpRunLength {
 public:
  explicit BmpRunLength(bool fourBit) : fourBit_(fourBit) {}
  BmpRunLength& Run(uint8_t count, uint8_t value);
  BmpRunLength& Literal(const std::vector<uint8_t>& values);  // indices, 3 or more
  BmpRunLength& EndOfLine();
  BmpRunLength& Delta(uint8_t right, uint8_t rows);
  BmpRunLength& EndOfBitmap();
  const std::string& Bytes() const { return bytes_; }

 private:
  bool fourBit_;
  std::string bytes_;
};
