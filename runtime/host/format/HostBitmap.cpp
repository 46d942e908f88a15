#include "runtime/host/format/HostBitmap.h"

#include <cstdlib>
#include <new>

HostBitmap* HostCreateBitmap(int width, int height, int bitsPerPixel) {
  if (width < 0 || height < 0 || (bitsPerPixel != 8 && bitsPerPixel != 24)) return nullptr;
  const int64_t stride = ((static_cast<int64_t>(width) * bitsPerPixel + 31) / 32) * 4;
  const int64_t size = stride * height;
  if (size > INT32_MAX) return nullptr;
  HostBitmap* bitmap = new (std::nothrow) HostBitmap{};
  if (!bitmap) return nullptr;
  bitmap->width = width;
  bitmap->height = height;
  bitmap->bitsPerPixel = bitsPerPixel;
  bitmap->stride = static_cast<int32_t>(stride);
  if (size > 0) {
    bitmap->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
    if (!bitmap->pixels) {
      delete bitmap;
      return nullptr;
    }
  }
  return bitmap;
}

void HostDeleteBitmap(HostBitmap* bitmap) {
  if (!bitmap) return;
  std::free(bitmap->pixels);
  delete bitmap;
}
