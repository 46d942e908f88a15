#include "runtime/graphics/graphic/TargetImage2D.h"

#include <algorithm>

#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/screen/SurfaceCopy.h"
#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"

TargetImage2D::TargetImage2D(IntRect rect, bool needsBlend) {
  MemImg* image = gScreen.drawImage;
  if (image && IsMemImgValid(image)) {
    image_ = image;
    return;
  }
  HostSurface* target = gScreen.drawSurface;
  if (!target) return;
  ClipRect(&rect, gDrawState.drawRegion);
  if (rect.left == rect.right || rect.top == rect.bottom) return;
  const IntRect& front = gDrawState.frontScreenRect;
  const int offsetX = front.left + gScreen.drawOffsetX;
  const int offsetY = front.top + gScreen.drawOffsetY;
  lockRect_ = HostRect{rect.left + offsetX, rect.top + offsetY, rect.right + offsetX, rect.bottom + offsetY};
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  throughWork_ = gScreen.targetInVideoMemory && needsBlend && gScreen.work1;
  if (throughWork_) {
    const HostRect work = {0, 0, width, height};
    if (CopySurfaceRect(gScreen.work1, target, 0, 0, lockRect_, -1) != 0 ||
        HostSurfaceLock(gScreen.work1, &work, 0, &pixels, &pitch) != kHostOk) {
      return;
    }
    locked_ = gScreen.work1;
  } else {
    if (HostSurfaceLock(target, &lockRect_, 0, &pixels, &pitch) != kHostOk) return;
    locked_ = target;
  }
  const int type = GetScreenDepth() == 16 ? MemImgRgb565 : MemImgXrgb8888;
  if (CreateMemImg(&wrapped_, width, height, pitch, 0, type, 0, 0, pixels) < 0) return;
  image_ = &wrapped_;
  dx = rect.left;
  dy = rect.top;
  savedRegion_ = gDrawState.drawRegion;
  std::copy(gDrawState.drawRegionF, gDrawState.drawRegionF + 4, savedFloats_);
  const float floats[4] = {0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)};
  RestoreDrawRegionExactly(IntRect{0, 0, width, height}, floats);
  regionMoved_ = true;
}

TargetImage2D::~TargetImage2D() {
  if (IsMemImgValid(&wrapped_)) ReleaseMemImg(&wrapped_);
  if (regionMoved_) RestoreDrawRegionExactly(savedRegion_, savedFloats_);
  if (!locked_) return;
  HostSurfaceUnlock(locked_);
  if (throughWork_) {
    const HostRect work = {0, 0, lockRect_.right - lockRect_.left, lockRect_.bottom - lockRect_.top};
    CopySurfaceRect(gScreen.drawSurface, gScreen.work1, lockRect_.left, lockRect_.top, work, -1);
  }
}
