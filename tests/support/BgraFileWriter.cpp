#include "tests/support/BgraFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string BgraFile(uint32_t channels, uint32_t width, uint32_t height, const std::string& pixels) {
  ByteWriter w;
  w.Raw("BGRA").U32(channels).U32(width).U32(height).Raw(pixels);
  return w.Bytes();
}
