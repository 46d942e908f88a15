#pragma once
// The one size limit of every image reader, checked before anything is
// allocated: each side 1 to 32767 pixels and at most 2^26 pixels in all.

#include <cstdint>

constexpr int64_t kMaxImageSide = 32767;
constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

inline bool ImageSizeAllowed(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}
