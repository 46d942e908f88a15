#include "runtime/graphics/format/DeviceBitmap.h"

#include <cstdlib>
#include <cstring>

#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/format/RowLayout.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"

int GraphImageToDib(const GraphImage& image, DibInfo* info, uint8_t** pixels) {
  DibHeader& h = info->header;
  h = DibHeader{};
  h.size = sizeof(DibHeader);
  h.width = image.width;
  h.height = -image.height;
  h.planes = 1;
  h.bitCount = 24;
  RowLayout rows;
  if (!LayOutRows(image.width, image.height, 3, kPaddedPitch, 4, &rows)) return -1;
  const int32_t stride = rows.pitch;
  const ColorFormat& f = image.format;
  const bool rgb24 = f.depth == 24 && f.redMask == 0xFF0000 && f.greenMask == 0xFF00 && f.blueMask == 0xFF;
  if (rgb24 && image.pitch == stride) {
    *pixels = image.pixels;
    return 0;
  }
  uint8_t* buffer = rows.size > 0
                        ? static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(rows.size), __FILE__, __LINE__))
                        : nullptr;
  if (!buffer) return -1;
  if (rgb24) {
    for (int y = 0; y < image.height; ++y)
      std::memcpy(buffer + y * stride, image.pixels + static_cast<intptr_t>(y) * image.pitch,
                  static_cast<size_t>(image.width) * 3);
  } else {
    ColorFormat rgb;
    std::memset(&rgb, 0, sizeof rgb);
    MakeRgb24ColorFormat(&rgb);
    const IntRect whole{0, 0, image.width, image.height};
    ConvertImagePixels(buffer, stride, rgb, image.pixels, image.pitch, f, nullptr, 0,
                       nullptr, 0, 0, whole, 0, 0, 0, 0, 0, 0, 0);
  }
  *pixels = buffer;
  return 1;
}

HostBitmap* CreateDIBGraph(const DibInfo& info, const uint8_t* pixels) {
  const DibHeader& given = info.header;
  // The header copy the bitmap is described by; the palette rides along for
  // 8 bits and below.
  const size_t headerBytes = sizeof(DibHeader) + (given.bitCount <= 8 ? (size_t{4} << given.bitCount) : 0);
  auto* header = static_cast<DibHeader*>(TrackedAlloc(headerBytes, __FILE__, __LINE__));
  if (!header) {
    LogWrite("メモリの確保に失敗しました in CreateDIBGraph \n");
    return nullptr;
  }
  *header = DibHeader{};
  header->size = sizeof(DibHeader);
  header->width = given.width;
  header->height = given.height < 0 ? given.height : -given.height;
  header->planes = 1;
  header->bitCount = given.bitCount == 8 ? 8 : 24;
  if (given.bitCount == 8) header->compression = given.compression;
  const int64_t rows = -static_cast<int64_t>(header->height);
  HostBitmap* bitmap =
      rows <= INT32_MAX ? HostCreateBitmap(header->width, static_cast<int>(rows), header->bitCount) : nullptr;
  if (!bitmap) {
    TrackedFree(header);
    LogWrite("ＤＩＢの作成に失敗しました3\n");
    return nullptr;
  }
  if (!bitmap->pixels) {
    HostDeleteBitmap(bitmap);
    TrackedFree(header);
    LogWrite("ＤＩＢの作成に失敗しました2\n");
    return nullptr;
  }
  if (header->bitCount == 8) std::memcpy(bitmap->palette, info.palette, sizeof bitmap->palette);
  std::memcpy(bitmap->pixels, pixels, static_cast<size_t>(bitmap->stride) * static_cast<size_t>(rows));
  TrackedFree(header);
  return bitmap;
}
