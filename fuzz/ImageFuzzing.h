#pragma once
// What the image fuzzers share: one reader (or the whole table) over the
// input held in a memory stream; an accepted image is walked whole, so that
// a pitch or size that does not match its buffer shows.

#include <cstddef>
#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/platform/base/TrackedAlloc.h"

inline void TouchWholeImage(const GraphImage& image) {
  volatile uint8_t sum = 0;
  const int64_t rowBytes = int64_t{image.width} * image.format.bytesPerPixel;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* row = image.pixels + int64_t{y} * image.pitch;
    for (int64_t x = 0; x < rowBytes; ++x) sum = static_cast<uint8_t>(sum + row[x]);
  }
}

// reader null: the whole table.
inline void FuzzImageReader(ImageReader reader, const uint8_t* data, size_t size) {
  const int blocks = TrackedBlockCount();
  MemStream* memory = MemStreamOpen(data, static_cast<uint32_t>(size));
  if (memory == nullptr) return;
  const ImageStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  GraphImage image{};
  const int result = reader ? reader(stream, &image) : ReadImageAnyFormat(stream, &image);
  if (result == 0) TouchWholeImage(image);
  FreeGraphImage(&image);
  MemStreamClose(stream.handle);
  if (TrackedBlockCount() != blocks) __builtin_trap();  // a reader kept memory
}
