#pragma once
// Where a 2D draw writes. On the draw image nothing changes. On a surface of
// the display the destination rectangle (cut to the draw region) is locked,
// through the work surface when the target lies in the display's memory and
// the draw blends, and wrapped as a memory image whose (0, 0) is the
// rectangle's top-left; while this object lives draws are moved by
// (-dx, -dy) and the draw region is the rectangle there, so that no pixel
// is written outside what was locked.

#include "runtime/platform/base/IntRect.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/softrender/MemImg.h"

class TargetImage2D {
 public:
  TargetImage2D(IntRect rect, bool needsBlend);
  ~TargetImage2D();
  TargetImage2D(const TargetImage2D&) = delete;
  TargetImage2D& operator=(const TargetImage2D&) = delete;

  // Null when nothing can be drawn (no target, an empty rectangle, a failed
  // lock).
  MemImg* Get() { return image_; }
  int dx = 0;
  int dy = 0;

 private:
  MemImg* image_ = nullptr;
  MemImg wrapped_ = {};
  HostSurface* locked_ = nullptr;
  bool throughWork_ = false;
  HostRect lockRect_ = {};
  IntRect savedRegion_ = {};
  float savedFloats_[4] = {};
  bool regionMoved_ = false;
};
