#include "tests/support/DdsFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string DdsFile(const DdsFileFields& fields) {
  ByteWriter w;
  w.Raw("DDS ").U32(124).U32(fields.headerFlags).U32(fields.height).U32(fields.width).U32(fields.pitch).U32(0).U32(1);
  w.Raw(std::string(44, '\0'));
  w.U32(32).U32(fields.formatFlags).Raw(fields.fourCc.empty() ? std::string(4, '\0') : fields.fourCc.substr(0, 4));
  w.U32(fields.bitCount).U32(fields.masks[0]).U32(fields.masks[1]).U32(fields.masks[2]).U32(fields.masks[3]);
  w.U32(0x1000).Raw(std::string(16, '\0'));
  w.Raw(fields.data);
  return w.Bytes();
}

std::string DxtColourBlock(uint16_t colour0, uint16_t colour1, uint32_t indices) {
  ByteWriter w;
  w.U16(colour0).U16(colour1).U32(indices);
  return w.Bytes();
}

std::string DxtExplicitAlpha(uint64_t values) {
  ByteWriter w;
  w.U64(values);
  return w.Bytes();
}

std::string DxtInterpolatedAlpha(uint8_t alpha0, uint8_t alpha1, uint64_t indices) {
  ByteWriter w;
  w.U8(alpha0).U8(alpha1);
  for (int i = 0; i < 6; ++i) w.U8(static_cast<uint8_t>(indices >> (8 * i)));
  return w.Bytes();
}
