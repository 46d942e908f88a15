// The DDS reader on any bytes: it accepts with an image that matches its
// buffer, or refuses with nothing kept.

#include "fuzz/ImageFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzImageReader(ReadDdsImage, data, size);
  return 0;
}
