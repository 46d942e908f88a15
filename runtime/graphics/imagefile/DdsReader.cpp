// DDS: the top-level image only, uncompressed with channel masks or in DXT1
// to DXT5 blocks decoded to 32-bit pixels with alpha.

#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/imagefile/DxtBlocks.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/graphics/imagefile/ImageSizeCap.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr uint32_t kPitchValid = 0x8;
constexpr uint32_t kAlphaPixels = 0x1, kFourCc = 0x4, kRgb = 0x40;

uint32_t FourCc(const char* text) { return ReadLe32(reinterpret_cast<const uint8_t*>(text)); }

uint8_t* Alloc(int64_t size) { return static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(size), __FILE__, __LINE__)); }

int DxtVariant(uint32_t fourCc) {
  static const char* const kNames[] = {"DXT1", "DXT2", "DXT3", "DXT4", "DXT5"};
  for (int i = 0; i < 5; ++i) {
    if (fourCc == FourCc(kNames[i])) return i + 1;
  }
  return 0;
}

int ReadBlocks(const ImageStream& stream, int variant, int64_t width, int64_t height, GraphImage* image) {
  const int64_t blocksWide = width / 4, blocksHigh = height / 4;
  const int64_t dataSize = blocksWide * blocksHigh * DxtBlockSize(variant);
  if (BytesToEnd(stream) < dataSize) return -1;
  const int64_t pitch = width * 4;
  uint8_t* blocks = Alloc(dataSize > 0 ? dataSize : 1);
  if (blocks == nullptr) return -1;
  if (!ReadExactly(stream, blocks, static_cast<size_t>(dataSize))) {
    TrackedFree(blocks);
    return -1;
  }
  uint8_t* pixels = Alloc(pitch * height);
  if (pixels == nullptr) {
    TrackedFree(blocks);
    return -1;
  }
  // Columns and rows outside every whole block are cleared, never left as found.
  const int64_t covered = blocksWide * 16;
  for (int64_t y = 0; y < height; ++y) {
    if (y >= blocksHigh * 4) {
      std::memset(pixels + y * pitch, 0, static_cast<size_t>(pitch));
    } else if (covered < pitch) {
      std::memset(pixels + y * pitch + covered, 0, static_cast<size_t>(pitch - covered));
    }
  }
  DecodeDxtBlocks(variant, blocks, blocksWide, blocksHigh, pixels, pitch);
  TrackedFree(blocks);
  MakeArgb8ColorFormat(&image->format);
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->pitch = static_cast<int32_t>(pitch);
  image->pixels = pixels;
  return 0;
}

}  // namespace

int ReadDdsImage(const ImageStream& stream, GraphImage* image) {
  uint8_t h[128];
  if (!ReadExactly(stream, h, 4) || std::memcmp(h, "DDS", 3) != 0) return -1;
  if (!ReadExactly(stream, h + 4, 124)) return -1;
  const uint32_t headerFlags = ReadLe32(h + 8);
  const int64_t height = ReadLe32(h + 12);
  const int64_t width = ReadLe32(h + 16);
  const uint32_t pitchField = ReadLe32(h + 20);
  const uint32_t formatFlags = ReadLe32(h + 80);
  const uint32_t fourCc = ReadLe32(h + 84);
  const uint32_t bitCount = ReadLe32(h + 88);
  if (!ImageSizeAllowed(width, height)) return -1;

  const bool rgb = (formatFlags & kRgb) != 0, alpha = (formatFlags & kAlphaPixels) != 0;
  const bool masks = (rgb && alpha) || (!rgb && (formatFlags & kFourCc) == 0);
  if (!masks) {
    const int variant = (formatFlags & kFourCc) != 0 ? DxtVariant(fourCc) : 0;
    if (variant == 0) return -1;
    return ReadBlocks(stream, variant, width, height, image);
  }

  if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return -1;
  const int64_t rowBytes = width * (bitCount / 8);
  const int64_t pitch = (headerFlags & kPitchValid) != 0 ? int64_t{pitchField} : rowBytes;
  if (pitch < rowBytes || pitch > INT32_MAX) return -1;
  const int64_t size = pitch * height;
  if (BytesToEnd(stream) < size) return -1;
  uint8_t* pixels = Alloc(size);
  if (pixels == nullptr) return -1;
  if (!ReadExactly(stream, pixels, static_cast<size_t>(size))) {
    TrackedFree(pixels);
    return -1;
  }
  MakeColorFormatFromMasks(&image->format, static_cast<int>(bitCount), ReadLe32(h + 92), ReadLe32(h + 96),
                           ReadLe32(h + 100), ReadLe32(h + 104));
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->pitch = static_cast<int32_t>(pitch);
  image->pixels = pixels;
  return 0;
}
