// The system's own raw format: "BGRA", the channel sizes, width, height, then
// the pixels top row first as blue, green, red, alpha of 8 or 16 bits each.

#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/graphics/imagefile/ImageSizeCap.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr uint32_t kEightBitChannels = 0x08080808;
constexpr uint32_t kSixteenBitChannels = 0x10101010;

}  // namespace

int ReadBgraImage(const ImageStream& stream, GraphImage* image) {
  uint8_t header[16];
  if (!ReadExactly(stream, header, 16) || std::memcmp(header, "BGRA", 4) != 0) return -1;
  const uint32_t channels = ReadLe32(header + 4);
  if (channels != kEightBitChannels && channels != kSixteenBitChannels) return -1;
  const int64_t width = ReadLe32(header + 8);
  const int64_t height = ReadLe32(header + 12);
  if (!ImageSizeAllowed(width, height)) return -1;
  const int64_t pitch = width * 4;
  const int64_t stored = channels == kEightBitChannels ? pitch * height : pitch * 2 * height;
  // The file must hold every pixel before the buffer is made.
  const int64_t available = BytesToEnd(stream);
  if (available < stored) return -1;

  uint8_t* pixels = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(pitch * height), __FILE__, __LINE__));
  if (pixels == nullptr) return -1;
  bool ok = true;
  if (channels == kEightBitChannels) {
    ok = ReadExactly(stream, pixels, static_cast<size_t>(pitch * height));
  } else {
    uint8_t* row = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(pitch * 2), __FILE__, __LINE__));
    ok = row != nullptr;
    for (int64_t y = 0; ok && y < height; ++y) {
      ok = ReadExactly(stream, row, static_cast<size_t>(pitch * 2));
      uint8_t* out = pixels + y * pitch;
      // The high byte of each little-endian 16-bit channel.
      for (int64_t i = 0; ok && i < pitch; ++i) out[i] = row[2 * i + 1];
    }
    TrackedFree(row);
  }
  if (!ok) {
    TrackedFree(pixels);
    return -1;
  }
  MakeArgb8ColorFormat(&image->format);
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->pitch = static_cast<int32_t>(pitch);
  image->pixels = pixels;
  return 0;
}
