#include "runtime/graphics/format/GraphImage.h"

#include <cstring>

#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/format/RowLayout.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

int AllocatePixels(GraphImage* image, int width, int height) {
  image->width = width;
  image->height = height;
  image->pitch = 0;
  image->pixels = nullptr;
  // Sizes a 32-bit pitch cannot hold are refused like a failed allocation.
  RowLayout rows;
  if (!LayOutRows(width, height, image->format.bytesPerPixel, kPaddedPitch, 4, &rows)) return -1;
  image->pitch = rows.pitch;
  image->pixels = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(rows.size), __FILE__, __LINE__));
  return image->pixels ? 0 : -1;
}

bool Inside(const GraphImage& image, int x, int y) {
  return static_cast<uint32_t>(x) < static_cast<uint32_t>(image.width) &&
         static_cast<uint32_t>(y) < static_cast<uint32_t>(image.height);
}

uint8_t* PixelAt(const GraphImage& image, int x, int y) {
  return image.pixels + static_cast<intptr_t>(y) * image.pitch + static_cast<intptr_t>(x) * image.format.bytesPerPixel;
}

uint32_t WidenByShift(uint32_t pixel, uint32_t mask, int shift, int width, int to) {
  if (width == 0 || width > 8) return 0;
  return ExtractChannel(pixel, mask, shift) << (8 - width) << to;
}

}  // namespace

uint32_t LoadPixelBytes(const uint8_t* at, int bytesPerPixel) {
  uint32_t pixel = 0;
  for (int i = 0; i < bytesPerPixel && i < 4; ++i) pixel |= static_cast<uint32_t>(at[i]) << (8 * i);
  return pixel;
}

void StorePixelBytes(uint8_t* at, int bytesPerPixel, uint32_t pixel) {
  for (int i = 0; i < bytesPerPixel && i < 4; ++i) at[i] = static_cast<uint8_t>(pixel >> (8 * i));
}

int CreateArgbGraphImage(int width, int height, GraphImage* image) {
  MakeArgb8ColorFormat(&image->format);
  return AllocatePixels(image, width, height);
}

int CreateXrgbGraphImage(int width, int height, GraphImage* image) {
  MakeXrgb8ColorFormat(&image->format);
  return AllocatePixels(image, width, height);
}

int CreateRgb24GraphImage(int width, int height, GraphImage* image) {
  MakeRgb24ColorFormat(&image->format);
  return AllocatePixels(image, width, height);
}

int FreeGraphImage(GraphImage* image) {
  if (image->pixels) TrackedFree(image->pixels);
  std::memset(image, 0, sizeof *image);
  return 0;
}

int FillGraphImage(GraphImage* image, int red, int green, int blue, int alpha) {
  const int bytes = image->format.bytesPerPixel;
  if (bytes < 2 || bytes > 4) return 0;
  const uint32_t pixel = EncodePixel(image->format, red, green, blue, alpha);
  for (int y = 0; y < image->height; ++y) {
    uint8_t* row = PixelAt(*image, 0, y);
    for (int x = 0; x < image->width; ++x) StorePixelBytes(row + x * bytes, bytes, pixel);
  }
  return 0;
}

int SetGraphImagePixel(GraphImage* image, int x, int y, int red, int green, int blue, int alpha) {
  if (!Inside(*image, x, y)) return -1;
  const int bytes = image->format.bytesPerPixel;
  StorePixelBytes(PixelAt(*image, x, y), bytes, EncodePixel(image->format, red, green, blue, alpha));
  return 0;
}

int GetGraphImagePixel(const GraphImage& image, int x, int y, int* red, int* green, int* blue, int* alpha) {
  if (!Inside(image, x, y)) return -1;
  const int bytes = image.format.bytesPerPixel;
  const uint32_t pixel = LoadPixelBytes(PixelAt(image, x, y), bytes);
  if (bytes == 1) {
    const uint8_t* entry = image.format.palette[pixel & 0xFF];
    if (red) *red = entry[2];
    if (green) *green = entry[1];
    if (blue) *blue = entry[0];
    if (alpha) *alpha = entry[3];
    return 0;
  }
  return DecodePixel(image.format, pixel, red, green, blue, alpha);
}

uint32_t GetGraphImagePixelPacked(const GraphImage& image, int x, int y) {
  if (!image.pixels) return 0;
  const ColorFormat& f = image.format;
  const uint32_t pixel = LoadPixelBytes(PixelAt(image, x, y), f.bytesPerPixel);
  uint32_t packed = WidenByShift(pixel, f.redMask, f.redShift, f.redWidth, 16) |
                    WidenByShift(pixel, f.greenMask, f.greenShift, f.greenWidth, 8) |
                    WidenByShift(pixel, f.blueMask, f.blueShift, f.blueWidth, 0);
  if (f.alphaWidth != 0) packed |= WidenByShift(pixel, f.alphaMask, f.alphaShift, f.alphaWidth, 24);
  return packed;
}

int MirrorGraphImage(GraphImage* image) {
  if (image->width == 0 || image->height == 0) return -1;
  const int bytes = image->format.bytesPerPixel;
  for (int y = 0; y < image->height; ++y) {
    for (int i = 0, j = image->width - 1; i < j; ++i, --j) {
      uint8_t* a = PixelAt(*image, i, y);
      uint8_t* b = PixelAt(*image, j, y);
      const uint32_t pa = LoadPixelBytes(a, bytes);
      StorePixelBytes(a, bytes, LoadPixelBytes(b, bytes));
      StorePixelBytes(b, bytes, pa);
    }
  }
  return 0;
}
