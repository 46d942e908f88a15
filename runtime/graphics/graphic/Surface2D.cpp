#include "runtime/graphics/graphic/Surface2D.h"

#include "runtime/Movan.h"

#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/Log.h"

namespace {

PointerHandleTable<Surface2D>& Table() {
  static PointerHandleTable<Surface2D> table(kHandleSurface2D, kSurface2DCapacity,
                                             "２Ｄグラフィックの量が許容量を越えました\n",
                                             "メモリの確保に失敗しました in AddSurface2D \n");
  return table;
}

}  // namespace

int AddSurface2D(int width, int height, int partX, int partY, int owner, int shareSurface, int sourceX,
                 int sourceY, const GraphicFormat& format) {
  if (!HasScreenDevice()) return LogWrite("Ｍｏｖａｎライブラリが初期化されていません\n");
  int record = -1;
  if (shareSurface >= 0) {
    const Surface2D* shared = GetSurface2D(shareSurface);
    if (!shared || AddRefImageRecord(shared->imageRecord) < 0) {
      return LogWrite("メモリの確保に失敗しました in AddSurface2D \n");
    }
    record = shared->imageRecord;
  }
  Surface2D* surface = nullptr;
  const int handle = Table().Create(&surface);
  if (handle < 0) {
    if (record >= 0) ReleaseImageRecord(record);
    return -1;
  }
  if (record < 0) {
    record = CreateImageRecord(1, width, height, gDrawState.transparentColor, format);
    if (record < 0) {
      Table().Delete(handle);
      return LogWrite("メモリの確保に失敗しました in AddSurface2D \n");
    }
  }
  surface->partX = static_cast<uint16_t>(partX);
  surface->partY = static_cast<uint16_t>(partY);
  surface->sourceX = static_cast<uint16_t>(sourceX);
  surface->sourceY = static_cast<uint16_t>(sourceY);
  surface->width = static_cast<uint16_t>(width);
  surface->height = static_cast<uint16_t>(height);
  surface->owner = owner;
  surface->imageRecord = record;
  return handle;
}

int DeleteSurface2D(int handle) {
  Surface2D* surface = GetSurface2D(handle);
  if (!surface) return 0;
  if (ReleaseImageRecord(surface->imageRecord) == 0) DeleteImageRecord(surface->imageRecord);
  if (surface->deletedNotify) *surface->deletedNotify = 1;
  Table().Delete(handle);
  return 0;
}

int DeleteAllSurface2D() {
  if (!HasScreenDevice()) return -1;
  Table().ForEach([](int32_t handle, Surface2D*) { DeleteSurface2D(handle); });
  return 0;
}

Surface2D* GetSurface2D(int handle) { return Table().Find(handle); }

int SetSurface2DDeleteNotify(int handle, int* notify) {
  Surface2D* surface = GetSurface2D(handle);
  if (!surface) return -1;
  surface->deletedNotify = notify;
  if (notify) *notify = 0;
  return 0;
}

int GetSurface2DCount() { return Table().LiveCount(); }

void ForEachSurface2D(void (*f)(int handle, Surface2D* surface, void* context), void* context) {
  Table().ForEach([&](int32_t handle, Surface2D* surface) { f(handle, surface, context); });
}

int CreateGraphicSurface2D(GraphicEntry* graphic) {
  const int handle = AddSurface2D(graphic->width, graphic->height, 0, 0, graphic->handle, -1, 0, 0, graphic->format);
  if (handle < 0) return -1;
  graphic->parts[0] = handle;
  graphic->partCount = 1;
  return 0;
}

int DeriveGraphicSurface2D(GraphicEntry* graphic, int x, int y, int width, int height, const GraphicEntry* parent) {
  const Surface2D* parentSurface = GetSurface2D(parent->parts[0]);
  if (!parentSurface) return -1;
  // The part's place in the record: the parent's own place plus the offset.
  const int handle = AddSurface2D(width, height, 0, 0, graphic->handle, parent->parts[0], parentSurface->sourceX + x,
                                  parentSurface->sourceY + y, graphic->format);
  if (handle < 0) return -1;
  graphic->parts[0] = handle;
  graphic->partCount = 1;
  return 0;
}

int DeleteGraphicParts2D(GraphicEntry* graphic) {
  if (!HasScreenDevice()) return -1;
  for (int i = 0; i < graphic->partCount && i < kGraphicPartCapacity; ++i) DeleteSurface2D(graphic->parts[i]);
  graphic->partCount = 0;
  return 0;
}

int FillGraphic2D(GraphicEntry* graphic, int red, int green, int blue, int alpha) {
  if (!HasScreenDevice()) return -1;
  for (int i = 0; i < graphic->partCount && i < kGraphicPartCapacity; ++i) {
    const Surface2D* surface = GetSurface2D(graphic->parts[i]);
    if (!surface) return -1;
    // A derived graphic fills its own rectangle of the shared record.
    Surface2DImage image(surface, false);
    if (MemImg* m = image.Get()) FillMemImg(m, nullptr, EncodePixel(*m->store->colorFormat, red, green, blue, alpha));
  }
  return 0;
}

Surface2DImage::Surface2DImage(const Surface2D* surface, bool readOnly) {
  ImageRecord* record = surface ? GetImageRecord(surface->imageRecord) : nullptr;
  if (record && record->surface) {
    // A surface of the display: its part locked, in the memory image of the
    // drawing depth, with the record's key in that format.
    const IntRect part = {surface->sourceX, surface->sourceY, surface->sourceX + surface->width,
                          surface->sourceY + surface->height};
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;
    if (LockImageRecordRect(surface->imageRecord, part, readOnly ? 2 : 0, &pitch, &pixels, nullptr) < 0) return;
    lockedRecord_ = surface->imageRecord;
    const int type = GetScreenDepth() == 16 ? MemImgRgb565 : MemImgXrgb8888;
    const uint32_t c = record->colorKey;
    const uint32_t key = EncodePixel(*GetMemImgColorFormat(type, 0, 0), (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 255);
    if (CreateMemImg(&view_, surface->width, surface->height, pitch, key, type, 0, 0, pixels) >= 0) image_ = &view_;
    return;
  }
  if (!record || !IsMemImgValid(&record->image)) return;
  MemImg* image = &record->image;
  if (surface->sourceX == 0 && surface->sourceY == 0 && surface->width == image->width &&
      surface->height == image->height) {
    image_ = image;
    return;
  }
  MakeMemImgView(&view_, image, surface->sourceX, surface->sourceY, surface->width, surface->height);
  if (IsMemImgValid(&view_)) image_ = &view_;
}

Surface2DImage::~Surface2DImage() {
  if (IsMemImgValid(&view_)) ReleaseMemImg(&view_);
  if (lockedRecord_ >= 0) UnlockImageRecord(lockedRecord_, nullptr);
}
