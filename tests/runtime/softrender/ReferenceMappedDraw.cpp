#include "tests/runtime/softrender/ReferenceMappedDraw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/softrender/BlendTables.h"
#include "tests/runtime/softrender/ReferencePixel.h"

namespace {

// What holds for a whole draw; false when nothing is drawn.
struct Draw {
  ReferenceDraw r;
  const MemImg* source;
  const MemImg* graphic;
  MemImg* destination;
  bool palette;
  bool wide;
};

bool Prepare(Draw& w, MemImg* destination, const MemImg* source, int transparent, const MemImg* graphic,
             const DrawState& state, const uint8_t* weights) {
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return false;
  if (source->width <= 0 || source->height <= 0) return false;
  int mode = state.blendMode;
  const int p = state.blendParameter;
  if (mode == 1 && p == 255) mode = 0;
  if ((mode == 1 || mode == 2 || mode == 3) && p == 0) return false;
  if (!(mode <= 4 && mode >= 0) && mode != 10 && mode != 11) return false;
  w.r.mode = mode;
  w.r.p = p;
  w.r.b[0] = state.brightness & 0xFF;
  w.r.b[1] = (state.brightness >> 8) & 0xFF;
  w.r.b[2] = (state.brightness >> 16) & 0xFF;
  w.r.white = (state.brightness & 0xFFFFFF) == 0xFFFFFF;
  w.r.graphic = graphic != nullptr;
  w.r.alpha = !ss->paletteFlag && ss->alphaFlag == 1;
  w.r.keyed = transparent != 0;
  w.r.weights = weights;
  w.source = source;
  w.graphic = graphic;
  w.destination = destination;
  w.palette = ss->paletteFlag == 1;
  w.wide = ss->pixelType == 1;
  return true;
}

// The leaf at destination pixel (x, y) with the texel (cu, cv).
void Leaf(const Draw& w, int x, int y, int cu, int cv) {
  const MemImgStore* ss = w.source->store;
  const uint8_t* row = w.source->pixels + static_cast<intptr_t>(cv) * ss->pitch;
  uint32_t colour = 0, raw = 0;
  int alpha = 0;
  if (w.palette) {
    raw = row[cu];
    std::memcpy(&colour, ss->palette + (w.wide ? 4 : 2) * raw, w.wide ? 4 : 2);
  } else if (w.wide) {
    std::memcpy(&colour, row + 4 * cu, 4);
    raw = colour;
  } else if (w.r.alpha) {
    std::memcpy(&colour, row + 4 * cu, 2);
    alpha = row[4 * cu + 2];
    raw = colour;
  } else {
    std::memcpy(&colour, row + 2 * cu, 2);
    raw = colour;
  }
  const int g = w.graphic ? w.graphic->pixels[static_cast<intptr_t>(cv) * w.graphic->store->pitch + cu] : 0;
  const bool hit = raw == ss->colorKey;
  uint8_t* at = w.destination->pixels + static_cast<intptr_t>(y) * w.destination->store->pitch +
                static_cast<intptr_t>(x) * (w.wide ? 4 : 2);
  uint32_t d = 0;
  std::memcpy(&d, at, w.wide ? 4 : 2);
  const ReferenceDraw& r = w.r;
  // The plain copy writes the texel whole.
  if (r.mode == 0 && r.white && !r.graphic && !r.alpha) {
    if (!(r.keyed && hit)) std::memcpy(at, &colour, w.wide ? 4 : 2);
    return;
  }
  // The 16-bit translucent mix without weights goes through the signed
  // product table in every leaf here (no lerp slab).
  if (!w.wide && r.mode == 1 && r.white && !r.graphic && !r.alpha) {
    if (r.keyed && hit) return;
    uint32_t out = 0;
    for (const int shift : {11, 5, 0}) {
      const int mask = shift == 5 ? 63 : 31;
      const int dc = (d >> shift) & mask, sc = (colour >> shift) & mask;
      out |= static_cast<uint32_t>(dc + SignedProduct(r.p, sc - dc)) << shift;
    }
    std::memcpy(at, &out, 2);
    return;
  }
  const int a = w.wide ? static_cast<int>(colour >> 24) : alpha;
  if (r.alpha && r.keyed && a == 0 && r.mode == 10) return;
  const bool drawn =
      w.wide ? ReferenceGeneralPixel32(r, colour, d, g, hit) : ReferenceGeneralPixel16(r, colour, alpha, d, g, hit);
  if (drawn) std::memcpy(at, &d, w.wide ? 4 : 2);
}

int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
int32_t Whole(int32_t fixed) { return fixed / 262144; }

}  // namespace

