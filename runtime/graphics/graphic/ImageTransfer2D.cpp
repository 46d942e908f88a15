#include "runtime/graphics/graphic/ImageTransfer2D.h"

#include <algorithm>
#include <cstdint>

#include "runtime/Movan.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/MemImgTransfer.h"

namespace {

// A palette store has no key colour of its own: the first entry that holds
// the transparent colour becomes the key index, 0 when none does.
void ChoosePaletteKey(MemImgStore* store) {
  // Entries are laid out as the pixel type's plain pixels.
  const ColorFormat* format = GetMemImgColorFormat(store->pixelType, 0, 0);
  const uint32_t c = gDrawState.transparentColor;
  const uint32_t wanted = EncodePixel(*format, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 255);
  const bool narrow = store->pixelType == MemImgRgb565;
  const int slot = narrow ? 2 : 4;
  const uint32_t mask = narrow ? 0xFFFFu : 0xFFFFFFu;
  store->colorKey = 0;
  for (int i = 0; i < 256; ++i) {
    if ((LoadPixelBytes(store->palette + slot * i, slot) & mask) == (wanted & mask)) {
      store->colorKey = static_cast<uint32_t>(i);
      return;
    }
  }
}

}  // namespace

int TransferImageToSurface2D(const IntRect& sourceRect, int x, int y, int surface, const GraphImage& image,
                             const GraphImage* alpha) {
  if (!HasScreenDevice()) return -1;
  const Surface2D* s = GetSurface2D(surface);
  if (!s) return -1;
  ImageRecord* record = GetImageRecord(s->imageRecord);
  if (!record) return -1;
  // A surface of the display: its part locked as a memory image, which
  // the part starts at.
  Surface2DImage part(record->surface ? s : nullptr, false);
  if (record->surface && !part.Get()) return -1;
  if (!record->surface && !IsMemImgValid(&record->image)) return -1;
  MemImg* target = record->surface ? part.Get() : &record->image;
  const int partX = record->surface ? 0 : s->sourceX;
  const int partY = record->surface ? 0 : s->sourceY;
  if (alpha && (alpha->width != image.width || alpha->height != image.height)) alpha = nullptr;

  // Cut the rectangle to the image (a file replaced by a smaller one, a
  // source position beyond it) and to the part inside its record.
  int64_t left = sourceRect.left;
  int64_t top = sourceRect.top;
  int64_t right = std::min<int64_t>(sourceRect.right, image.width);
  int64_t bottom = std::min<int64_t>(sourceRect.bottom, image.height);
  int64_t dx = x;
  int64_t dy = y;
  if (left < 0) dx -= left, left = 0;
  if (top < 0) dy -= top, top = 0;
  if (dx < 0) left -= dx, dx = 0;
  if (dy < 0) top -= dy, dy = 0;
  const int64_t partWidth = std::min<int64_t>(s->width, int64_t{target->width} - partX);
  const int64_t partHeight = std::min<int64_t>(s->height, int64_t{target->height} - partY);
  right = std::min(right, left + partWidth - dx);
  bottom = std::min(bottom, top + partHeight - dy);
  // The key only marks pixels in stores that carry alpha; elsewhere the
  // keyed conversion writes the same pixels, slower.
  const int keyFlag = target->store->alphaFlag || target->store->paletteFlag ? 1 : 0;
  if (right > left && bottom > top) {
    if (TransferGraphImageToMemImg(image, alpha, target, static_cast<int>(left), static_cast<int>(top),
                                   static_cast<int>(right - left), static_cast<int>(bottom - top),
                                   static_cast<int>(dx + partX), static_cast<int>(dy + partY),
                                   keyFlag) < 0) {
      return -1;
    }
  }
  if (target->store->paletteFlag && target->store->palette) ChoosePaletteKey(target->store);
  return SetImageRecordColorKey(s->imageRecord);
}

int TransferImageToPart2D(int x, int y, int surface, const GraphImage& image, const GraphImage* alpha) {
  const Surface2D* s = GetSurface2D(surface);
  if (!s) return -1;
  const IntRect source = {x, y, static_cast<int>(std::min<int64_t>(int64_t{x} + s->width, INT32_MAX)),
                          static_cast<int>(std::min<int64_t>(int64_t{y} + s->height, INT32_MAX))};
  return TransferImageToSurface2D(source, 0, 0, surface, image, alpha);
}

int TransferImageToGraphic2D(int x, int y, const GraphicEntry* graphic, const GraphImage& image,
                             const GraphImage* alpha) {
  if (!HasScreenDevice()) return -1;
  for (int i = 0; i < graphic->partCount; ++i) {
    const Surface2D* s = GetSurface2D(graphic->parts[i]);
    if (!s) return -1;
    const int64_t px = int64_t{x} + s->partX;
    const int64_t py = int64_t{y} + s->partY;
    if (px > INT32_MAX || py > INT32_MAX) continue;
    if (TransferImageToPart2D(static_cast<int>(px), static_cast<int>(py), graphic->parts[i], image, alpha) < 0) {
      return -1;
    }
  }
  return 0;
}

int TransferImageRectToGraphic2D(const IntRect& sourceRect, int x, int y, const GraphicEntry* graphic,
                                 const GraphImage& image, const GraphImage* alpha) {
  if (!HasScreenDevice()) return -1;
  const int64_t width = int64_t{sourceRect.right} - sourceRect.left;
  const int64_t height = int64_t{sourceRect.bottom} - sourceRect.top;
  if (width <= 0 || height <= 0) return 0;
  for (int i = 0; i < graphic->partCount; ++i) {
    const Surface2D* s = GetSurface2D(graphic->parts[i]);
    if (!s) return -1;
    PieceCut cut;
    if (!CutAreaToPiece(sourceRect, x, y, s->partX, s->partY, s->width, s->height, &cut)) continue;
    if (TransferImageToSurface2D(cut.source, cut.x, cut.y, graphic->parts[i], image, alpha) < 0) {
      return -1;
    }
  }
  return 0;
}
