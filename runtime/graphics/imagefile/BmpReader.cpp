// BMP: 8 and 24-bit uncompressed data is taken over as stored (bottom-up
// files row-reversed), run-length and 4-bit data is unpacked to one byte per
// pixel, and every other layout goes through our converter to 24 bits.

#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/imagefile/BmpLayout.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/graphics/imagefile/ImageSizeCap.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

bool KnownLayout(int bitCount, uint32_t compression) {
  switch (compression) {
    case kRgb:
      return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    case kRle8:
      return bitCount == 8;
    case kRle4:
      return bitCount == 4;
    case kBitFields:
      return bitCount == 16 || bitCount == 32;
    default:
      return false;
  }
}

// The palette format with the file's first `entries` colours, fourth bytes cleared.
void SetPaletteFormat(const BmpLayout& bmp, int entries, GraphImage* image) {
  MakePaletteColorFormat(&image->format);
  std::memset(image->format.palette, 0, sizeof(image->format.palette));
  for (int i = 0; i < entries; ++i) std::memcpy(image->format.palette[i], bmp.palette[i], 3);
}

uint8_t* AllocZero(int64_t size) { return static_cast<uint8_t*>(TrackedAllocZero(static_cast<size_t>(size), __FILE__, __LINE__)); }

int Finish(GraphImage* image, const BmpLayout& bmp, int64_t pitch, uint8_t* pixels) {
  image->width = bmp.width;
  image->height = bmp.height;
  image->pitch = static_cast<int32_t>(pitch);
  image->pixels = pixels;
  return 0;
}

int Decode(const BmpLayout& bmp, uint8_t** data, GraphImage* image) {
  const int64_t width4 = (int64_t{bmp.width} + 3) & ~int64_t{3};
  const int64_t height = bmp.height;

  if (bmp.compression == kRle8 || bmp.compression == kRle4) {
    const bool fourBit = bmp.compression == kRle4;
    const int64_t pitch = fourBit ? width4 : bmp.stride;
    uint8_t* pixels = AllocZero(height * pitch);
    if (pixels == nullptr) return -1;
    DecodeBmpRunLength(bmp, fourBit, pixels, pitch);
    SetPaletteFormat(bmp, fourBit ? 16 : 256, image);
    return Finish(image, bmp, pitch, pixels);
  }

  if (bmp.bitCount == 4) {
    uint8_t* pixels = AllocZero(height * width4);
    if (pixels == nullptr) return -1;
    for (int64_t y = 0; y < height; ++y) {
      const int64_t start = (bmp.bottomUp ? height - 1 - y : y) * bmp.stride;
      const int64_t available = static_cast<int64_t>(bmp.dataSize) - start;
      if (available <= 0) continue;
      const int64_t n = available * 2 < bmp.width ? available * 2 : bmp.width;
      const uint8_t* in = bmp.data + start;
      uint8_t* out = pixels + y * width4;
      for (int64_t x = 0; x < n; ++x) out[x] = x & 1 ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
    }
    SetPaletteFormat(bmp, 16, image);
    return Finish(image, bmp, width4, pixels);
  }

  if (bmp.bitCount == 8 || bmp.bitCount == 24) {
    const int64_t size = height * bmp.stride;
    uint8_t* pixels;
    if (bmp.bottomUp) {
      pixels = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(size), __FILE__, __LINE__));
      if (pixels == nullptr) return -1;
      for (int64_t y = 0; y < height; ++y) {
        uint8_t* out = pixels + y * bmp.stride;
        const int64_t start = (height - 1 - y) * bmp.stride;
        const int64_t available = static_cast<int64_t>(bmp.dataSize) - start;
        const int64_t n = available <= 0 ? 0 : available < bmp.stride ? available : bmp.stride;
        if (n > 0) std::memcpy(out, bmp.data + start, static_cast<size_t>(n));
        std::memset(out + n, 0, static_cast<size_t>(bmp.stride - n));
      }
    } else {
      // The data buffer becomes the pixels; short data is extended with zeros.
      if (static_cast<int64_t>(bmp.dataSize) < size) {
        uint8_t* grown = static_cast<uint8_t*>(TrackedRealloc(*data, static_cast<size_t>(size), __FILE__, __LINE__));
        if (grown == nullptr) return -1;
        std::memset(grown + bmp.dataSize, 0, static_cast<size_t>(size) - bmp.dataSize);
        *data = grown;
      }
      pixels = *data;
      *data = nullptr;
    }
    if (bmp.bitCount == 8) {
      SetPaletteFormat(bmp, 256, image);
    } else {
      MakeRgb24ColorFormat(&image->format);
    }
    return Finish(image, bmp, bmp.stride, pixels);
  }

  const int64_t pitch = (int64_t{bmp.width} * 3 + 3) & ~int64_t{3};
  uint8_t* pixels = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(height * pitch), __FILE__, __LINE__));
  if (pixels == nullptr) {
    LogWrite("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
    return -1;
  }
  ConvertBmpToRgb24(bmp, pixels, pitch);
  MakeRgb24ColorFormat(&image->format);
  return Finish(image, bmp, pitch, pixels);
}

}  // namespace

