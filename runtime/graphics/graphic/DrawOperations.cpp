#include "runtime/graphics/graphic/DrawOperations.h"

#include "runtime/Movan.h"

#include <algorithm>
#include <cmath>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ScreenCapture.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/softrender/BlendTables.h"

namespace {

// The checks of every graphic draw: null when the draw stops, with the
// result in *result.
GraphicEntry* CheckGraphicDraw(int graphic, int* result) {
  *result = 0;
  if (gDrawState.emptyRegion) return nullptr;
  *result = -1;
  GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return nullptr;
  if (gDrawState.blendGraphic != -1) {
    const GraphicEntry* blend = GetGraphicRecord(gDrawState.blendGraphic);
    if (!blend || blend->width < g->width || blend->height < g->height) return nullptr;
  }
  // A graphic that shows a movie gets the movie's current frame first.
  if (g->movie >= 0) UpdateMovieFrame(g->movie, 0);
  return g;
}

void WaitIfInactive() {
  if (!IsAppActive()) WaitWhileInactive();
}

// Draws on the front screen of software mode start from what the window
// shows and reach it at once.
void BeforeFrontDraw() {
  if (IsSoftFrontTarget() && gScreen.presented) CaptureFrontToSoftScreen();
}

void AfterFrontDraw(const IntRect& rect) {
  if (IsSoftFrontTarget()) TransferSoftFrontRect(rect);
}

IntRect Normalised(int x1, int y1, int x2, int y2) {
  IntRect r = {x1, y1, x2, y2};
  NormalizeRect(&r);
  return r;
}

int32_t Clamped(int64_t value) { return ClampToInt(value); }

// The integer nearest to v, held inside the 32-bit range.
int32_t Nearest(double v) {
  if (!std::isfinite(v)) return 0;
  return ClampToInt(static_cast<int64_t>(std::clamp(std::nearbyint(v), -2147483648.0, 2147483647.0)));
}

}  // namespace

int DrawGraphicAt(int x, int y, int graphic, int transparent) {
  int result;
  GraphicEntry* g = CheckGraphicDraw(graphic, &result);
  if (!g) return result;
  WaitIfInactive();
  const IntRect rect = {x, y, Clamped(int64_t{x} + g->width), Clamped(int64_t{y} + g->height)};
  BeforeFrontDraw();
  // Subtraction on the 3D path is one pass with the reverse-subtract
  // equation, which gives what inverting, adding and inverting would.
  result = g->format.texture ? DrawGraphic3D(x, y, static_cast<float>(x), static_cast<float>(y), g, transparent, 1)
                             : DrawGraphicFirstPart2D(x, y, g, transparent);
  AfterFrontDraw(rect);
  return result;
}

int DrawGraphicStretched(int x1, int y1, int x2, int y2, int graphic, int transparent) {
  int result;
  GraphicEntry* g = CheckGraphicDraw(graphic, &result);
  if (!g) return result;
  WaitIfInactive();
  BeforeFrontDraw();
  result = g->format.texture ? DrawGraphicStretched3D(x1, y1, x2, y2, static_cast<float>(x1), static_cast<float>(y1),
                                                      static_cast<float>(x2), static_cast<float>(y2), g, transparent, 0)
                             : DrawGraphicStretched2D(x1, y1, x2, y2, g, transparent, -1);
  AfterFrontDraw(Normalised(x1, y1, x2, y2));
  return result;
}

