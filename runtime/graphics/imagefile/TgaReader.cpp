// TGA: colour-mapped and true-colour images, plain or run-length, of 16, 24
// or 32 bits, turned to top row first, left to right.

#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/graphics/imagefile/ImageSizeCap.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr int kMaxTgaSide = 8192;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE";

uint8_t* Alloc(int64_t size) { return static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(size), __FILE__, __LINE__)); }

// Packets of run-length data into count values of valueSize bytes; values the
// data lacks stay 0, and a last packet that passes the end is cut short.
void DecodeTgaRunLength(const uint8_t* in, size_t size, int valueSize, uint8_t* out, int64_t count) {
  std::memset(out, 0, static_cast<size_t>(count * valueSize));
  size_t at = 0;
  int64_t done = 0;
  while (done < count && at < size) {
    const uint8_t header = in[at++];
    int64_t n = (header & 0x7F) + 1;
    if (n > count - done) n = count - done;
    uint8_t* to = out + done * valueSize;
    if (header & 0x80) {
      if (at + valueSize > size) return;
      for (int64_t i = 0; i < n; ++i) std::memcpy(to + i * valueSize, in + at, valueSize);
      at += valueSize;
    } else {
      const size_t bytes = static_cast<size_t>((header & 0x7F) + 1) * valueSize;
      const size_t used = static_cast<size_t>(n) * valueSize;
      if (at + used > size) return;
      std::memcpy(to, in + at, used);
      at += bytes;
    }
    done += n;
  }
}

void SetTgaFormat(int pixelSize, ColorFormat* format) {
  if (pixelSize == 16) {
    MakeColorFormatFromMasks(format, 16, 0x7C00, 0x03E0, 0x001F, 0);
  } else if (pixelSize == 24) {
    MakeColorFormatFromMasks(format, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  } else {
    MakeColorFormatFromMasks(format, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000);
  }
}

}  // namespace

int ReadTgaImage(const ImageStream& stream, GraphImage* image) {
  if (!SeekStream(stream, 0, 2)) return -1;
  const int64_t fileSize = TellStream(stream);
  if (fileSize < 18) return -1;

  int64_t dataEnd = fileSize;
  uint8_t footer[26];
  if (fileSize >= 18 + 26 && SeekStream(stream, -26, 2) && ReadExactly(stream, footer, 26) &&
      std::memcmp(footer + 8, kFooterSignature, 16) == 0 && ReadLe32(footer) == 0) {
    dataEnd = fileSize - 26;
  }

  uint8_t h[18];
  if (!SeekStream(stream, 0, 0) || !ReadExactly(stream, h, 18)) return -1;
  const int idLength = h[0];
  const int mapType = h[1];
  const int type = h[2];
  const int mapFirst = ReadLe16(h + 3);
  const int mapLength = ReadLe16(h + 5);
  const int mapEntryBits = h[7];
  const int width = ReadLe16(h + 12);
  const int height = ReadLe16(h + 14);
  const int depth = h[16];
  const int descriptor = h[17];

  if (type != 1 && type != 2 && type != 9 && type != 10) return -1;
  if (ReadLe16(h + 8) != 0 || ReadLe16(h + 10) != 0) return -1;
  if (width == 0 || height == 0 || width > kMaxTgaSide || height > kMaxTgaSide) return -1;
  if (!ImageSizeAllowed(width, height)) return -1;
  const bool mapped = type == 1 || type == 9;
  if (mapped && depth != 8) return -1;
  const int pixelSize = mapped ? mapEntryBits : depth;
  if (pixelSize != 16 && pixelSize != 24 && pixelSize != 32) return -1;
  const int bytes = pixelSize / 8;
  const int valueSize = mapped ? 1 : bytes;
  const int64_t count = int64_t{width} * height;

  if (!SeekStream(stream, 18 + idLength, 0)) return -1;
  uint8_t table[256][4] = {};
  if (mapType == 1) {
    const int entrySize = (mapEntryBits + 7) / 8;
    if (mapped) {
      // Entries from index 256 on have no place in the table; their bytes are skipped.
      uint8_t entry[4];
      for (int i = 0; i < mapLength; ++i) {
        if (!ReadExactly(stream, entry, entrySize)) return -1;
        if (mapFirst + i < 256) std::memcpy(table[mapFirst + i], entry, bytes);
      }
    } else if (!SeekStream(stream, int64_t{mapLength} * entrySize, 1)) {
      return -1;
    }
  }

  const bool runLength = type == 9 || type == 10;
  // Plain data must all be there before the buffer is made.
  if (!runLength && BytesToEnd(stream) < count * valueSize) return -1;
  uint8_t* values = Alloc(count * valueSize);
  if (values == nullptr) return -1;
  if (runLength) {
    const int64_t start = TellStream(stream);
    const int64_t size = dataEnd - start;
    uint8_t* packed = size > 0 ? Alloc(size) : nullptr;
    if (size > 0 && (packed == nullptr || !ReadExactly(stream, packed, static_cast<size_t>(size)))) {
      TrackedFree(packed);
      TrackedFree(values);
      return -1;
    }
    DecodeTgaRunLength(packed, size > 0 ? static_cast<size_t>(size) : 0, valueSize, values, count);
    TrackedFree(packed);
  } else if (!ReadExactly(stream, values, static_cast<size_t>(count * valueSize))) {
    TrackedFree(values);
    return -1;
  }

  uint8_t* pixels = values;
  if (mapped) {
    pixels = Alloc(count * bytes);
    if (pixels == nullptr) {
      TrackedFree(values);
      return -1;
    }
    for (int64_t i = 0; i < count; ++i) std::memcpy(pixels + i * bytes, table[values[i]], bytes);
    TrackedFree(values);
  }

  const int64_t pitch = int64_t{width} * bytes;
  const bool bottomUp = (descriptor & 0x20) == 0;
  const bool rightToLeft = (descriptor & 0x10) != 0;
  if (bottomUp || rightToLeft) {
    uint8_t* ordered = Alloc(count * bytes);
    if (ordered == nullptr) {
      TrackedFree(pixels);
      return -1;
    }
    for (int64_t y = 0; y < height; ++y) {
      const uint8_t* in = pixels + (bottomUp ? height - 1 - y : y) * pitch;
      uint8_t* out = ordered + y * pitch;
      if (!rightToLeft) {
        std::memcpy(out, in, static_cast<size_t>(pitch));
      } else {
        for (int64_t x = 0; x < width; ++x) std::memcpy(out + x * bytes, in + (width - 1 - x) * bytes, bytes);
      }
    }
    TrackedFree(pixels);
    pixels = ordered;
  }

  SetTgaFormat(pixelSize, &image->format);
  image->width = width;
  image->height = height;
  image->pitch = static_cast<int32_t>(pitch);
  image->pixels = pixels;
  return 0;
}
