#include "runtime/graphics/state/UnusedBits.h"

#include <algorithm>
#include <cstring>

int SetUnusedBitsInRect(const IntRect& rect, uint8_t* pixels, int pitch, const ColorFormat& format, uint32_t value) {
  if (format.unusedMask == 0) return 0;
  const int left = std::min(rect.left, rect.right);
  const int right = std::max(rect.left, rect.right);
  const int top = std::min(rect.top, rect.bottom);
  const int bottom = std::max(rect.top, rect.bottom);
  const int bytes = format.bytesPerPixel;
  const uint32_t bits = value << format.unusedShift;
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = pixels + static_cast<int64_t>(y) * pitch;
    for (int x = left; x < right; ++x) {
      uint8_t* at = row + static_cast<int64_t>(x) * bytes;
      if (bytes == 4 && format.unusedMask == 0xFF000000u) {
        at[3] |= static_cast<uint8_t>(value);
      } else if (bytes == 4) {
        uint32_t v;
        std::memcpy(&v, at, 4);
        v |= bits;
        std::memcpy(at, &v, 4);
      } else if (bytes == 2) {
        uint16_t v;
        std::memcpy(&v, at, 2);
        v = static_cast<uint16_t>(v | bits);
        std::memcpy(at, &v, 2);
      }
    }
  }
  return 0;
}