int DrawGraphicRotated(float x, float y, double scale, double angle, int graphic, int transparent, int turn) {
  int result;
  GraphicEntry* g = CheckGraphicDraw(graphic, &result);
  if (!g) return result;
  IntRect rect = {0, 0, 0, 0};
  if (IsSoftFrontTarget()) {
    float sine = 0.0f;
    float cosine = 0.0f;
    SinCos(static_cast<float>(angle), &sine, &cosine);
    const int w = g->width;
    const int h = g->height;
    const float us[2] = {static_cast<float>(-(w / 2)), static_cast<float>(w - w / 2)};
    const float vs[2] = {static_cast<float>(-(h / 2)), static_cast<float>(h - h / 2)};
    float minX = 0;
    float minY = 0;
    float maxX = 0;
    float maxY = 0;
    for (int i = 0; i < 4; ++i) {
      const float u = us[i & 1];
      const float v = vs[i >> 1];
      const float px = (cosine * u - sine * v) * static_cast<float>(scale) + x;
      const float py = (sine * u + cosine * v) * static_cast<float>(scale) + y;
      minX = i == 0 ? px : std::min(minX, px);
      minY = i == 0 ? py : std::min(minY, py);
      maxX = i == 0 ? px : std::max(maxX, px);
      maxY = i == 0 ? py : std::max(maxY, py);
    }
    rect = IntRect{FloatToInt(minX - 5.0f), FloatToInt(minY - 5.0f), FloatToInt(maxX + 5.0f), FloatToInt(maxY + 5.0f)};
  }
  WaitIfInactive();
  BeforeFrontDraw();
  result = g->format.texture
               ? DrawGraphicRotated3D(x, y, scale, angle, g, transparent, turn)
               : DrawGraphicRotated2D(x, y, static_cast<float>(scale), static_cast<float>(angle), g, transparent, turn);
  AfterFrontDraw(rect);
  return result;
}

int DrawGraphicRotatedInt(int x, int y, double scale, double angle, int graphic, int transparent, int turn) {
  return DrawGraphicRotated(static_cast<float>(x), static_cast<float>(y), scale, angle, graphic, transparent, turn);
}

int DrawGraphicFreeForm(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int graphic,
                        int transparent) {
  int result;
  GraphicEntry* g = CheckGraphicDraw(graphic, &result);
  if (!g) return result;
  const IntRect rect = {FloatToInt(std::min({x1, x2, x3, x4})), FloatToInt(std::min({y1, y2, y3, y4})),
                        FloatToInt(std::max({x1, x2, x3, x4})), FloatToInt(std::max({y1, y2, y3, y4}))};
  WaitIfInactive();
  BeforeFrontDraw();
  // The path takes the corners in the order 1, 2, 4, 3.
  result = g->format.texture ? DrawGraphicQuadF3D(x1, y1, x2, y2, x4, y4, x3, y3, g, transparent)
                             : DrawQuadF2D(x1, y1, x2, y2, x4, y4, x3, y3, g, transparent);
  AfterFrontDraw(rect);
  return result;
}

int DrawGraphicFlipped(int x, int y, int graphic, int transparent) {
  const GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return gDrawState.emptyRegion ? 0 : -1;
  return DrawGraphicStretched(Clamped(int64_t{x} + g->width), y, x, Clamped(int64_t{y} + g->height), graphic,
                              transparent);
}

int DrawGraphicPart(int x, int y, int sourceX, int sourceY, int width, int height, int graphic, int transparent,
                    int turn) {
  const IntRect savedRegion = gDrawState.drawRegion;
  float savedFloats[4];
  std::copy(gDrawState.drawRegionF, gDrawState.drawRegionF + 4, savedFloats);
  IntRect r = {x, y, Clamped(int64_t{x} + width), Clamped(int64_t{y} + height)};
  ClipRect(&r, savedRegion);
  const float floats[4] = {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                           static_cast<float>(r.bottom)};
  RestoreDrawRegionExactly(r, floats);
  int result;
  if (!turn) {
    result = DrawGraphicAt(Clamped(int64_t{x} - sourceX), Clamped(int64_t{y} - sourceY), graphic, transparent);
  } else {
    const GraphicEntry* g = GetGraphicRecord(graphic);
    const int graphicWidth = g ? g->width : 0;
    result = DrawGraphicFlipped(Clamped(int64_t{x} + sourceX + width - graphicWidth), Clamped(int64_t{y} - sourceY),
                                graphic, transparent);
  }
  RestoreDrawRegionExactly(savedRegion, savedFloats);
  return result;
}