void ReferenceSoftDrawTriangle(MemImg* destination, const MemImg* source, const TexturedVertex* vertices,
                               int transparent, const MemImg* blendGraphic, const DrawState& state,
                               const uint8_t graphicWeights[256]) {
  Draw w{};
  if (!Prepare(w, destination, source, transparent, blendGraphic, state, graphicWeights)) return;
  int32_t X[3], Y[3], U[3], V[3];
  for (int i = 0; i < 3; ++i) {
    X[i] = Wrap(int64_t{vertices[i].x} * 262144 + 131072);
    Y[i] = Wrap(int64_t{vertices[i].y} * 262144 + 131072);
    U[i] = Wrap(int64_t{vertices[i].u} * 262144);
    V[i] = Wrap(int64_t{vertices[i].v} * 262144);
  }
  int xo[3] = {0, 1, 2}, yo[3] = {0, 1, 2};
  for (int i = 0; i < 2; ++i)
    for (int j = i + 1; j < 3; ++j) {
      if (X[xo[i]] > X[xo[j]]) std::swap(xo[i], xo[j]);
      if (Y[yo[i]] > Y[yo[j]]) std::swap(yo[i], yo[j]);
    }
  const int a = xo[0], b = xo[1], c = xo[2];
  const int32_t dXab = Whole(X[b] - X[a]), dXac = Whole(X[c] - X[a]), dYab = Whole(Y[b] - Y[a]),
                dYac = Whole(Y[c] - Y[a]), dUab = Whole(U[b] - U[a]), dUac = Whole(U[c] - U[a]),
                dVab = Whole(V[b] - V[a]), dVac = Whole(V[c] - V[a]);
  const int32_t area = dXac * dYab - dXab * dYac;
  if (area == 0) return;
  const double D = area;
  const int32_t dudx = DoubleToInt((dYab * dUac - dYac * dUab) * 262144.0 / D);
  const int32_t dudy = DoubleToInt((dUab * dXac - dXab * dUac) * 262144.0 / D);
  const int32_t dvdx = DoubleToInt((dYab * dVac - dVab * dYac) * 262144.0 / D);
  const int32_t dvdy = DoubleToInt((dVab * dXac - dVac * dXab) * 262144.0 / D);
  const int32_t xa = Whole(X[a]), ya = Whole(Y[a]);

  struct E {
    int32_t x, slope, rows;
    bool last;
  };
  auto edge = [&](int s, int e, bool last) {
    const int32_t rows = Whole(Y[e] - Y[s]);
    return E{X[s], (X[e] - X[s]) / rows, rows, last};
  };
  const int p0 = yo[0], p1 = yo[1], p2 = yo[2];
  E left{}, right{}, left2{}, right2{};
  int32_t y, left2Row = 0;
  if (Y[p0] == Y[p1]) {
    const int l = X[p0] > X[p1] ? p1 : p0, r = l == p0 ? p1 : p0;
    left = edge(l, p2, true);
    right = edge(r, p2, true);
    y = Whole(Y[l]);
  } else if (Y[p1] == Y[p2]) {
    const int l = X[p1] > X[p2] ? p2 : p1, r = l == p1 ? p2 : p1;
    left = edge(p0, l, true);
    right = edge(p0, r, true);
    y = Whole(Y[p0]);
  } else {
    const double d1 = (Y[p1] - Y[p0]) * 3.814697265625e-06, d2 = (Y[p2] - Y[p0]) * 3.814697265625e-06;
    const double s01 = (X[p1] - X[p0]) / d1, s02 = (X[p2] - X[p0]) / d2;
    y = Whole(Y[p0]);
    if (s02 > s01) {
      right = edge(p0, p2, true);
      left = edge(p0, p1, false);
      left2 = edge(p1, p2, true);
      left2Row = Whole(Y[p1]);
    } else {
      left = edge(p0, p2, true);
      right = edge(p0, p1, false);
      const int32_t rows = Whole(Y[p2] - Y[p1]);
      right2 = E{X[p1] + 1, (X[p2] - (X[p1] + 1)) / rows, rows, true};
    }
  }
  const IntRect& region = state.drawRegion;
  const uint32_t wf = static_cast<uint32_t>(source->width) * 262144u, hf = static_cast<uint32_t>(source->height) * 262144u;
  for (;;) {
    int32_t xs = Whole(left.x), count = Whole(right.x) - xs + 1;
    if (xs < region.left) {
      count -= region.left - xs;
      xs = region.left;
    }
    uint32_t pu = static_cast<uint32_t>(U[a]) + static_cast<uint32_t>((xs - xa) * dudx) +
                  static_cast<uint32_t>((y - ya) * dudy);
    uint32_t pv = static_cast<uint32_t>(V[a]) + static_cast<uint32_t>((xs - xa) * dvdx) +
                  static_cast<uint32_t>((y - ya) * dvdy);
    if (y >= region.top && y < region.bottom && xs < region.right && count > 0) {
      for (int32_t x = xs, done = 0; done < count && x < region.right; ++x, ++done) {
        if (pu < wf && pv < hf) Leaf(w, x, y, static_cast<int>(pu >> 18), static_cast<int>(pv >> 18));
        pu += static_cast<uint32_t>(dudx);
        pv += static_cast<uint32_t>(dvdx);
      }
    }
    left.x += left.slope;
    right.x += right.slope;
    ++y;
    --left.rows;
    --right.rows;
    if (left.rows == 0) {
      if (left.last) return;
      left = left2;
      y = left2Row;
    }
    if (right.rows == 0) {
      if (right.last) return;
      right = right2;
    }
  }
}

