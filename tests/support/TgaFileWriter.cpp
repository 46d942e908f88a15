#include "tests/support/TgaFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string TgaFile(const TgaFileSpec& spec) {
  ByteWriter w;
  w.U8(static_cast<uint8_t>(spec.imageId.size())).U8(spec.mapType).U8(spec.type);
  w.U16(spec.mapFirst).U16(spec.mapLength).U8(spec.mapEntryBits);
  w.U16(spec.xOrigin).U16(0).U16(spec.width).U16(spec.height).U8(spec.pixelDepth).U8(spec.descriptor);
  w.Raw(spec.imageId).Raw(spec.map).Raw(spec.data);
  if (spec.footer) w.U32(0).U32(0).Raw("TRUEVISION-XFILE").Raw(std::string("." "\0", 2));
  return w.Bytes();
}

std::string TgaRepeatPacket(int count, const std::string& value) {
  return std::string(1, static_cast<char>(0x80 | (count - 1))) + value;
}

std::string TgaRawPacket(const std::string& values, int valueSize) {
  const int count = static_cast<int>(values.size()) / valueSize;
  return std::string(1, static_cast<char>(count - 1)) + values;
}