int DrawGraphicPartStretched(int x1, int y1, int x2, int y2, int sourceX, int sourceY, int sourceWidth,
                             int sourceHeight, int graphic, int transparent) {
  if (sourceWidth == 0 || sourceHeight == 0) return -1;
  const GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return gDrawState.emptyRegion ? 0 : -1;
  const IntRect savedRegion = gDrawState.drawRegion;
  float savedFloats[4];
  std::copy(gDrawState.drawRegionF, gDrawState.drawRegionF + 4, savedFloats);
  const IntRect n = Normalised(x1, y1, x2, y2);
  IntRect r = n;
  ClipRect(&r, savedRegion);
  const float floats[4] = {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                           static_cast<float>(r.bottom)};
  RestoreDrawRegionExactly(r, floats);
  const double sx = (static_cast<double>(n.right) - n.left) / sourceWidth;
  const double sy = (static_cast<double>(n.bottom) - n.top) / sourceHeight;
  int left;
  int right;
  int top;
  int bottom;
  if (x2 >= x1) {
    left = Clamped(int64_t{n.left} - Nearest(sourceX * sx));
    right = Clamped(int64_t{n.left} + Nearest((static_cast<double>(g->width) - sourceX) * sx));
  } else {
    left = Clamped(int64_t{n.right} + Nearest(sourceX * sx));
    right = Clamped(int64_t{n.right} - Nearest((static_cast<double>(g->width) - sourceX) * sx));
  }
  if (y2 >= y1) {
    top = Clamped(int64_t{n.top} - Nearest(sourceY * sy));
    bottom = Clamped(int64_t{n.top} + Nearest((static_cast<double>(g->height) - sourceY) * sy));
  } else {
    top = Clamped(int64_t{n.bottom} + Nearest(sourceY * sy));
    bottom = Clamped(int64_t{n.bottom} - Nearest((static_cast<double>(g->height) - sourceY) * sy));
  }
  const int result = DrawGraphicStretched(left, top, right, bottom, graphic, transparent);
  RestoreDrawRegionExactly(savedRegion, savedFloats);
  return result;
}

int DrawBlendGraph(int x, int y, int graphic, int transparent, int blendGraphic, int border, int range) {
  DrawState& s = gDrawState;
  const int savedGraphic = s.blendGraphic;
  const int savedBorder = s.blendGraphicBorder;
  const int savedRange = s.blendGraphicRange;
  SetBlendGraphic(blendGraphic, border, range);
  DrawGraphicAt(x, y, graphic, transparent);
  // Put back directly: the setter would refuse a blend graphic deleted
  // meanwhile and leave this one in force.
  s.blendGraphic = savedGraphic;
  s.blendGraphicBorder = savedBorder;
  s.blendGraphicRange = savedRange;
  BuildBlendGraphicTable(savedBorder, savedRange);
  return 0;
}

int DrawRectangle(int x1, int y1, int x2, int y2, uint32_t color, int fill) {
  return fill ? DrawBoxFilled(x1, y1, x2, y2, color) : DrawBoxOutline(x1, y1, x2, y2, color);
}

int DrawBoxFilled(int x1, int y1, int x2, int y2, uint32_t color) {
  if (gDrawState.emptyRegion) return 0;
  WaitIfInactive();
  BeforeFrontDraw();
  const int result = IsDirect3DPathActive() ? FillBox3D(x1, y1, x2, y2, color) : FillBox2D(x1, y1, x2, y2, color);
  AfterFrontDraw(IntRect{x1, y1, x2, y2});
  return result;
}

int DrawBoxOutline(int x1, int y1, int x2, int y2, uint32_t color) {
  if (gDrawState.emptyRegion) return 0;
  WaitIfInactive();
  BeforeFrontDraw();
  const int result =
      IsDirect3DPathActive() ? DrawBoxOutline3D(x1, y1, x2, y2, color) : DrawBoxOutline2D(x1, y1, x2, y2, color);
  AfterFrontDraw(IntRect{x1, y1, x2, y2});
  return result;
}

int ClearDrawTarget() {
  WaitWhileInactive();
  if (HasDevice3D()) ClearDrawTarget3D();
  ClearTarget2D();
  if (IsSoftFrontTarget()) {
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    TransferSoftFrontRect(IntRect{0, 0, width, height});
  }
  return 0;
}

int UpdateGraphicMovie(int graphic) {
  const GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return -1;
  if (g->movie < 0) return 0;
  return UpdateMovieFrame(g->movie, 0);
}

int CaptureScreenToGraphic(int x1, int y1, int x2, int y2, int graphic) {
  const GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return -1;
  WaitIfInactive();
  EndScene3D();
  return g->format.texture ? CaptureScreen3D(x1, y1, x2, y2, g, 1) : CaptureToGraphic2D(x1, y1, x2, y2, g);
}
