#include "runtime/graphics/graphic/ImageRecord.h"

#include "runtime/Movan.h"

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/device3d/Device3D.h"
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

namespace {

int CreateTexture(ImageRecord* record) {
  const GraphicFormat& f = record->format;
  record->pixelFormatIndex = TextureFormatIndex(f);
  HostSurfaceDesc desc;
  desc.width = record->width;
  desc.height = record->height;
  desc.caps = kHostSurfaceTexture | (f.drawable ? kHostSurface3DDevice : 0) |
              (f.drawable || f.unmanagedTexture ? 0 : kHostSurfaceManaged);
  desc.hasFormat = true;
  desc.format = ToHostPixelFormat(GetTexturePixelFormat(record->pixelFormatIndex));
  record->surface = HostSurfaceCreate(desc, nullptr);
  if (!record->surface) {
    LogWrite("テクスチャサーフェスの作成に失敗しました\n");
    return LogFormat("DrawValid:%d  AlphaChFlag%d  AlphaTestFlag:%d  ColorBitDepth:%d", f.drawable, f.alphaChannel,
                     f.alphaTest, f.colorDepth);
  }
  HostSurfaceColorFill(record->surface, nullptr, 0);
  return 0;
}

int CreateSurface2D(ImageRecord* record) {
  GraphicFormat& f = record->format;
  record->pixelFormatIndex = 9;
  int screenWidth = 0;
  GetScreenSize(&screenWidth, nullptr);
  HostSurfaceDesc desc;
  desc.width = record->width;
  desc.height = record->height;
  const bool system = f.systemMemory == 1 || record->width > screenWidth || IsSoftwareScreens();
  desc.caps = kHostSurfaceOffscreen | (system ? kHostSurfaceSystemMemory : kHostSurfaceVideoMemory | kHostSurface3DDevice);
  record->surface = HostSurfaceCreate(desc, nullptr);
  if (!record->surface && !system) {
    desc.caps = kHostSurfaceOffscreen | kHostSurfaceSystemMemory;
    record->surface = HostSurfaceCreate(desc, nullptr);
  }
  if (!record->surface) return LogWrite("標準サーフェスの作成に失敗しました\n");
  if (!(HostSurfaceCaps(record->surface) & kHostSurfaceVideoMemory)) f.systemMemory = 1;
  f.drawable = 1;
  return 0;
}

}  // namespace

ColorFormat ImageRecordColorFormat(const ImageRecord& record) {
  if (IsMemImgValid(&record.image)) return *record.image.store->colorFormat;
  if (record.format.texture) return GetTextureColorFormatByIndex(record.pixelFormatIndex);
  return *GetScreenColorFormat();
}

int CreateImageRecordSurface(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  if (record->surface || IsMemImgValid(&record->image)) return 0;
  const GraphicFormat& f = record->format;
  if (!record->software) {
    // Surfaces and textures belong to the display, which must be there.
    if (!gScreen.displayObject || !HostDisplayObjectExists()) return -1;
    return f.texture ? CreateTexture(record) : CreateSurface2D(record);
  }
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
  if (record->surface) {
    ForgetSurface3D(record->surface);
    HostSurfaceRelease(record->surface);
  }
  record->surface = nullptr;
  record->lockCount = 0;
  return 0;
}

int SetImageRecordColorKey(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  // Memory images carry their key from creation; only surfaces take one here.
  if (!record->surface) return 0;
  const uint32_t c = record->colorKey;
  uint32_t key;
  if (record->format.texture) {
    const ColorFormat format = GetTextureColorFormatByIndex(record->pixelFormatIndex);
    key = EncodePixel(format, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 255) | format.alphaMask | format.unusedMask;
  } else {
    key = record->format.colorDepth == 8 ? 0 : PackColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
  }
  if (HostSurfaceSetColorKey(record->surface, key) != kHostOk) {
    return LogWrite(record->format.texture ? "テクスチャサーフェスのカラーキーの設定に失敗しました\n"
                                           : "標準サーフェスのカラーキーの設定に失敗しました\n");
  }
  return 0;
}

