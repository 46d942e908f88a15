#include <algorithm>
#include <cmath>

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/DrawMode.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

constexpr int64_t kOne = 262144;  // one pixel or texel in 18-bit fixed point

// The draw region, and never beyond the destination itself.
IntRect RegionIn(const MemImg* destination) {
  IntRect r = gDrawState.drawRegion;
  ClipRect(&r, IntRect{0, 0, destination->width, destination->height});
  return r;
}

// Everything of a mapped draw but its rows and steps; false when it draws
// nothing.
bool PrepareMapped(MemImg* destination, const MemImg* source, int transparent, const MemImg* blendGraphic,
                   MappedDrawSetup& p) {
  if (!IsMemImgValid(destination) || !IsMemImgValid(source)) return false;
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return false;
  if (ss->pixelType != MemImgXrgb8888 && ss->pixelType != MemImgRgb565) return false;
  if (ss->paletteFlag && !ss->palette) return false;
  if (source->width <= 0 || source->height <= 0) return false;
  // A blend graphic is read at every texel; one that does not cover the
  // source refuses the draw, as in the other families.
  if (blendGraphic && (!IsMemImgValid(blendGraphic) || blendGraphic->store->pixelType != MemImgGrey8 ||
                       blendGraphic->width < source->width || blendGraphic->height < source->height))
    return false;

  DrawMode drawMode;
  if (!CurrentDrawMode(&drawMode)) return false;

  const bool wide = ds->pixelType == MemImgXrgb8888;
  p.destination = destination->pixels;
  p.destinationPitch = ds->pitch;
  p.destinationBytes = wide ? 4 : 2;
  p.source = source->pixels;
  p.sourcePitch = ss->pitch;
  p.sourceBytes = ss->paletteFlag ? 1 : (wide || ss->alphaFlag) ? 4 : 2;
  p.widthFixed = int64_t{source->width} * kOne;
  p.heightFixed = int64_t{source->height} * kOne;
  p.palette = ss->paletteFlag ? ss->palette : nullptr;
  if (blendGraphic) {
    p.graphic = blendGraphic->pixels;
    p.graphicPitch = blendGraphic->store->pitch;
  }
  SetSourceBlendFields(p, ss, drawMode, !ss->paletteFlag && ss->alphaFlag != 0, transparent);
  return true;
}

// --- Triangles -------------------------------------------------------------

struct Edge {
  int64_t x;
  int64_t slope;
  int64_t rows;
  bool last;
};

struct TriangleRows {
  IntRect region;
  int64_t y;
  Edge left, right;
  // The second segments; the left one restarts the row count.
  Edge left2, right2;
  int64_t left2Row;
  int64_t xa, ya, ua, va;
  int64_t dudx, dudy, dvdx, dvdy;
  bool done;
};

int64_t Whole(int64_t fixed) { return fixed / kOne; }  // toward zero

Edge MakeEdge(int64_t xs, int64_t ys, int64_t xe, int64_t ye, bool last) {
  const int64_t rows = Whole(ye - ys);
  return Edge{xs, rows != 0 ? (xe - xs) / rows : 0, rows, last};
}

// One row's worth of walking: advance both edges and switch segments.
void AdvanceTriangle(TriangleRows& t) {
  t.left.x += t.left.slope;
  t.right.x += t.right.slope;
  ++t.y;
  --t.left.rows;
  --t.right.rows;
  if (t.left.rows <= 0) {
    if (t.left.last) {
      t.done = true;
      return;
    }
    t.left = t.left2;
    t.y = t.left2Row;
  }
  if (t.right.rows <= 0) {
    if (t.right.last) {
      t.done = true;
      return;
    }
    t.right = t.right2;
  }
}

