#include "runtime/graphics/graphic/ScreenCapture.h"

#include <cstring>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/screen/SurfaceCopy.h"
#include "runtime/graphics/state/UnusedBits.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/imagefile/ImageWriters.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/softrender/MemImgTransfer.h"

namespace {

MemImg* DrawImage() {
  MemImg* image = gScreen.drawImage;
  return image && IsMemImgValid(image) ? image : nullptr;
}

// The front image of software mode lags the window after a present.
void CatchUpFront() {
  if (IsSoftFrontTarget() && gScreen.presented) CaptureFrontToSoftScreen();
}

uint32_t AllUnusedBits(const ColorFormat& format) { return LowBitMask(format.unusedWidth); }

// The front screen's rectangle lies where the window's client area is.
IntRect FrontOffset() {
  IntRect front = {0, 0, 0, 0};
  if (gDrawState.drawTarget == -4) GetFrontClientRect(&front);
  return IntRect{front.left, front.top, front.left, front.top};
}

// DirectDraw mode: the rectangle of the draw target into the part, between
// surfaces, memory images or both.
int CaptureOnDisplay(const IntRect& rect, const Surface2D* part) {
  ImageRecord* record = GetImageRecord(part->imageRecord);
  if (!record) return -1;
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  const IntRect offset = FrontOffset();
  const HostRect moved = {rect.left + offset.left, rect.top + offset.top, rect.right + offset.left,
                          rect.bottom + offset.top};
  const IntRect partRect = {part->sourceX, part->sourceY, part->sourceX + w, part->sourceY + h};
  const ColorFormat& screen = *GetScreenColorFormat();
  HostSurface* source = gScreen.drawSurface;
  if (source && record->surface) {
    const HostRect into = {partRect.left, partRect.top, partRect.right, partRect.bottom};
    HostSurfaceBlt(record->surface, &into, source, &moved, 0);
    if (screen.unusedMask != 0) {
      int32_t pitch = 0;
      uint8_t* pixels = nullptr;
      if (LockImageRecordRect(part->imageRecord, partRect, 0, &pitch, &pixels, nullptr) < 0) return -1;
      SetUnusedBitsInRect(IntRect{0, 0, w, h}, pixels, pitch, screen, AllUnusedBits(screen));
      UnlockImageRecord(part->imageRecord, nullptr);
    }
    return 0;
  }
  Surface2DImage destination(part, false);
  MemImg* target = destination.Get();
  if (!target) return -1;
  if (!source) {
    // A software target into a part on the display.
    const MemImg* image = DrawImage();
    if (!image) return -1;
    ConvertImagePixels(target->pixels, target->store->pitch, *target->store->colorFormat, image->pixels,
                       image->store->pitch, *image->store->colorFormat, nullptr, 0, nullptr, 0, 0, rect, 0, 0, 0, 0, 0,
                       0, 0);
    SetUnusedBitsInRect(IntRect{0, 0, w, h}, target->pixels, target->store->pitch, *target->store->colorFormat,
                        AllUnusedBits(*target->store->colorFormat));
    return 0;
  }
  // The display into a memory image: through the work surface.
  const HostRect work = {0, 0, w, h};
  if (CopySurfaceRect(gScreen.work1, source, 0, 0, moved, -1) != 0) return -1;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (HostSurfaceLock(gScreen.work1, &work, kHostLockReadOnly, &pixels, &pitch) != kHostOk) return -1;
  ConvertImagePixels(target->pixels, target->store->pitch, *target->store->colorFormat, pixels, pitch, screen, nullptr,
                     0, nullptr, 0, 0, IntRect{0, 0, w, h}, 0, 0, 0, 0, 0, 0, 0);
  SetUnusedBitsInRect(IntRect{0, 0, w, h}, target->pixels, target->store->pitch, *target->store->colorFormat,
                      AllUnusedBits(*target->store->colorFormat));
  HostSurfaceUnlock(gScreen.work1);
  return 0;
}

}  // namespace

int CaptureToGraphic2D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic) {
  if (!HasScreenDevice() || !graphic) return -1;
  const int64_t w = int64_t{x2} - x1;
  const int64_t h = int64_t{y2} - y1;
  if (w <= 0 || h <= 0 || w != graphic->width || h != graphic->height) return -1;
  if (x1 < 0 || y1 < 0 || x2 > gDrawState.targetWidth || y2 > gDrawState.targetHeight) return -1;
  if (graphic->partCount < 1) return -1;
  if (!gScreen.softwareScreens) {
    const Surface2D* surface = GetSurface2D(graphic->parts[0]);
    if (!surface) return -1;
    FlushVertexBatch();
    EndScene3D();
    const ImageRecord* record = GetImageRecord(surface->imageRecord);
    if (!record) return -1;
    if (!DrawImage() || record->surface) {
      return CaptureOnDisplay(IntRect{x1, y1, x2, y2}, surface);
    }
  }
  // The graphic's own part: a derived graphic's rectangle, not its parent's
  // corner.
  Surface2DImage part(GetSurface2D(graphic->parts[0]));
  MemImg* destination = part.Get();
  if (!destination) return -1;
  CatchUpFront();
  const MemImg* source = DrawImage();
  if (!source || x2 > source->width || y2 > source->height) return -1;
  const IntRect rect = {x1, y1, x2, y2};
  return CopyMemImgRect(destination, source, &rect, 0, 0) < 0 ? -1 : 0;
}

