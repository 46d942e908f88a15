// Pixels into texture tiles: image loading and restore, rectangle updates
// (glyph caches) and movie frames.

#include <algorithm>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/MovieGraphic.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/movies/TheoraDecoder.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/LayerLifeCycle.h"

namespace {

int GraphicOf(void* userData) { return static_cast<int>(reinterpret_cast<intptr_t>(userData)); }

// The temporary texture of an upload into a texture that cannot be locked.
int UploadThroughTemporary(ImageRecord* record, const IntRect& destination, const GraphImage& image,
                           const GraphImage* alpha, const IntRect& source, int keyToAlpha, int alphaFromRed) {
  HostSurfaceDesc desc;
  desc.width = record->width;
  desc.height = record->height;
  desc.caps = kHostSurfaceTexture | kHostSurfaceSystemMemory;
  desc.hasFormat = true;
  desc.format = HostSurfaceFormat(record->surface);
  HostSurface* temporary = HostSurfaceCreate(desc, nullptr);
  if (!temporary) FatalErrorExit("テンポラリテクスチャサーフェスの作成に失敗しました");
  uint8_t* pixels = nullptr;
  int pitch = 0;
  HostSurfaceLock(temporary, nullptr, kHostLockWriteOnly, &pixels, &pitch);
  const ColorFormat format = ImageRecordColorFormat(*record);
  ConvertImagePixels(pixels, pitch, format, image.pixels, image.pitch, image.format, alpha ? alpha->pixels : nullptr,
                     alpha ? alpha->pitch : 0, alpha ? &alpha->format : nullptr, destination.left, destination.top,
                     source, 0, keyToAlpha, gDrawState.transparentColor, 0, alphaFromRed, 0, 0);
  HostSurfaceUnlock(temporary);
  const HostRect rect = {destination.left, destination.top, destination.right, destination.bottom};
  const int loaded = HostDevice3DLoad(GetDirect3DDevice(), record->surface, rect.left, rect.top, temporary, &rect);
  HostSurfaceRelease(temporary);
  if (loaded != kHostOk) FatalErrorExit("作業用テクスチャサーフェスから描画用テクスチャサーフェスへの画像転送に失敗しました");
  return 0;
}

}  // namespace

int UploadToSurface3DData(const GraphImage& image, const GraphImage* alpha, const IntRect& sourceRect, int x, int y,
                          int tileHandle, const UploadOptions& options) {
  if (!gD3D.object) return -1;
  FlushVertexBatch();
  const Surface3DData* tile = GetSurface3DData(tileHandle);
  ImageRecord* record = tile ? GetImageRecord(tile->imageRecord) : nullptr;
  if (!record) return -1;
  if (alpha && (alpha->width != image.width || alpha->height != image.height)) alpha = nullptr;
  // Cut the rectangle to the image (a file replaced by a smaller one) and
  // to the tile's own pixels of its texture.
  int64_t left = sourceRect.left;
  int64_t top = sourceRect.top;
  int64_t right = std::min<int64_t>(sourceRect.right, image.width);
  int64_t bottom = std::min<int64_t>(sourceRect.bottom, image.height);
  int64_t dx = x;
  int64_t dy = y;
  if (left < 0) dx -= left, left = 0;
  if (top < 0) dy -= top, top = 0;
  const int64_t tileLeft = tile->textureX;
  const int64_t tileTop = tile->textureY;
  if (dx < tileLeft) left += tileLeft - dx, dx = tileLeft;
  if (dy < tileTop) top += tileTop - dy, dy = tileTop;
  right = std::min(right, left + (tileLeft + tile->width - dx));
  bottom = std::min(bottom, top + (tileTop + tile->height - dy));
  right = std::min(right, left + (record->width - dx));
  bottom = std::min(bottom, top + (record->height - dy));
  if (right <= left || bottom <= top) return SetImageRecordColorKey(tile->imageRecord);
  // A texture lost with the display comes back before it is written.
  RestoreImageRecordIfLost(tile->imageRecord);
  if (!record->surface && CreateImageRecordSurface(tile->imageRecord) != 0) return -1;
  const IntRect source = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                          static_cast<int>(bottom)};
  const IntRect destination = {static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(dx + (right - left)),
                               static_cast<int>(dy + (bottom - top))};
  const ColorFormat format = ImageRecordColorFormat(*record);
  const int keyToAlpha = options.transparent && format.alphaWidth != 0 && !alpha && image.format.alphaWidth == 0;
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  if (LockImageRecordRect(tile->imageRecord, destination, 1, &pitch, &pixels, nullptr) >= 0) {
    ConvertImagePixels(pixels, pitch, format, image.pixels, image.pitch, image.format, alpha ? alpha->pixels : nullptr,
                       alpha ? alpha->pitch : 0, alpha ? &alpha->format : nullptr, 0, 0, source, 0, keyToAlpha,
                       gDrawState.transparentColor, 0, options.alphaFromRed, 0, 0);
    UnlockImageRecord(tile->imageRecord, nullptr);
  } else {
    UploadThroughTemporary(record, destination, image, alpha, source, keyToAlpha, options.alphaFromRed);
  }
  return SetImageRecordColorKey(tile->imageRecord);
}

