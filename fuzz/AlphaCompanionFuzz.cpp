// The loader with an alpha companion from memory: the first byte holds the
// mirror flag and where the input splits into the image and its companion.

#include "fuzz/ImageFuzzing.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int mirror = data[0] & 1;
  const size_t rest = size - 1;
  const size_t split = rest * (data[0] >> 1) / 127;
  const uint8_t* image = data + 1;
  GraphImage main{}, alpha{};
  const int result = LoadImageFileWithAlpha(nullptr, image, static_cast<uint32_t>(split), 1, image + split,
                                            static_cast<uint32_t>(rest - split), 1, &main, &alpha, mirror);
  if (result >= 0) TouchWholeImage(main);
  if (result == 0) TouchWholeImage(alpha);
  FreeGraphImage(&main);
  FreeGraphImage(&alpha);
  return 0;
}
