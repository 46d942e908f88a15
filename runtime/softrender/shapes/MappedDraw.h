#pragma once
// The mapped image draws: textured triangles, four-corner quads and the
// rotated, scaled draw. Each reads the draw region, blend mode, parameter and
// brightness from the draw state, clips to the region and returns silently
// when it refuses or has nothing to do. transparent != 0 skips colour-key
// texels or uses the source alpha; blendGraphic is an 8-bit image at least
// the source's size (read at the texel), or null.

#include <cstdint>

#include "runtime/softrender/MemImg.h"

// A destination pixel and the texel position that lands there (u = the
// source's width is its right edge).
struct TexturedVertex {
  int32_t x;
  int32_t y;
  int32_t u;
  int32_t v;
};

struct QuadCorner {
  int32_t x;
  int32_t y;
};

// Vertex coordinates beyond this magnitude are refused.
constexpr int32_t kTriangleCoordinateLimit = 1 << 24;
// Quad corners lie in -kQuadCornerLimit..kQuadCornerLimit-1 and less than
// kQuadCornerLimit apart.
constexpr int32_t kQuadCornerLimit = 8192;

void SoftDrawTriangle(MemImg* destination, const MemImg* source, const TexturedVertex* vertices, int transparent,
                      const MemImg* blendGraphic);
// corners: for the source's top-left, top-right, bottom-left and bottom-right.
void SoftDrawQuad(MemImg* destination, const MemImg* source, const QuadCorner* corners, int transparent,
                  const MemImg* blendGraphic);
// The source's centre texel lands on (centreX, centreY); a positive angle
// (radians) turns clockwise on screen; turn != 0 mirrors left to right.
void SoftDrawImageRotated(MemImg* destination, const MemImg* source, int centreX, int centreY, float angle,
                          float scale, int transparent, int turn, const MemImg* blendGraphic);
