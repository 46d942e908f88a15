#include "tests/support/TgaFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string TgaFile(const TgaFileFields& fields) {
  ByteWriter w;
  w.U8(static_cast<uint8_t>(fields.imageId.size())).U8(fields.mapType).U8(fields.type);
  w.U16(fields.mapFirst).U16(fields.mapLength).U8(fields.mapEntryBits);
  w.U16(fields.xOrigin).U16(0).U16(fields.width).U16(fields.height).U8(fields.pixelDepth).U8(fields.descriptor);
  w.Raw(fields.imageId).Raw(fields.map).Raw(fields.data);
  if (fields.footer) w.U32(0).U32(0).Raw("TRUEVISION-XFILE").Raw(std::string("." "\0", 2));
  return w.Bytes();
}

std::string TgaRepeatPacket(int count, const std::string& value) {
  return std::string(1, static_cast<char>(0x80 | (count - 1))) + value;
}

std::string TgaRawPacket(const std::string& values, int valueSize) {
  const int count = static_cast<int>(values.size()) / valueSize;
  return std::string(1, static_cast<char>(count - 1)) + values;
}
