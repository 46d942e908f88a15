// Filled boxes and box outlines through the 3D path: untextured vertices
// whose colour takes brightness and blend parameter like a graphic.

#include <algorithm>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/DrawState3D.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"

namespace {

uint32_t BoxColour(uint32_t packed) {
  int r = 0;
  int g = 0;
  int b = 0;
  UnpackColor(packed, &r, &g, &b);
  const uint32_t v = gD3D.vertexColor;
  const uint32_t red = ((v >> 16) & 0xFF) * static_cast<uint32_t>(r) / 255;
  const uint32_t green = ((v >> 8) & 0xFF) * static_cast<uint32_t>(g) / 255;
  const uint32_t blue = (v & 0xFF) * static_cast<uint32_t>(b) / 255;
  return (v & 0xFF000000u) | red << 16 | green << 8 | blue;
}

// The untextured draw state; false when nothing is to be drawn.
bool BeginShape() {
  Device3DRecord* d = CurrentDevice3D();
  if (!d || !IsDrawableBlendMode3D(gDrawState.blendMode)) return false;
  if (!d->inScene) BeginScene3D(gD3D.currentDevice);
  SetTexture3D(nullptr, gD3D.currentDevice);
  SetDrawState3D(nullptr, -1, kDrawModulateColour | (gDrawState.depthBufferUse ? kDrawDepth : 0));
  return true;
}

// Queues untextured corners of one colour at the draw depth, then ends the
// scene when drawing to the front screen.
template <int N>
void QueueShape(HostPrimitive primitive, const float (&xs)[N], const float (&ys)[N], uint32_t colour) {
  auto* v = static_cast<VertexUntextured*>(QueueVertices3D(kVertexUntextured, primitive, N));
  if (v) {
    for (int i = 0; i < N; ++i) {
      v[i].x = xs[i];
      v[i].y = ys[i];
      v[i].z = gDrawState.drawDepth;
      v[i].diffuse = colour;
    }
  }
  if (gD3D.frontSceneFlag) EndScene3D();
}

}  // namespace

int FillBox3D(int x1, int y1, int x2, int y2, uint32_t colour) {
  if (gD3D.suppressed) return FillBox2D(x1, y1, x2, y2, colour);
  if (!gD3D.object) return -1;
  FlushVertexBatch();
  IntRect r = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  ClipRect(&r, gDrawState.drawRegion);
  if (r.left == r.right || r.top == r.bottom) return 0;
  if (!BeginShape()) return 0;
  const uint32_t c = BoxColour(colour);
  const float ox = static_cast<float>(gDrawState.frontScreenRect.left);
  const float oy = static_cast<float>(gDrawState.frontScreenRect.top);
  const float left = static_cast<float>(r.left) + ox;
  const float top = static_cast<float>(r.top) + oy;
  const float right = static_cast<float>(r.right) + ox;
  const float bottom = static_cast<float>(r.bottom) + oy;
  const float xs[6] = {left, right, left, right, left, right};
  const float ys[6] = {top, top, bottom, bottom, bottom, top};
  QueueShape(kPrimTriangleList, xs, ys, c);
  return 0;
}

int DrawBoxOutline3D(int x1, int y1, int x2, int y2, uint32_t colour) {
  if (gD3D.suppressed) return DrawBoxOutline2D(x1, y1, x2, y2, colour);
  if (!gD3D.object) return -1;
  if (!BeginShape()) return 0;
  if (x1 > x2 || y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  const float left = static_cast<float>(gDrawState.frontScreenRect.left);
  const float top = static_cast<float>(gDrawState.frontScreenRect.top);
  const float X1 = static_cast<float>(x1) + left;
  const float Y1 = static_cast<float>(y1) + top;
  const float X2 = static_cast<float>(x2) + left - 1.0f;
  const float Y2 = static_cast<float>(y2) + top - 1.0f;
  const uint32_t c = BoxColour(colour);
  const float xs[8] = {X1, X2 - 0.1f, X2, X2, X1, X2 + 0.9f, X1, X1};
  const float ys[8] = {Y1, Y1, Y1, Y2 - 0.1f, Y2, Y2, Y1 + 1.0f, Y2 - 0.1f};
  QueueShape(kPrimLineList, xs, ys, c);
  return 0;
}