void ReferenceSoftDrawImageRotated(MemImg* destination, const MemImg* source, int cx, int cy, float angle,
                                   float scale, int transparent, const MemImg* blendGraphic, const DrawState& state,
                                   const uint8_t graphicWeights[256]) {
  Draw w{};
  if (scale == 0.0f || !Prepare(w, destination, source, transparent, blendGraphic, state, graphicWeights)) return;
  float sine, cosine;
  SinCos(angle, &sine, &cosine);
  const int32_t cs = FloatToInt(cosine * 262144.0f), sn = FloatToInt(sine * 262144.0f);
  const int32_t W = source->width, H = source->height;
  const double hw = static_cast<double>(W) * scale * 0.5, hh = static_cast<double>(H) * scale * 0.5;
  const float A = static_cast<float>(cs * hw), B = static_cast<float>(sn * hw), C = static_cast<float>(cs * hh),
              D = static_cast<float>(sn * hh);
  auto sum = [](float p, float q) { return FloatToInt(static_cast<float>(static_cast<double>(p) + q)); };
  const int32_t xs[4] = {sum(-A, D) + cx * 262144, sum(-A, -D) + cx * 262144, sum(A, -D) + cx * 262144,
                         sum(A, D) + cx * 262144};
  const int32_t ys[4] = {sum(-C, -B) + cy * 262144, sum(C, -B) + cy * 262144, sum(C, B) + cy * 262144,
                         sum(-C, B) + cy * 262144};
  IntRect box{*std::min_element(xs, xs + 4) / 262144 - 2, *std::min_element(ys, ys + 4) / 262144 - 2,
              *std::max_element(xs, xs + 4) / 262144 + 4, *std::max_element(ys, ys + 4) / 262144 + 4};
  const IntRect& region = state.drawRegion;
  box.left = std::clamp(box.left, region.left, region.right);
  box.right = std::clamp(box.right, region.left, region.right);
  box.top = std::clamp(box.top, region.top, region.bottom);
  box.bottom = std::clamp(box.bottom, region.top, region.bottom);
  if (box.right <= box.left || box.bottom <= box.top) return;
  const float inverse = 1.0f / scale;
  auto u = [&](int x, int y) {
    return FloatToInt(static_cast<float>(static_cast<double>((x - cx) * cs + (y - cy) * sn) * inverse)) +
           (W >> 1) * 262144;
  };
  auto v = [&](int x, int y) {
    return FloatToInt(static_cast<float>(static_cast<double>((y - cy) * cs - (x - cx) * sn) * inverse)) +
           (H >> 1) * 262144;
  };
  const int32_t su = FloatToInt(static_cast<float>(cs) / scale), sv = FloatToInt(static_cast<float>(-sn) / scale);
  const int32_t u0 = u(box.left, box.top), v0 = v(box.left, box.top);
  const int32_t ru = (u(box.left, box.bottom) - u0) / (box.bottom - box.top);
  const int32_t rv = (v(box.left, box.bottom) - v0) / (box.bottom - box.top);
  const uint32_t wf = static_cast<uint32_t>(W) * 262144u, hf = static_cast<uint32_t>(H) * 262144u;
  for (int y = box.top; y < box.bottom; ++y) {
    uint32_t pu = static_cast<uint32_t>(u0 + (y - box.top) * ru), pv = static_cast<uint32_t>(v0 + (y - box.top) * rv);
    for (int x = box.left; x < box.right; ++x) {
      if (pu < wf && pv < hf) Leaf(w, x, y, static_cast<int>(pu >> 18), static_cast<int>(pv >> 18));
      pu += static_cast<uint32_t>(su);
      pv += static_cast<uint32_t>(sv);
    }
  }
}