bool NextTriangleRow(void* state, MappedRow* row) {
  TriangleRows& t = *static_cast<TriangleRows*>(state);
  const IntRect& r = t.region;
  while (!t.done) {
    // Rows above the region: edges advance in bulk, no segment ends.
    if (t.y < r.top - 1) {
      const int64_t k = std::min({int64_t{r.top} - 1 - t.y, t.left.rows - 1, t.right.rows - 1});
      if (k > 0) {
        t.left.x += k * t.left.slope;
        t.right.x += k * t.right.slope;
        t.y += k;
        t.left.rows -= k;
        t.right.rows -= k;
      }
    }
    // A row never goes back more than one, so none below this is drawn.
    if (t.y > r.bottom) break;
    int64_t xs = Whole(t.left.x);
    const int64_t xe = Whole(t.right.x);
    int64_t count = xe - xs + 1;
    if (xs < r.left) {
      count -= r.left - xs;
      xs = r.left;
    }
    const int64_t y = t.y;
    const bool drawn = y >= r.top && y < r.bottom && xs < r.right && count > 0;
    if (drawn) {
      row->y = static_cast<int32_t>(y);
      row->x = static_cast<int32_t>(xs);
      row->count = static_cast<int32_t>(std::min<int64_t>(count, r.right - xs));
      row->u = t.ua + (xs - t.xa) * t.dudx + (y - t.ya) * t.dudy;
      row->v = t.va + (xs - t.xa) * t.dvdx + (y - t.ya) * t.dvdy;
    }
    AdvanceTriangle(t);
    if (drawn) return true;
  }
  t.done = true;
  return false;
}

bool InTriangleLimits(const TexturedVertex& v) {
  auto in = [](int32_t c) { return c >= -kTriangleCoordinateLimit && c <= kTriangleCoordinateLimit; };
  return in(v.x) && in(v.y) && in(v.u) && in(v.v);
}

}  // namespace

void SoftDrawTriangle(MemImg* destination, const MemImg* source, const TexturedVertex* vertices, int transparent,
                      const MemImg* blendGraphic) {
  if (!vertices) return;
  for (int i = 0; i < 3; ++i)
    if (!InTriangleLimits(vertices[i])) return;
  MappedDrawSetup p{};
  if (!PrepareMapped(destination, source, transparent, blendGraphic, p)) return;

  int64_t X[3], Y[3], U[3], V[3];
  for (int i = 0; i < 3; ++i) {
    X[i] = int64_t{vertices[i].x} * kOne + kOne / 2;
    Y[i] = int64_t{vertices[i].y} * kOne + kOne / 2;
    U[i] = int64_t{vertices[i].u} * kOne;
    V[i] = int64_t{vertices[i].v} * kOne;
  }
  auto sortBy = [](const int64_t* key, int order[3]) {
    order[0] = 0, order[1] = 1, order[2] = 2;
    for (int i = 0; i < 2; ++i)
      for (int j = i + 1; j < 3; ++j)
        if (key[order[i]] > key[order[j]]) std::swap(order[i], order[j]);
  };
  int xo[3], yo[3];
  sortBy(X, xo);
  sortBy(Y, yo);

  const int a = xo[0], b = xo[1], c = xo[2];
  const int64_t dXab = Whole(X[b] - X[a]), dXac = Whole(X[c] - X[a]);
  const int64_t dYab = Whole(Y[b] - Y[a]), dYac = Whole(Y[c] - Y[a]);
  const int64_t dUab = Whole(U[b] - U[a]), dUac = Whole(U[c] - U[a]);
  const int64_t dVab = Whole(V[b] - V[a]), dVac = Whole(V[c] - V[a]);
  const int64_t area = dXac * dYab - dXab * dYac;
  if (area == 0) return;
  const double D = static_cast<double>(area);
  auto gradient = [&](int64_t numerator) {
    return int64_t{DoubleToInt(static_cast<double>(numerator) * 262144.0 / D)};
  };

  TriangleRows t{};
  t.region = RegionIn(destination);
  if (t.region.right <= t.region.left || t.region.bottom <= t.region.top) return;
  t.dudx = gradient(dYab * dUac - dYac * dUab);
  t.dudy = gradient(dUab * dXac - dXab * dUac);
  t.dvdx = gradient(dYab * dVac - dVab * dYac);
  t.dvdy = gradient(dVab * dXac - dVac * dXab);
  t.xa = Whole(X[a]);
  t.ya = Whole(Y[a]);
  t.ua = U[a];
  t.va = V[a];

  const int p0 = yo[0], p1 = yo[1], p2 = yo[2];
  if (Y[p0] == Y[p1]) {
    const int l = X[p0] > X[p1] ? p1 : p0, r = l == p0 ? p1 : p0;
    t.left = MakeEdge(X[l], Y[l], X[p2], Y[p2], true);
    t.right = MakeEdge(X[r], Y[r], X[p2], Y[p2], true);
    t.y = Whole(Y[l]);
  } else if (Y[p1] == Y[p2]) {
    const int l = X[p1] > X[p2] ? p2 : p1, r = l == p1 ? p2 : p1;
    t.left = MakeEdge(X[p0], Y[p0], X[l], Y[l], true);
    t.right = MakeEdge(X[p0], Y[p0], X[r], Y[r], true);
    t.y = Whole(Y[p0]);
  } else {
    const double d1 = static_cast<double>(Y[p1] - Y[p0]) * 3.814697265625e-06;
    const double d2 = static_cast<double>(Y[p2] - Y[p0]) * 3.814697265625e-06;
    const double s01 = static_cast<double>(X[p1] - X[p0]) / d1;
    const double s02 = static_cast<double>(X[p2] - X[p0]) / d2;
    t.y = Whole(Y[p0]);
    if (s02 > s01) {
      t.right = MakeEdge(X[p0], Y[p0], X[p2], Y[p2], true);
      t.left = MakeEdge(X[p0], Y[p0], X[p1], Y[p1], false);
      t.left2 = MakeEdge(X[p1], Y[p1], X[p2], Y[p2], true);
      t.left2Row = Whole(Y[p1]);
    } else {
      t.left = MakeEdge(X[p0], Y[p0], X[p2], Y[p2], true);
      t.right = MakeEdge(X[p0], Y[p0], X[p1], Y[p1], false);
      const int64_t rows = Whole(Y[p2] - Y[p1]);
      t.right2 = Edge{X[p1] + 1, (X[p2] - (X[p1] + 1)) / rows, rows, true};
    }
  }
  if (t.left.rows <= 0 || t.right.rows <= 0) return;

  p.stepU = t.dudx;
  p.stepV = t.dvdx;
  p.nextRow = &NextTriangleRow;
  p.rows = &t;
  CurrentSoftDrawEntryPoints().mappedDraw(p);
}

