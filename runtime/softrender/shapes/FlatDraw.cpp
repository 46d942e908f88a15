#include "runtime/softrender/shapes/FlatDraw.h"
#include "runtime/softrender/DrawMode.h"

#include <algorithm>
#include <cstdlib>

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

// The colour scaled by the brightness, (c x level) >> 8 per channel in its
// own width; white leaves it as passed. A 16-bit colour keeps only its word.
uint32_t BrightColour(uint32_t color, bool wide) {
  const uint32_t b = gDrawState.brightness;
  if (!wide) color &= 0xFFFF;
  if ((b & 0xFFFFFF) == 0xFFFFFF) return color;
  const uint32_t blue = b & 0xFF, green = (b >> 8) & 0xFF, red = (b >> 16) & 0xFF;
  if (wide) {
    return (color & 0xFF000000) | ((((color >> 16) & 0xFF) * red >> 8) << 16) |
           ((((color >> 8) & 0xFF) * green >> 8) << 8) | ((color & 0xFF) * blue >> 8);
  }
  return ((((color >> 11) & 31) * red >> 8) << 11) | ((((color >> 5) & 63) * green >> 8) << 5) |
         ((color & 31) * blue >> 8);
}

// The mode and parameter for the loops, or false when nothing is drawn.
bool FlatMode(FlatDrawSetup& p) {
  DrawMode drawMode;
  if (!CurrentDrawMode(&drawMode)) return false;
  const int mode = drawMode.mode;
  const uint32_t parameter = drawMode.parameter;
  p.blendMode = mode;
  p.parameter = parameter;
  return true;
}

// Pixel types the one-colour draws handle: 16 and 32 bits without palette
// or alpha.
bool FlatDestination(const MemImg* destination) {
  if (!IsMemImgValid(destination)) return false;
  const MemImgStore* s = destination->store;
  if (s->paletteFlag || s->alphaFlag) return false;
  return s->pixelType == MemImgXrgb8888 || s->pixelType == MemImgRgb565;
}

// The draw region, and never beyond the destination itself.
IntRect RegionIn(const MemImg* destination) {
  IntRect r = gDrawState.drawRegion;
  ClipRect(&r, IntRect{0, 0, destination->width, destination->height});
  return r;
}

// The column of the line at row y, or its row at column x.
int32_t LineAt(double base, double slope, int32_t at) { return DoubleToInt(base + slope * at); }

}  // namespace

void SoftFillRect(MemImg* destination, const IntRect* box, uint32_t color) {
  if (!FlatDestination(destination)) return;
  IntRect r{0, 0, destination->width, destination->height};
  if (box) {
    r = {std::min(box->left, box->right), std::min(box->top, box->bottom), std::max(box->left, box->right),
         std::max(box->top, box->bottom)};
  }
  ClipRect(&r, RegionIn(destination));
  if (r.right <= r.left || r.bottom <= r.top) return;
  const MemImgStore* s = destination->store;
  FlatDrawSetup p{};
  if (!FlatMode(p)) return;
  p.destinationBytes = s->pixelType == MemImgXrgb8888 ? 4 : 2;
  p.destination = destination->pixels + static_cast<intptr_t>(r.top) * s->pitch +
                  static_cast<intptr_t>(r.left) * p.destinationBytes;
  p.pitch = s->pitch;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.color = BrightColour(color, p.destinationBytes == 4);
  CurrentSoftDrawEntryPoints().flatFillBox(p);
}

void SoftDrawLine(MemImg* destination, int x1, int y1, int x2, int y2, uint32_t color) {
  // The palette and alpha stores are refused as the box fill refuses them:
  // their pixels are not of the width the walk writes.
  if (!FlatDestination(destination)) return;
  const IntRect region = RegionIn(destination);
  const int left = region.left, top = region.top, right = region.right, bottom = region.bottom;
  if (right <= left || bottom <= top) return;
  if (std::min(y1, y2) >= bottom || std::min(x1, x2) >= right || std::max(y1, y2) < top ||
      std::max(x1, x2) < left)
    return;

  // Differences in 64 bits: end points far apart do not wrap.
  const int64_t dx = int64_t{x2} - x1, dy = int64_t{y2} - y1;
  const double kx = dy != 0 ? static_cast<double>(dx) / static_cast<double>(dy) : 0.0;
  const double ky = dx != 0 ? static_cast<double>(dy) / static_cast<double>(dx) : 0.0;
  const double bx = x1 - kx * y1;
  const double by = y1 - ky * x1;

  if (x1 < left) {
    x1 = left;
    y1 = LineAt(by, ky, left);
  } else if (x1 >= right) {
    x1 = right - 1;
    y1 = LineAt(by, ky, right - 1);
  }
  if (x2 < left) {
    x2 = left - 1;
    y2 = LineAt(by, ky, left - 1);
  } else if (x2 >= right) {
    x2 = right;
    y2 = LineAt(by, ky, right);
  }
  if (y1 < top) {
    y1 = top;
    x1 = LineAt(bx, kx, top);
  } else if (y1 >= bottom) {
    y1 = bottom - 1;
    x1 = LineAt(bx, kx, bottom - 1);
  }
  if (y2 < top) {
    y2 = top - 1;
    x2 = LineAt(bx, kx, top - 1);
  } else if (y2 >= bottom) {
    y2 = bottom;
    x2 = LineAt(bx, kx, bottom);
  }
  x1 = std::clamp(x1, left, right - 1);
  x2 = std::clamp(x2, left - 1, right);
  y1 = std::clamp(y1, top, bottom - 1);
  y2 = std::clamp(y2, top - 1, bottom);

  const int32_t ex = x2 - x1, ey = y2 - y1;  // small now: both ends lie by the region
  if (ex == 0 && ey == 0) return;
  const MemImgStore* s = destination->store;
  FlatDrawSetup p{};
  if (!FlatMode(p)) return;
  p.destinationBytes = s->pixelType == MemImgXrgb8888 ? 4 : 2;
  p.destination = destination->pixels + static_cast<intptr_t>(y1) * s->pitch +
                  static_cast<intptr_t>(x1) * p.destinationBytes;
  p.pitch = s->pitch;
  p.width = 1;
  p.height = 1;
  p.color = BrightColour(color, p.destinationBytes == 4);
  const intptr_t stepX = ex < 0 ? -p.destinationBytes : p.destinationBytes;
  const intptr_t stepY = ey < 0 ? -static_cast<intptr_t>(s->pitch) : s->pitch;
  const int32_t ax = std::abs(ex), ay = std::abs(ey);
  if (ax >= ay)
    CurrentSoftDrawEntryPoints().flatDrawLine(p, ax, ay, stepX, stepY);
  else
    CurrentSoftDrawEntryPoints().flatDrawLine(p, ay, ax, stepY, stepX);
}

void SoftDrawLines(MemImg* destination, const LineSegment* lines, int count) {
  for (int i = 0; i < count; ++i)
    SoftDrawLine(destination, lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2, lines[i].color);
}
