#include "runtime/graphics/graphic/ImageRecord.h"

#include "runtime/Movan.h"

#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/Log.h"

namespace {

PointerHandleTable<ImageRecord>& Table() {
  static PointerHandleTable<ImageRecord> table(kHandleImageRecord, kImageRecordCapacity,
                                               "サーフェスのデータ数が許容量を越えました。\n",
                                               "サーフェス用データを保存するメモリ領域の確保に失敗しました\n");
  return table;
}

int MemImgPixelTypeOf(const GraphicFormat& format) { return format.colorDepth == 16 ? MemImgRgb565 : MemImgXrgb8888; }

}  // namespace

int CreateImageRecord(int referenceCount, int width, int height, uint32_t colorKey, const GraphicFormat& format) {
  ImageRecord* record = nullptr;
  const int handle = Table().Create(&record);
  if (handle < 0) return -1;
  record->format = format;
  record->width = static_cast<uint16_t>(width);
  record->height = static_cast<uint16_t>(height);
  record->referenceCount = referenceCount;
  record->colorKey = colorKey;
  GraphicFormat& f = record->format;
  if (f.texture) {
    f.systemMemory = 0;
    if (f.drawable || f.alphaChannel) f.alphaTest = 0;
  } else {
    if (f.alphaChannel || f.blendImage) f.systemMemory = 1;
    f.drawable = 1;
    f.alphaTest = 0;
  }
  int displayDepth = 0;
  GetScreenMetrics(nullptr, nullptr, &displayDepth);
  record->software = f.systemMemory == 1 || (IsSoftwareScreens() && displayDepth != 8) ? 1 : 0;
  if (CreateImageRecordSurface(handle) != 0) {
    DeleteImageRecord(handle);
    return -1;
  }
  SetImageRecordColorKey(handle);
  return handle;
}

int DeleteImageRecord(int handle) {
  if (!GetImageRecord(handle)) return -1;
  ReleaseImageRecordSurface(handle);
  return Table().Delete(handle);
}

ImageRecord* GetImageRecord(int handle) { return Table().Find(handle); }

int AddRefImageRecord(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  return record ? ++record->referenceCount : -1;
}

int ReleaseImageRecord(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  return record ? --record->referenceCount : -1;
}

int CreateImageRecordSurface(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  if (record->surface || IsMemImgValid(&record->image)) return 0;
  // Surfaces and textures of the display need its device, which the
  // software mode does not use.
  if (!record->software) return -1;
  const GraphicFormat& f = record->format;
  int result;
  if (f.blendImage) {
    result = CreateMemImg(&record->image, record->width, record->height, -1, 0, MemImgGrey8, 0, 0, nullptr);
  } else {
    const int type = MemImgPixelTypeOf(f);
    record->pixelFormatIndex = 10 + (f.alphaChannel ? 1 : 0) + (f.colorDepth == 16 ? 0 : 2);
    uint32_t key = 0xFFFF;
    if (!f.paletteImage) {
      const ColorFormat* format = GetMemImgColorFormat(type, f.alphaChannel, 0);
      const uint32_t c = gDrawState.transparentColor;
      key = EncodePixel(*format, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 255);
    }
    result = CreateMemImg(&record->image, record->width, record->height, -1, key, type, f.paletteImage,
                          f.alphaChannel, nullptr);
  }
  if (result < 0) {
    LogWrite("メモリイメージの作成に失敗しました\n");
    record->image = MemImg{};
    return -1;
  }
  return 0;
}

int ReleaseImageRecordSurface(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  if (IsMemImgValid(&record->image)) ReleaseMemImg(&record->image);
  record->image = MemImg{};
  record->surface = nullptr;
  return 0;
}

int SetImageRecordColorKey(int handle) {
  // Memory images carry their key from creation; only surfaces take one here.
  return GetImageRecord(handle) ? 0 : -1;
}

int RestoreImageRecordIfLost(int handle) {
  // Memory images are never lost.
  return GetImageRecord(handle) ? 0 : -1;
}

int LockImageRecord(int handle, int32_t* pitch, uint8_t** pointer, int writeOnly, const IntPoint* point,
                    ColorFormat* format) {
  (void)writeOnly;
  ImageRecord* record = GetImageRecord(handle);
  if (!record || !IsMemImgValid(&record->image)) return -1;
  MemImgStore* store = record->image.store;
  if (format) *format = *store->colorFormat;
  if (record->lockCount > 0) {
    *pitch = record->lockPitch;
    *pointer = record->lockPointer;
    ++record->lockCount;
    return -2;
  }
  int x = 0;
  int y = 0;
  if (point && point->x >= 0 && point->y >= 0 && point->x < record->width && point->y < record->height) {
    x = point->x;
    y = point->y;
  }
  record->lockPitch = store->pitch;
  record->lockPointer = store->pixels + static_cast<size_t>(y) * static_cast<size_t>(store->pitch) +
                        static_cast<size_t>(x) * MemImgBytesPerPixel(store);
  record->lockCount = 1;
  *pitch = record->lockPitch;
  *pointer = record->lockPointer;
  return 0;
}

int UnlockImageRecord(int handle, const IntPoint* point) {
  (void)point;
  ImageRecord* record = GetImageRecord(handle);
  if (!record || record->lockCount <= 0) return -1;
  --record->lockCount;
  return 0;
}

int FillImageRecord(int handle, int red, int green, int blue, int alpha) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record || !IsMemImgValid(&record->image)) return -1;
  const ColorFormat& format = *record->image.store->colorFormat;
  FillMemImg(&record->image, nullptr, EncodePixel(format, red, green, blue, alpha));
  return 0;
}

int GetImageRecordCount() { return Table().LiveCount(); }

void ClearImageRecordTable() {
  Table().ForEach([](int32_t, ImageRecord* record) {
    if (IsMemImgValid(&record->image)) ReleaseMemImg(&record->image);
  });
  Table().DeleteAll();
}
