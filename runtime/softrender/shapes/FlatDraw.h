#pragma once
// One-colour draws: the filled box and the one-pixel lines. The colour is a
// pixel already packed in the destination's format. Both read the draw
// region, blend mode, parameter and brightness from the draw state, clip to
// the region and return silently when they refuse or have nothing to do.

#include <cstdint>

#include "runtime/platform/base/IntRect.h"
#include "runtime/softrender/MemImg.h"

struct LineSegment {
  int32_t x1;
  int32_t y1;
  int32_t x2;
  int32_t y2;
  uint32_t color;
  int32_t blendParameter;  // not read: the draw state's parameter holds
};

// box: corners (left, top, right, bottom) in either order; null fills the
// whole image. Refuses palette and alpha destinations.
void SoftFillRect(MemImg* destination, const IntRect* box, uint32_t color);
// From (x1, y1) up to, not including, (x2, y2).
void SoftDrawLine(MemImg* destination, int x1, int y1, int x2, int y2, uint32_t color);
void SoftDrawLines(MemImg* destination, const LineSegment* lines, int count);