int SaveScreenImage(int x1, int y1, int x2, int y2, const char* fileName, int type, int quality,
                    int compressionLevel) {
  if (!HasScreenDevice()) return -1;
  WaitWhileInactive();
  IntRect rect = {x1, y1, x2, y2};
  ClipRect(&rect, gDrawState.drawRegion);
  if (rect.left == rect.right || rect.top == rect.bottom) return -1;
  // A save name is a file below the game folder (symlinks leading out
  // included), never the folder itself.
  if (!fileName || !*fileName || !IsPathInGameFolder(fileName) || type < 0 || type > 2) return -1;
  CatchUpFront();
  const uint8_t* from = nullptr;
  size_t pitch = 0;
  ColorFormat format = {};
  HostSurface* locked = nullptr;
  if (const MemImg* source = DrawImage()) {
    if (rect.right > source->width || rect.bottom > source->height) return -1;
    const MemImgStore* store = source->store;
    format = *store->colorFormat;
    pitch = static_cast<size_t>(store->pitch);
    from = source->pixels + static_cast<size_t>(rect.top) * pitch +
           static_cast<size_t>(rect.left) * static_cast<size_t>(MemImgBytesPerPixel(store));
  } else if (gScreen.drawSurface) {
    // The display's surface, through the work surface when it lies in the
    // display's memory.
    FlushVertexBatch();
    EndScene3D();
    const IntRect& front = gDrawState.frontScreenRect;
    const HostRect moved = {rect.left + front.left + gScreen.drawOffsetX, rect.top + front.top + gScreen.drawOffsetY,
                            rect.right + front.left + gScreen.drawOffsetX,
                            rect.bottom + front.top + gScreen.drawOffsetY};
    HostRect read = moved;
    locked = gScreen.drawSurface;
    if (gScreen.targetInVideoMemory) {
      if (CopySurfaceRect(gScreen.work1, gScreen.drawSurface, 0, 0, moved, -1) != 0) return -1;
      read = HostRect{0, 0, moved.right - moved.left, moved.bottom - moved.top};
      locked = gScreen.work1;
    }
    uint8_t* pixels = nullptr;
    int lockPitch = 0;
    if (HostSurfaceLock(locked, &read, kHostLockReadOnly, &pixels, &lockPitch) != kHostOk) {
      return LogWrite("作業用サーフェスのロックに失敗しました\n");
    }
    from = pixels;
    pitch = static_cast<size_t>(lockPitch);
    format = *GetScreenColorFormat();
  } else {
    return -1;
  }

  const int bytes = format.bytesPerPixel;
  const size_t rowBytes = static_cast<size_t>(rect.right - rect.left) * static_cast<size_t>(bytes);
  const size_t rows = static_cast<size_t>(rect.bottom - rect.top);
  GraphImage image = {};
  image.format = format;
  image.width = rect.right - rect.left;
  image.height = rect.bottom - rect.top;
  image.pitch = static_cast<int32_t>(rowBytes);
  image.pixels = static_cast<uint8_t*>(TrackedAlloc(rowBytes * rows, __FILE__, __LINE__));
  if (!image.pixels) {
    if (locked) HostSurfaceUnlock(locked);
    LogWrite("画像セーブ用一時バッファの確保に失敗しました\n");
    return -1;
  }
  for (size_t y = 0; y < rows; ++y) std::memcpy(image.pixels + y * rowBytes, from + y * pitch, rowBytes);
  if (locked) HostSurfaceUnlock(locked);

  int result = -1;
  if (type == 0) result = SaveGraphImageBmp(fileName, image);
  if (type == 1) result = SaveGraphImageJpeg(fileName, image, quality);
  if (type == 2) result = SaveGraphImagePng(fileName, image, compressionLevel);
  FreeGraphImage(&image);
  return result < 0 ? -1 : 0;
}

int SaveScreenImage(int x1, int y1, int x2, int y2, const char* fileName, int option) {
  (void)option;  // the file is PNG whatever the option says
  return SaveScreenImage(x1, y1, x2, y2, fileName, 2, 80, -1);
}