int RestoreImageRecordIfLost(int handle) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  // Memory images are never lost.
  if (!record->surface || HostSurfaceIsLost(record->surface) == kHostOk) return 0;
  HostSurfaceRestore(record->surface);
  SetImageRecordColorKey(handle);
  return -1;
}

namespace {

int LockRecord(ImageRecord* record, const IntRect* rect, int writeOnly, int32_t* pitch, uint8_t** pointer,
               ColorFormat* format) {
  if (format) *format = ImageRecordColorFormat(*record);
  if (record->lockCount > 0) {
    *pitch = record->lockPitch;
    *pointer = record->lockPointer;
    ++record->lockCount;
    return -2;
  }
  if (record->surface) {
    const HostRect r = rect ? HostRect{rect->left, rect->top, rect->right, rect->bottom}
                            : HostRect{0, 0, record->width, record->height};
    int surfacePitch = 0;
    const uint32_t flags = writeOnly == 1 ? kHostLockWriteOnly : writeOnly == 2 ? kHostLockReadOnly : 0;
    if (HostSurfaceLock(record->surface, &r, flags, &record->lockPointer,
                        &surfacePitch) != kHostOk) {
      return LogWrite("グラフィックのロックに失敗しました\n");
    }
    record->lockPitch = surfacePitch;
  } else {
    if (!IsMemImgValid(&record->image)) return -1;
    MemImgStore* store = record->image.store;
    const int x = rect ? rect->left : 0;
    const int y = rect ? rect->top : 0;
    record->lockPitch = store->pitch;
    record->lockPointer = store->pixels + static_cast<size_t>(y) * static_cast<size_t>(store->pitch) +
                          static_cast<size_t>(x) * MemImgBytesPerPixel(store);
  }
  record->lockCount = 1;
  *pitch = record->lockPitch;
  *pointer = record->lockPointer;
  return 0;
}

}  // namespace

int LockImageRecord(int handle, int32_t* pitch, uint8_t** pointer, int writeOnly, const IntPoint* point,
                    ColorFormat* format) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  IntRect rect = {0, 0, record->width, record->height};
  if (point && point->x >= 0 && point->y >= 0 && point->x < record->width && point->y < record->height) {
    rect.left = point->x;
    rect.top = point->y;
  }
  return LockRecord(record, &rect, writeOnly, pitch, pointer, format);
}

int LockImageRecordRect(int handle, const IntRect& rect, int access, int32_t* pitch, uint8_t** pointer,
                        ColorFormat* format) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record || rect.left < 0 || rect.top < 0 || rect.right > record->width || rect.bottom > record->height ||
      rect.left >= rect.right || rect.top >= rect.bottom) {
    return -1;
  }
  return LockRecord(record, &rect, access, pitch, pointer, format);
}

int UnlockImageRecord(int handle, const IntPoint* point) {
  (void)point;
  ImageRecord* record = GetImageRecord(handle);
  if (!record || record->lockCount <= 0) return -1;
  if (--record->lockCount == 0 && record->surface) HostSurfaceUnlock(record->surface);
  return 0;
}

int FillImageRecord(int handle, int red, int green, int blue, int alpha) {
  ImageRecord* record = GetImageRecord(handle);
  if (!record) return -1;
  const ColorFormat format = ImageRecordColorFormat(*record);
  const uint32_t value = EncodePixel(format, red, green, blue, alpha);
  if (record->surface) return HostSurfaceColorFill(record->surface, nullptr, value) == kHostOk ? 0 : -1;
  if (!IsMemImgValid(&record->image)) return -1;
  FillMemImg(&record->image, nullptr, value);
  return 0;
}

int GetImageRecordCount() { return Table().LiveCount(); }

void ClearImageRecordTable() {
  Table().ForEach([](int32_t, ImageRecord* record) {
    if (IsMemImgValid(&record->image)) ReleaseMemImg(&record->image);
    if (record->surface) {
      ForgetSurface3D(record->surface);
      HostSurfaceRelease(record->surface);
    }
  });
  Table().DeleteAll();
}
