#pragma once
// Running one reader (or the whole table) over bytes in memory, and reading
// pixels back, for the image reader tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/platform/base/TrackedAlloc.h"

// An image that frees itself; checks that a refusing reader left nothing allocated.
class ReadResult {
 public:
  ReadResult(ImageReader reader, const std::string& bytes) {
    const int blocks = TrackedBlockCount();
    MemStream* memory = MemStreamOpen(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const ImageStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
    std::memset(&image_, 0, sizeof(image_));
    result_ = reader ? reader(stream, &image_) : ReadImageAnyFormat(stream, &image_);
    MemStreamClose(stream.handle);
    if (result_ != 0) {
      EXPECT_EQ(TrackedBlockCount(), blocks) << "a refusing reader kept memory";
      EXPECT_EQ(image_.pixels, nullptr);
    }
  }
  ~ReadResult() { FreeGraphImage(&image_); }
  ReadResult(const ReadResult&) = delete;
  ReadResult& operator=(const ReadResult&) = delete;

  bool ok() const { return result_ == 0; }
  const GraphImage& image() const { return image_; }
  // The pixel's bytes, bytesPerPixel of them.
  std::vector<uint8_t> Bytes(int x, int y) const {
    const uint8_t* at = image_.pixels + int64_t{y} * image_.pitch + int64_t{x} * image_.format.bytesPerPixel;
    return std::vector<uint8_t>(at, at + image_.format.bytesPerPixel);
  }
  // Red, green, blue, alpha through the image's format.
  std::vector<int> Rgba(int x, int y) const {
    int r = 0, g = 0, b = 0, a = 0;
    GetGraphImagePixel(image_, x, y, &r, &g, &b, &a);
    return {r, g, b, a};
  }

 private:
  GraphImage image_;
  int result_ = -1;
};

inline std::string Repeat(const std::string& part, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += part;
  return out;
}
