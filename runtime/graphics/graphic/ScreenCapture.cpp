#include "runtime/graphics/graphic/ScreenCapture.h"

#include <cstring>

#include "runtime/Movan.h"
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

}  // namespace

int CaptureToGraphic2D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic) {
  if (!HasScreenDevice() || !graphic) return -1;
  const int64_t w = int64_t{x2} - x1;
  const int64_t h = int64_t{y2} - y1;
  if (w <= 0 || h <= 0 || w != graphic->width || h != graphic->height) return -1;
  if (x1 < 0 || y1 < 0 || x2 > gDrawState.targetWidth || y2 > gDrawState.targetHeight) return -1;
  if (graphic->partCount < 1) return -1;
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
  const MemImg* source = DrawImage();
  if (!source || rect.right > source->width || rect.bottom > source->height) return -1;

  const MemImgStore* store = source->store;
  const int bytes = MemImgBytesPerPixel(store);
  const size_t rowBytes = static_cast<size_t>(rect.right - rect.left) * static_cast<size_t>(bytes);
  const size_t rows = static_cast<size_t>(rect.bottom - rect.top);
  GraphImage image = {};
  image.format = *store->colorFormat;
  image.width = rect.right - rect.left;
  image.height = rect.bottom - rect.top;
  image.pitch = static_cast<int32_t>(rowBytes);
  image.pixels = static_cast<uint8_t*>(TrackedAlloc(rowBytes * rows, __FILE__, __LINE__));
  if (!image.pixels) {
    LogWrite("画像セーブ用一時バッファの確保に失敗しました\n");
    return -1;
  }
  const size_t pitch = static_cast<size_t>(store->pitch);
  const uint8_t* from = source->pixels + static_cast<size_t>(rect.top) * pitch +
                        static_cast<size_t>(rect.left) * static_cast<size_t>(bytes);
  for (size_t y = 0; y < rows; ++y) std::memcpy(image.pixels + y * rowBytes, from + y * pitch, rowBytes);

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