void SoftDrawQuad(MemImg* destination, const MemImg* source, const QuadCorner* corners, int transparent,
                  const MemImg* blendGraphic) {
  if (!corners || !IsMemImgValid(destination) || !IsMemImgValid(source)) return;
  int32_t minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
  for (int i = 0; i < 4; ++i) {
    const QuadCorner& c = corners[i];
    if (c.x < -kQuadCornerLimit || c.x >= kQuadCornerLimit || c.y < -kQuadCornerLimit || c.y >= kQuadCornerLimit)
      return;
    minX = std::min(minX, c.x), maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y), maxY = std::max(maxY, c.y);
  }
  if (maxX - minX >= kQuadCornerLimit || maxY - minY >= kQuadCornerLimit) return;
  IntRect box{minX - 2, minY - 2, maxX + 4, maxY + 4};
  ClipRect(&box, gDrawState.drawRegion);
  if (box.left == box.right || box.top == box.bottom) return;
  const int32_t w = source->width, h = source->height;
  const TexturedVertex v[4] = {{corners[0].x, corners[0].y, 0, 0},
                               {corners[1].x, corners[1].y, w, 0},
                               {corners[2].x, corners[2].y, 0, h},
                               {corners[3].x, corners[3].y, w, h}};
  SoftDrawTriangle(destination, source, &v[0], transparent, blendGraphic);
  SoftDrawTriangle(destination, source, &v[1], transparent, blendGraphic);
}

// --- Rotated draws ---------------------------------------------------------

namespace {

// Positions beyond this are refused: sums of a start, a row and a column
// step stay inside 64 bits.
constexpr double kPositionLimit = 72057594037927936.0;  // 2^56
// Column steps beyond this (scales too small to step) are refused.
constexpr int64_t kStepLimit = int64_t{1} << 40;

// A float truncated toward zero, or false beyond the limit.
bool Truncate(float value, int64_t& out) {
  if (!std::isfinite(value) || std::fabs(value) >= kPositionLimit) return false;
  out = static_cast<int64_t>(value);
  return true;
}

struct RotatedRows {
  int32_t top;
  int32_t rows;
  int32_t left;
  int32_t count;
  int64_t u, v;  // at the row's first pixel
  int64_t rowU, rowV;
  int32_t next;
};

bool NextRotatedRow(void* state, MappedRow* row) {
  RotatedRows& r = *static_cast<RotatedRows*>(state);
  if (r.next >= r.rows) return false;
  row->y = r.top + r.next;
  row->x = r.left;
  row->count = r.count;
  row->u = r.u + int64_t{r.next} * r.rowU;
  row->v = r.v + int64_t{r.next} * r.rowV;
  ++r.next;
  return true;
}

}  // namespace

