#pragma once
// The software renderer's draws beyond the plain one (scaled, rotated,
// triangles, filled boxes, lines), reached through this table so that each
// family plugs in as it is built. An empty entry draws nothing and the 2D
// path reports -1 for it.

#include <cstdint>

#include "runtime/softrender/shapes/FlatDraw.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/MemImg.h"

struct SoftDrawFamilies {
  void (*drawScaled)(MemImg* destination, const MemImg* source, int x1, int y1, int x2, int y2, int transparent,
                     const MemImg* blendGraphic);
  void (*drawRotated)(MemImg* destination, const MemImg* source, int centreX, int centreY, float angle,
                      float scale, int transparent, int turn, const MemImg* blendGraphic);
  void (*drawTriangle)(MemImg* destination, const MemImg* source, const TexturedVertex* vertices,
                       int transparent, const MemImg* blendGraphic, uint32_t color);
  void (*fillRect)(MemImg* destination, const IntRect* rect, uint32_t color);
  void (*drawLines)(MemImg* destination, const LineSegment* lines, int count);
};

extern SoftDrawFamilies gSoftDrawFamilies;
