#include "tests/support/BmpFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string BmpFile(const BmpFileFields& fields) {
  const uint32_t offset = static_cast<uint32_t>(54 + (fields.writeMasks ? 12 : 0) + 4 * fields.palette.size());
  ByteWriter w;
  w.Raw("BM").U32(static_cast<uint32_t>(offset + fields.data.size())).U32(0).U32(offset);
  w.U32(40).I32(fields.width).I32(fields.height).U16(1).U16(static_cast<uint16_t>(fields.bitCount)).U32(fields.compression);
  w.U32(static_cast<uint32_t>(fields.data.size())).U32(2835).U32(2835).U32(static_cast<uint32_t>(fields.palette.size())).U32(0);
  if (fields.writeMasks) w.U32(fields.masks[0]).U32(fields.masks[1]).U32(fields.masks[2]);
  for (const uint32_t c : fields.palette) w.U8(c & 0xFF).U8(c >> 8 & 0xFF).U8(c >> 16 & 0xFF).U8(0);
  w.Raw(fields.data);
  return w.Bytes();
}

std::string PackBmpRows(int bitCount, const std::vector<std::vector<uint32_t>>& rows) {
  std::string out;
  for (const auto& row : rows) {
    std::string bytes;
    if (bitCount < 8) {
      const int perByte = 8 / bitCount;
      bytes.assign((row.size() + perByte - 1) / perByte, '\0');
      for (size_t x = 0; x < row.size(); ++x) {
        const int shift = 8 - bitCount * (static_cast<int>(x % perByte) + 1);
        bytes[x / perByte] = static_cast<char>(static_cast<uint8_t>(bytes[x / perByte]) | (row[x] << shift));
      }
    } else {
      for (const uint32_t v : row) {
        for (int i = 0; i < bitCount / 8; ++i) bytes += static_cast<char>(v >> (8 * i) & 0xFF);
      }
    }
    while (bytes.size() % 4 != 0) bytes += '\0';
    out += bytes;
  }
  return out;
}

BmpRunLength& BmpRunLength::Run(uint8_t count, uint8_t value) {
  bytes_ += static_cast<char>(count);
  bytes_ += static_cast<char>(value);
  return *this;
}

BmpRunLength& BmpRunLength::Literal(const std::vector<uint8_t>& values) {
  bytes_ += '\0';
  bytes_ += static_cast<char>(values.size());
  std::string data;
  if (fourBit_) {
    for (size_t i = 0; i < values.size(); i += 2) {
      const uint8_t low = i + 1 < values.size() ? values[i + 1] : 0;
      data += static_cast<char>(values[i] << 4 | low);
    }
  } else {
    data.assign(values.begin(), values.end());
  }
  if (data.size() % 2 != 0) data += '\0';
  bytes_ += data;
  return *this;
}

BmpRunLength& BmpRunLength::EndOfLine() { return Run(0, 0); }
BmpRunLength& BmpRunLength::EndOfBitmap() { return Run(0, 1); }
BmpRunLength& BmpRunLength::Delta(uint8_t right, uint8_t rows) {
  Run(0, 2);
  bytes_ += static_cast<char>(right);
  bytes_ += static_cast<char>(rows);
  return *this;
}