void SoftDrawImageRotated(MemImg* destination, const MemImg* source, int centreX, int centreY, float angle,
                          float scale, int transparent, int turn, const MemImg* blendGraphic) {
  if (!IsMemImgValid(destination) || !IsMemImgValid(source)) return;
  const MemImgStore* ds = destination->store;
  if (source->store->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return;
  if (!std::isfinite(angle) || !std::isfinite(scale) || scale == 0.0f) return;
  if (source->width <= 0 || source->height <= 0) return;

  float sine, cosine;
  SinCos(angle, &sine, &cosine);
  const int64_t cs = FloatToInt(cosine * 262144.0f);
  const int64_t sn = FloatToInt(sine * 262144.0f);
  const int64_t W = source->width, H = source->height;
  const double hw = static_cast<double>(W) * scale * 0.5;
  const double hh = static_cast<double>(H) * scale * 0.5;
  const float A = static_cast<float>(cs * hw), B = static_cast<float>(sn * hw);
  const float C = static_cast<float>(cs * hh), D = static_cast<float>(sn * hh);
  auto corner = [](float p, float q, int64_t offset, int64_t& out) {
    if (!Truncate(static_cast<float>(static_cast<double>(p) + static_cast<double>(q)), out)) return false;
    out += offset;
    return true;
  };
  const int64_t ox = int64_t{centreX} * kOne, oy = int64_t{centreY} * kOne;
  int64_t cx[4], cy[4];
  if (!corner(-A, D, ox, cx[0]) || !corner(-C, -B, oy, cy[0]) || !corner(-A, -D, ox, cx[1]) ||
      !corner(C, -B, oy, cy[1]) || !corner(A, -D, ox, cx[2]) || !corner(C, B, oy, cy[2]) ||
      !corner(A, D, ox, cx[3]) || !corner(-C, B, oy, cy[3]))
    return;

  if (turn) {
    QuadCorner q[4];
    const int order[4] = {3, 0, 2, 1};
    for (int i = 0; i < 4; ++i) {
      const int64_t x = cx[order[i]] / kOne, y = cy[order[i]] / kOne;
      if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return;
      q[i] = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
    }
    SoftDrawQuad(destination, source, q, transparent, blendGraphic);
    return;
  }

  MappedDrawSetup p{};
  if (!PrepareMapped(destination, source, transparent, blendGraphic, p)) return;
  const int64_t minX = *std::min_element(cx, cx + 4), maxX = *std::max_element(cx, cx + 4);
  const int64_t minY = *std::min_element(cy, cy + 4), maxY = *std::max_element(cy, cy + 4);
  IntRect box{ClampToInt(minX / kOne - 2), ClampToInt(minY / kOne - 2), ClampToInt(maxX / kOne + 4),
              ClampToInt(maxY / kOne + 4)};
  ClipRect(&box, RegionIn(destination));
  if (box.right <= box.left || box.bottom <= box.top) return;

  const float inverse = 1.0f / scale;
  auto position = [&](int64_t along, int64_t across, int64_t half, int64_t& out) {
    const double sum = static_cast<double>(along + across);  // exact: below 2^53
    if (!Truncate(static_cast<float>(sum * static_cast<double>(inverse)), out)) return false;
    out += half * kOne;
    return true;
  };
  const int64_t dx = int64_t{box.left} - centreX;
  const int64_t dyTop = int64_t{box.top} - centreY, dyBottom = int64_t{box.bottom} - centreY;
  int64_t u0, v0, u1, v1, su, sv;
  if (!position(dx * cs, dyTop * sn, W >> 1, u0) || !position(dyTop * cs, -dx * sn, H >> 1, v0) ||
      !position(dx * cs, dyBottom * sn, W >> 1, u1) || !position(dyBottom * cs, -dx * sn, H >> 1, v1) ||
      !Truncate(static_cast<float>(cs) / scale, su) || !Truncate(static_cast<float>(-sn) / scale, sv))
    return;
  if (su <= -kStepLimit || su >= kStepLimit || sv <= -kStepLimit || sv >= kStepLimit) return;

  RotatedRows rows{};
  rows.top = box.top;
  rows.rows = box.bottom - box.top;
  rows.left = box.left;
  rows.count = box.right - box.left;
  rows.u = u0;
  rows.v = v0;
  rows.rowU = (u1 - u0) / rows.rows;
  rows.rowV = (v1 - v0) / rows.rows;
  p.stepU = su;
  p.stepV = sv;
  p.nextRow = &NextRotatedRow;
  p.rows = &rows;
  CurrentSoftDrawEntryPoints().mappedDraw(p);
}