int UploadImageToGraphic3D(const GraphImage& image, const GraphImage* alpha, int sourceX, int sourceY,
                           const GraphicEntry* g, const UploadOptions& options) {
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(g->parts[i]);
    if (!tile) return -1;
    const IntRect source = {static_cast<int>(std::min<int64_t>(int64_t{sourceX} + tile->x, INT32_MAX)),
                            static_cast<int>(std::min<int64_t>(int64_t{sourceY} + tile->y, INT32_MAX)),
                            static_cast<int>(std::min<int64_t>(int64_t{sourceX} + tile->x + tile->width, INT32_MAX)),
                            static_cast<int>(std::min<int64_t>(int64_t{sourceY} + tile->y + tile->height, INT32_MAX))};
    if (UploadToSurface3DData(image, alpha, source, tile->textureX, tile->textureY, g->parts[i], options) < 0) {
      return -1;
    }
  }
  return 0;
}

int UploadImageRectToGraphic3D(const GraphImage& image, const GraphImage* alpha, const IntRect& sourceRect, int x,
                               int y, const GraphicEntry* g, const UploadOptions& options) {
  const int64_t width = int64_t{sourceRect.right} - sourceRect.left;
  const int64_t height = int64_t{sourceRect.bottom} - sourceRect.top;
  if (width <= 0 || height <= 0) return 0;
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(g->parts[i]);
    if (!tile) return -1;
    PieceCut cut;
    if (!CutAreaToPiece(sourceRect, x, y, tile->x, tile->y, tile->width, tile->height, &cut)) continue;
    if (UploadToSurface3DData(image, alpha, cut.source, cut.x + tile->textureX, cut.y + tile->textureY, g->parts[i],
                              options) < 0) {
      return -1;
    }
  }
  return 0;
}

int UpdateMovieTexture3D(MovieRecord* movie, void* userData) {
  const GraphicEntry* g = GetGraphicRecord(GraphicOf(userData));
  if (!g) return 0;
  if (!g->format.texture) return UpdateMovieSurface2D(movie, userData);
  // Frames come from memory: Theora movies hand out a converted frame only
  // when there is a new one (or the first is still owed).
  if (movie->theora && !GetTheoraFrame(movie->decoder, 1, 0) && !movie->frameOwed) return 0;
  const GraphImage* frame = movie->frame;
  if (!frame || !frame->pixels) return 0;
  movie->frameOwed = 0;
  const UploadOptions options = {1, 0};
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(g->parts[i]);
    if (!tile) continue;
    const IntRect source = {tile->sourceX, tile->sourceY, tile->sourceX + tile->width, tile->sourceY + tile->height};
    UploadToSurface3DData(*frame, nullptr, source, tile->textureX, tile->textureY, g->parts[i], options);
  }
  return 0;
}
