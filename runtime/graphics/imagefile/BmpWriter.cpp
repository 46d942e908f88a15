#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/imagefile/ImageWriters.h"
#include "runtime/host/files/ReplacingFile.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// A channel shifted to 8 bits; new low bits are 0.
uint8_t ChannelTo8(uint32_t pixel, uint32_t mask, int shift, int width) {
  if (width == 0) return 0;
  const uint32_t v = ExtractChannel(pixel, mask, shift);
  return static_cast<uint8_t>(width <= 8 ? v << (8 - width) : v >> (width - 8));
}

// One image row as stored: palette indices, or blue, green, red.
void StoreRow(const GraphImage& image, int y, uint8_t* out) {
  const ColorFormat& f = image.format;
  const uint8_t* in = image.pixels + int64_t{y} * image.pitch;
  const int width = image.width;
  if (f.depth == 8) {
    std::memcpy(out, in, static_cast<size_t>(width));
  } else if (f.depth == 32) {
    // The low three bytes are taken as blue, green, red.
    for (int x = 0; x < width; ++x) std::memcpy(out + 3 * x, in + 4 * x, 3);
  } else if (f.depth == 24 && f.redMask == 0xFF0000 && f.greenMask == 0x00FF00 && f.blueMask == 0x0000FF) {
    std::memcpy(out, in, static_cast<size_t>(width) * 3);
  } else {
    const int bytes = f.bytesPerPixel;
    for (int x = 0; x < width; ++x) {
      const uint32_t p = LoadPixelBytes(in + bytes * x, bytes);
      out[3 * x] = ChannelTo8(p, f.blueMask, f.blueShift, f.blueWidth);
      out[3 * x + 1] = ChannelTo8(p, f.greenMask, f.greenShift, f.greenWidth);
      out[3 * x + 2] = ChannelTo8(p, f.redMask, f.redShift, f.redWidth);
    }
  }
}

}  // namespace

int SaveGraphImageBmp(const char* fileName, const GraphImage& image) {
  const int depth = image.format.depth;
  if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return -1;
  if (image.width < 0 || image.height < 0 || (image.pixels == nullptr && image.width > 0 && image.height > 0)) {
    return -1;
  }
  const bool indexed = depth == 8;
  const int64_t stride = ((indexed ? int64_t{image.width} : int64_t{image.width} * 3) + 3) & ~int64_t{3};
  const int64_t paletteSize = indexed ? 1024 : 0;
  const int64_t pixelSize = stride * image.height;
  const int64_t fileSize = 54 + paletteSize + pixelSize;
  if (fileSize > UINT32_MAX) return -1;

  auto* header = static_cast<uint8_t*>(TrackedAllocZero(static_cast<size_t>(54 + paletteSize), __FILE__, __LINE__));
  if (header == nullptr) {
    LogWrite("BITMAPINFO構造体用メモリの確保に失敗しました\n");
    return -1;
  }
  auto* pixels = static_cast<uint8_t*>(TrackedAllocZero(static_cast<size_t>(pixelSize > 0 ? pixelSize : 1), __FILE__, __LINE__));
  if (pixels == nullptr) {
    LogWrite("グラフィック保存用メモリの確保に失敗しました\n");
    TrackedFree(header);
    return -1;
  }
  header[0] = 'B';
  header[1] = 'M';
  WriteLe32(header + 2, static_cast<uint32_t>(fileSize));
  WriteLe32(header + 10, static_cast<uint32_t>(54 + paletteSize));
  WriteLe32(header + 14, 40);
  WriteLe32(header + 18, static_cast<uint32_t>(image.width));
  WriteLe32(header + 22, static_cast<uint32_t>(image.height));
  WriteLe16(header + 26, 1);
  WriteLe16(header + 28, indexed ? 8 : 24);
  if (indexed) {
    for (int i = 0; i < 256; ++i) std::memcpy(header + 54 + 4 * i, image.format.palette[i], 3);
  }
  // Bottom row first.
  for (int y = 0; y < image.height; ++y) StoreRow(image, y, pixels + (image.height - 1 - y) * stride);

  int result = -1;
  ReplacingFile* file = OpenReplacingFile(fileName);
  if (file == nullptr) {
    LogWrite("ＢＭＰセーブ用ファイルのオープンに失敗しました\n");
  } else {
    const bool written = WriteReplacingFile(file, header, static_cast<size_t>(54 + paletteSize)) &&
                         WriteReplacingFile(file, pixels, static_cast<size_t>(pixelSize));
    if (written) {
      result = CommitReplacingFile(file);
    } else {
      DiscardReplacingFile(file);
    }
  }
  TrackedFree(pixels);
  TrackedFree(header);
  return result;
}