int ReadBmpImage(const ImageStream& stream, GraphImage* image) {
  if (!SeekStream(stream, 0, 2)) return -1;
  const int64_t fileSize = TellStream(stream);
  if (fileSize < 0 || !SeekStream(stream, 0, 0)) return -1;

  uint8_t header[14 + 44];
  if (!ReadExactly(stream, header, 14) || header[0] != 'B' || header[1] != 'M') return -1;
  if (!ReadExactly(stream, header + 14, 44)) return -1;
  const uint32_t dataOffset = ReadLe32(header + 10);
  const uint32_t width = ReadLe32(header + 18);
  const int64_t height = static_cast<int32_t>(ReadLe32(header + 22));

  BmpLayout bmp{};
  bmp.bitCount = ReadLe16(header + 28);
  bmp.compression = ReadLe32(header + 30);
  if (!KnownLayout(bmp.bitCount, bmp.compression)) return -1;
  const int64_t rows = height < 0 ? -height : height;
  if (!ImageSizeAllowed(width, rows)) return -1;
  bmp.width = static_cast<int32_t>(width);
  bmp.height = static_cast<int32_t>(rows);
  bmp.bottomUp = height > 0;
  bmp.stride = ((int64_t{bmp.bitCount} * width + 7) / 8 + 3) & ~int64_t{3};

  if (bmp.bitCount <= 8) {
    if (!SeekStream(stream, 54, 0) || !ReadExactly(stream, bmp.palette, size_t{4} << bmp.bitCount)) return -1;
  } else if (bmp.compression == kBitFields) {
    // Without bit fields 16 and 32-bit data has fixed channels; the masks are not read.
    uint8_t more[8];
    if (!ReadExactly(stream, more, 8)) return -1;
    bmp.masks[0] = ReadLe32(header + 54);
    bmp.masks[1] = ReadLe32(more);
    bmp.masks[2] = ReadLe32(more + 4);
  }

  if (dataOffset > fileSize || !SeekStream(stream, dataOffset, 0)) return -1;
  const size_t dataSize = static_cast<size_t>(fileSize - dataOffset);
  uint8_t* data = static_cast<uint8_t*>(TrackedAlloc(dataSize > 0 ? dataSize : 1, __FILE__, __LINE__));
  if (data == nullptr) return -1;
  if (!ReadExactly(stream, data, dataSize)) {
    TrackedFree(data);
    return -1;
  }
  bmp.data = data;
  bmp.dataSize = dataSize;

  const int result = Decode(bmp, &data, image);
  TrackedFree(data);
  if (result != 0) std::memset(image, 0, sizeof(*image));
  return result;
}
