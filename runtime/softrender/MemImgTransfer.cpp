#include "runtime/softrender/MemImgTransfer.h"

#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/format/PixelCodec.h"

namespace {

bool IsSingleChannel(const MemImgStore* store) {
  return store->pixelType == MemImgGrey8 || store->pixelType == MemImgDepth16;
}

const ColorFormat& Xrgb8Format() { return *GetMemImgColorFormat(MemImgXrgb8888, 0, 0); }

// The store's key as the 0x00RRGGBB colour the conversion compares: a 16-bit
// key's fields keep their high bits when widened.
uint32_t KeyColorOf(const MemImgStore* store) {
  return ConvertPixel(Xrgb8Format(), *store->colorFormat, store->colorKey) & 0xFFFFFF;
}

// A palette store's format lays out its entries: 16-bit R5G6B5 words or
// 0x00RRGGBB words.
void ConvertPalette(const GraphImage& image, MemImgStore* store) {
  const int slot = store->pixelType == MemImgRgb565 ? 2 : 4;
  for (int i = 0; i < 256; ++i) {
    const uint32_t colour = LoadPixelBytes(image.format.palette[i], 4);
    StorePixelBytes(store->palette + slot * i, slot, ConvertPixel(*store->colorFormat, Xrgb8Format(), colour));
  }
}

}  // namespace

int TransferGraphImageToMemImg(const GraphImage& image, const GraphImage* alpha, MemImg* destination, int sourceX,
                               int sourceY, int width, int height, int destinationX, int destinationY,
                               int keyFlag) {
  MemImgStore* store = destination->store;
  const IntRect rect{sourceX, sourceY, sourceX + width, sourceY + height};
  if (IsSingleChannel(store)) {
    ConvertImagePixels(destination->pixels, store->pitch, *store->colorFormat, image.pixels, image.pitch,
                       image.format, nullptr, 0, nullptr, destinationX, destinationY, rect, 0, 0, 0, 1, 1, 0, 0);
    return 0;
  }
  const int result = ConvertImagePixels(
      destination->pixels, store->pitch, *store->colorFormat, image.pixels, image.pitch, image.format,
      alpha ? alpha->pixels : nullptr, alpha ? alpha->pitch : 0, alpha ? &alpha->format : nullptr, destinationX,
      destinationY, rect, 0, keyFlag, KeyColorOf(store), 0, 0, 0, 0);
  if (result < 0) return result;
  if (store->paletteFlag) {
    if (!alpha) store->paletteColorCount = result + 1;
    ConvertPalette(image, store);
  }
  return 0;
}

void TransferMemImgToGraphImage(GraphImage* image, const MemImg* source, int sourceX, int sourceY, int width,
                                int height, int destinationX, int destinationY, uint32_t key, int skipKey) {
  const MemImgStore* store = source->store;
  if (IsSingleChannel(store) || store->paletteFlag || store->alphaFlag) return;
  const IntRect rect{sourceX, sourceY, sourceX + width, sourceY + height};
  ConvertImagePixels(image->pixels, image->pitch, image->format, source->pixels, store->pitch,
                     *store->colorFormat, nullptr, 0, nullptr, destinationX, destinationY, rect, 0, 0, key, 0, 0,
                     skipKey, 0);
}

int CopyMemImgRect(MemImg* destination, const MemImg* source, const IntRect* sourceRect, int x, int y) {
  const IntRect rect = sourceRect ? *sourceRect : IntRect{0, 0, source->width, source->height};
  const MemImgStore* d = destination->store;
  const MemImgStore* s = source->store;
  return ConvertImagePixels(destination->pixels, d->pitch, *d->colorFormat, source->pixels, s->pitch,
                            *s->colorFormat, nullptr, 0, nullptr, x, y, rect, 0, 0, 0, 0, 0, 0, 0);
}
