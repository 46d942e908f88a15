// The draws of texture graphics: at a position, stretched, turned and
// scaled, and into four free corners. Every tile becomes two triangles in
// the vertex batch; only a texture change between tiles costs a flush.

#include <algorithm>
#include <cmath>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/DrawState3D.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/state/DrawState.h"

namespace {

struct Corner {
  float x, y;   // on the target
  float u, v;   // in the graphic's texture
  float gx, gy; // in graphic pixels (the blend graphic's place)
};

int DrawFlags(int transparent, int extra) {
  int flags = extra;
  if (transparent) flags |= kDrawTransparent;
  if (gDrawState.depthBufferUse) flags |= kDrawDepth;
  return flags;
}

// The common start of every graphic draw: 1 to go on, else the result in
// *result.
bool Begin(const GraphicEntry* g, int flags, int* result) {
  *result = -1;
  if (!gD3D.object) return false;
  *result = 0;
  if (gD3D.suppressed || !IsDrawableBlendMode3D(gDrawState.blendMode)) return false;
  Device3DRecord* d = CurrentDevice3D();
  if (!d) {
    *result = -1;
    return false;
  }
  if (!d->inScene) BeginScene3D(gD3D.currentDevice);
  const Surface3DData* first = g->partCount > 0 ? GetSurface3DData(g->parts[0]) : nullptr;
  if (!first) {
    *result = -1;
    return false;
  }
  SetDrawState3D(first, g->parts[0], flags);
  return true;
}

int Finish() {
  if (gD3D.frontSceneFlag) EndScene3D();
  return 0;
}

// Makes the tile's texture the device's, re-applying the stage set-up.
const Surface3DData* UseTile(int handle) {
  const Surface3DData* tile = GetSurface3DData(handle);
  if (!tile) return nullptr;
  Device3DRecord* d = CurrentDevice3D();
  const ImageRecord* record = GetImageRecord(tile->imageRecord);
  HostSurface* texture = record ? static_cast<HostSurface*>(record->surface) : nullptr;
  if (d && d->texture != texture) {
    SetTexture3D(texture, gD3D.currentDevice);
    ApplyStageSetup3D(gD3D.currentDevice);
  }
  return tile;
}

// Two triangles over four corners: top-left, top-right, bottom-left, then
// bottom-right, bottom-left, top-right.
void QueueQuad(const Corner* c) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return;
  static const int kOrder[6] = {0, 1, 2, 3, 2, 1};
  const uint32_t colour = gD3D.vertexColor;
  const float z = gDrawState.drawDepth;
  if (d->vertexKind == kVertexBlended) {
    auto* v = static_cast<VertexBlended*>(QueueVertices3D(kVertexBlended, kPrimTriangleList, 6));
    if (!v) return;
    for (int i = 0; i < 6; ++i) {
      const Corner& k = c[kOrder[i]];
      v[i].x = k.x;
      v[i].y = k.y;
      v[i].z = z;
      v[i].diffuse = colour;
      v[i].u0 = k.gx * gD3D.blendScaleU;
      v[i].v0 = k.gy * gD3D.blendScaleV;
      v[i].u1 = k.u;
      v[i].v1 = k.v;
    }
    return;
  }
  auto* v = static_cast<VertexTextured*>(QueueVertices3D(kVertexTextured, kPrimTriangleList, 6));
  if (!v) return;
  for (int i = 0; i < 6; ++i) {
    const Corner& k = c[kOrder[i]];
    v[i].x = k.x;
    v[i].y = k.y;
    v[i].z = z;
    v[i].diffuse = colour;
    v[i].u = k.u;
    v[i].v = k.v;
  }
}

float TextureWidth(const Surface3DData* tile) {
  const ImageRecord* r = GetImageRecord(tile->imageRecord);
  return r ? static_cast<float>(r->width) : 1.0f;
}

float TextureHeight(const Surface3DData* tile) {
  const ImageRecord* r = GetImageRecord(tile->imageRecord);
  return r ? static_cast<float>(r->height) : 1.0f;
}

// Clamps the corners into (left, top, right, bottom), moving the texture
// coordinates by the clamped distance so that the texture keeps its place.
// `scaleX`/`scaleY` are target pixels per graphic pixel.
void ClampCorners(Corner* c, const Surface3DData* tile, float left, float top, float right, float bottom,
                  float scaleX, float scaleY) {
  const float du = 1.0f / (TextureWidth(tile) * scaleX);
  const float dv = 1.0f / (TextureHeight(tile) * scaleY);
  for (int i = 0; i < 4; ++i) {
    Corner& k = c[i];
    const float x = std::clamp(k.x, left, right);
    const float y = std::clamp(k.y, top, bottom);
    k.u += (x - k.x) * du;
    k.v += (y - k.y) * dv;
    k.gx += (x - k.x) / scaleX;
    k.gy += (y - k.y) / scaleY;
    k.x = x;
    k.y = y;
  }
}

void TileCorners(const Surface3DData* tile, Corner* c) {
  for (int i = 0; i < 4; ++i) {
    const Tile3DVertex& v = tile->vertices[i];
    c[i] = Corner{v.x, v.y, v.u, v.v, v.x, v.y};
  }
}

float FrontLeft() { return static_cast<float>(gDrawState.frontScreenRect.left); }
float FrontTop() { return static_cast<float>(gDrawState.frontScreenRect.top); }

}  // namespace

int DrawGraphic3D(int x, int y, float fx, float fy, const GraphicEntry* g, int transparent, int keepAlpha) {
  int result;
  if (!Begin(g, DrawFlags(transparent, keepAlpha ? kDrawKeepAlpha : 0), &result)) return result;
  const IntRect& region = gDrawState.drawRegion;
  const bool inside = x >= region.left && y >= region.top && int64_t{x} + g->width <= region.right &&
                      int64_t{y} + g->height <= region.bottom;
  const float ox = FrontLeft();
  const float oy = FrontTop();
  const float px = fx - 0.5f + ox;
  const float py = fy - 0.5f + oy;
  const float left = gDrawState.drawRegionF[0] + ox;
  const float top = gDrawState.drawRegionF[1] + oy;
  const float right = gDrawState.drawRegionF[2] + ox;
  const float bottom = gDrawState.drawRegionF[3] + oy;
  if (!inside && (int64_t{x} + g->width <= region.left || int64_t{y} + g->height <= region.top ||
                  x >= region.right || y >= region.bottom)) {
    return Finish();
  }
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = UseTile(g->parts[i]);
    if (!tile) return -1;
    Corner c[4];
    TileCorners(tile, c);
    for (Corner& k : c) {
      k.x += px;
      k.y += py;
    }
    if (!inside) ClampCorners(c, tile, left, top, right, bottom, 1.0f, 1.0f);
    QueueQuad(c);
  }
  return Finish();
}

int DrawGraphicStretched3D(int x1, int y1, int x2, int y2, float fx1, float fy1, float fx2, float fy2,
                           const GraphicEntry* g, int transparent, int smooth) {
  if (x1 == x2 || y1 == y2) return 0;
  int result;
  const int keep = smooth && gDrawState.filterMode != 1 ? kDrawKeepAlpha : 0;
  if (!Begin(g, DrawFlags(transparent, keep), &result)) return result;
  const float sx = (fx2 - fx1) / static_cast<float>(g->width);
  const float sy = (fy2 - fy1) / static_cast<float>(g->height);
  const float ox = FrontLeft();
  const float oy = FrontTop();
  IntRect r = {x1, y1, x2, y2};
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  const IntRect& region = gDrawState.drawRegion;
  const bool inside = r.left >= region.left && r.top >= region.top && r.right <= region.right && r.bottom <= region.bottom;
  if (!inside && (r.right <= region.left || r.bottom <= region.top || r.left >= region.right || r.top >= region.bottom)) {
    return Finish();
  }
  const float left = gDrawState.drawRegionF[0] - 0.5f + ox;
  const float top = gDrawState.drawRegionF[1] - 0.5f + oy;
  const float right = gDrawState.drawRegionF[2] - 0.5f + ox;
  const float bottom = gDrawState.drawRegionF[3] - 0.5f + oy;
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = UseTile(g->parts[i]);
    if (!tile) return -1;
    Corner c[4];
    TileCorners(tile, c);
    for (Corner& k : c) {
      k.x = fx1 - 0.5f + ox + k.gx * sx;
      k.y = fy1 - 0.5f + oy + k.gy * sy;
    }
    // A mirrored rectangle clamps like any other: the steps turn with it.
    if (!inside) ClampCorners(c, tile, left, top, right, bottom, sx, sy);
    QueueQuad(c);
  }
  return Finish();
}

int DrawGraphicRotated3D(float x, float y, double scale, double angle, const GraphicEntry* g, int transparent,
                         int mirror) {
  if (!gD3D.object) return -1;
  if (gD3D.suppressed) return 0;
  if (scale == 0.0) return -1;
  int result;
  if (!Begin(g, DrawFlags(transparent, 0), &result)) return result;
  x += FrontLeft();
  y += FrontTop();
  float sine = 0.0f;
  float cosine = 1.0f;
  if (angle != 0.0) {
    sine = std::sin(static_cast<float>(angle));
    cosine = std::cos(static_cast<float>(angle));
  }
  const float sx = mirror ? static_cast<float>(-scale) : static_cast<float>(scale);
  const float sy = static_cast<float>(scale);
  const int w = g->width;
  const int h = g->height;
  const bool integral = std::fabs(x - std::nearbyint(x)) <= 0.00001f && std::fabs(y - std::nearbyint(y)) <= 0.00001f;
  float cx = static_cast<float>(w) / 2.0f;
  float cy = static_cast<float>(h) / 2.0f;
  float ax = x;
  float ay = y;
  const bool evenW = w % 2 == 0;
  const bool evenH = h % 2 == 0;
  if (integral) {
    if (scale != 1.0 || (evenW && evenH)) {
      ax = x - 0.5f;
      ay = y - 0.5f;
    } else if (evenW != evenH) {
      if (evenW) cx -= 0.5f;
      if (evenH) cy -= 0.5f;
    }
  }
  // Turned about the graphic's exact middle, the bottom corners mirror the
  // top ones.
  const bool centred = cx == static_cast<float>(w) / 2.0f && cy == static_cast<float>(h) / 2.0f;
  const bool exactMiddle = centred && (scale != 1.0 || (!evenW && !evenH));
  // Snapping keeps edges that lie on pixel lines on them.
  enum { kNoSnap, kPositionSnap, kAxisSnap } snap = kNoSnap;
  if (!integral) {
    snap = kPositionSnap;
  } else if (angle != 0.0 && (w % 2 != 0 || h % 2 != 0)) {
    const double a = angle;
    const bool nearAxis = (a > -0.0698 && a < 0.0698) || (a > 1.5010 && a < 1.6406) || (a > 3.0718 && a < 3.2114) ||
                          (a > 4.6426 && a < 4.7822) || (a > 6.2134 && a < 6.3530) || a <= -0.0698 || a >= 6.3530;
    if (nearAxis) snap = kAxisSnap;
  }
  const bool oneTile = g->partCount == 1;
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = UseTile(g->parts[i]);
    if (!tile) return -1;
    Corner c[4];
    TileCorners(tile, c);
    for (Corner& k : c) {
      const float dx = (k.gx - cx) * sx;
      const float dy = (k.gy - cy) * sy;
      k.x = ax + dx * cosine - dy * sine;
      k.y = ay + dx * sine + dy * cosine;
    }
    if (oneTile && exactMiddle) {
      c[3].x = 2.0f * ax - c[0].x;
      c[3].y = 2.0f * ay - c[0].y;
      c[2].x = 2.0f * ax - c[1].x;
      c[2].y = 2.0f * ay - c[1].y;
    }
    if (snap != kNoSnap && angle != 0.0 && CurrentDevice3D() && CurrentDevice3D()->vertexKind == kVertexTextured) {
      const bool verticalEdge = std::fabs(c[0].x - c[1].x) < 0.01f || std::fabs(c[0].x - c[2].x) < 0.01f;
      const bool horizontalEdge = std::fabs(c[0].y - c[1].y) < 0.01f || std::fabs(c[0].y - c[2].y) < 0.01f;
      auto onInteger = [](float v, float tolerance) { return std::fabs(v - std::nearbyint(v)) < tolerance; };
      bool moveX = false;
      bool moveY = false;
      if (oneTile && exactMiddle) {
        if (snap == kPositionSnap) {
          moveX = verticalEdge && onInteger(c[0].x, 0.0001f);
          moveY = horizontalEdge && onInteger(c[0].y, 0.0001f);
        } else {
          moveX = verticalEdge;
          moveY = horizontalEdge;
        }
      } else {
        moveX = verticalEdge && onInteger(c[0].x, 0.001f);
        moveY = horizontalEdge && onInteger(c[0].y, 0.001f);
        if (snap == kAxisSnap) {
          moveX = moveX && w % 2 != 0;
          moveY = moveY && h % 2 != 0;
        }
      }
      for (Corner& k : c) {
        if (moveX) k.x -= 0.5f;
        if (moveY) k.y -= 0.5f;
      }
    }
    QueueQuad(c);
  }
  return Finish();
}

namespace {

struct Point {
  float x, y;
};

Point Lerp(Point a, Point b, float t) { return Point{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// A tile into four corners: one quad when they are close to a
// parallelogram, else a 7 x 7 grid of cells.
void DrawPartQuad3D(const Surface3DData* tile, Point tl, Point tr, Point bl, Point br) {
  const bool parallel = std::fabs((tr.x - tl.x) - (br.x - bl.x)) < 1.0f && std::fabs((tr.y - tl.y) - (br.y - bl.y)) < 1.0f &&
                        std::fabs((bl.x - tl.x) - (br.x - tr.x)) < 1.0f && std::fabs((bl.y - tl.y) - (br.y - tr.y)) < 1.0f;
  const Tile3DVertex* tv = tile->vertices;
  if (parallel) {
    const Point corners[4] = {tl, tr, bl, br};
    Corner c[4];
    for (int i = 0; i < 4; ++i) c[i] = Corner{corners[i].x, corners[i].y, tv[i].u, tv[i].v, tv[i].x, tv[i].y};
    QueueQuad(c);
    return;
  }
  VertexTextured grid[64];
  for (int r = 0; r < 8; ++r) {
    const float t = static_cast<float>(r) / 7.0f;
    const Point left = Lerp(tl, bl, t);
    const Point right = Lerp(tr, br, t);
    const float vLeft = tv[0].v + (tv[2].v - tv[0].v) * t;
    for (int k = 0; k < 8; ++k) {
      const float s = static_cast<float>(k) / 7.0f;
      const Point p = Lerp(left, right, s);
      VertexTextured& v = grid[r * 8 + k];
      v.x = p.x;
      v.y = p.y;
      v.z = gDrawState.drawDepth;
      v.rhw = 1.0f;
      v.diffuse = gD3D.vertexColor;
      v.u = tv[0].u + (tv[1].u - tv[0].u) * s;
      v.v = vLeft;
    }
  }
  DrawGridStrips3D(gD3D.currentDevice, 8, 8, grid);
}

}  // namespace

int DrawGridStrips3D(int device, int columns, int rows, const void* vertices) {
  if (columns < 2 || rows < 2) return -1;
  Device3DRecord* d = &gD3D.devices[device & (kDeviceRecords - 1)];
  if (!DeviceReady(d)) return -1;
  FlushVertexBatch();
  const int vertexCount = columns * rows;
  uint16_t indices[1000];
  int count = 0;
  auto draw = [&]() {
    if (count > 0 && d->device) {
      HostDevice3DDrawIndexedPrimitive(d->device, kPrimTriangleStrip, kVertexFormatCodes[kVertexTextured], vertices,
                                       vertexCount, indices, count);
    }
    count = 0;
  };
  for (int r = 0; r + 1 < rows; ++r) {
    const int stripLength = columns * 2;
    const int join = count > 0 ? 2 : 0;
    if (count + join + stripLength > 1000) draw();
    if (count > 0) {
      // Repeated indices join the strips with empty triangles.
      indices[count] = indices[count - 1];
      ++count;
      indices[count++] = static_cast<uint16_t>((r + 1) * columns);
    }
    for (int k = 0; k < columns; ++k) {
      indices[count++] = static_cast<uint16_t>((r + 1) * columns + k);
      indices[count++] = static_cast<uint16_t>(r * columns + k);
    }
  }
  draw();
  return 0;
}

int DrawGraphicQuad3D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, const GraphicEntry* g,
                      int transparent) {
  // Corners: top-left, top-right, bottom-left, bottom-right.
  if (x1 == x3 && x2 == x4 && y1 == y2 && y3 == y4) {
    return DrawGraphicStretched3D(x1, y1, x4, y4, static_cast<float>(x1), static_cast<float>(y1),
                                  static_cast<float>(x4), static_cast<float>(y4), g, transparent, 1);
  }
  if (gDrawState.blendGraphic == -1) {
    return DrawGraphicQuadF3D(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                              static_cast<float>(y2), static_cast<float>(x3), static_cast<float>(y3),
                              static_cast<float>(x4), static_cast<float>(y4), g, transparent);
  }
  int result;
  if (!Begin(g, DrawFlags(transparent, kDrawKeepAlpha), &result)) return result;
  FlushVertexBatch();
  const float ox = FrontLeft() - 0.5f;
  const float oy = FrontTop() - 0.5f;
  const Point tl = {x1 + ox, y1 + oy};
  const Point tr = {x2 + ox, y2 + oy};
  const Point bl = {x3 + ox, y3 + oy};
  const Point br = {x4 + ox, y4 + oy};
  const float w = static_cast<float>(g->width);
  const float h = static_cast<float>(g->height);
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = UseTile(g->parts[i]);
    if (!tile) return -1;
    Corner c[4];
    TileCorners(tile, c);
    for (int k = 0; k < 4; ++k) {
      const float u = c[k].gx;
      const float v = c[k].gy;
      if (tile->sides[k]) {
        c[k].x = tl.x + (tr.x - tl.x) * u / w + (bl.x - tl.x) * v / h;
        c[k].y = tl.y + (tr.y - tl.y) * u / w + (bl.y - tl.y) * v / h;
      } else {
        c[k].x = br.x + (br.x - bl.x) * (u - w) / w + (br.x - tr.x) * (v - h) / h;
        c[k].y = br.y + (br.y - bl.y) * (u - w) / w + (br.y - tr.y) * (v - h) / h;
      }
    }
    QueueQuad(c);
  }
  return Finish();
}

int DrawGraphicQuadF3D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                       const GraphicEntry* g, int transparent) {
  if (gDrawState.blendGraphic != -1) {
    auto round = [](float v) { return static_cast<int>(std::lrint(v)); };
    return DrawGraphicQuad3D(round(x1), round(y1), round(x2), round(y2), round(x3), round(y3), round(x4), round(y4),
                             g, transparent);
  }
  int result;
  if (!Begin(g, DrawFlags(transparent, 0), &result)) return result;
  const float ox = FrontLeft();
  const float oy = FrontTop();
  const Point tl = {x1 + ox, y1 + oy};
  const Point tr = {x2 + ox, y2 + oy};
  const Point bl = {x3 + ox, y3 + oy};
  const Point br = {x4 + ox, y4 + oy};
  if (g->partCount == 1) {
    const Surface3DData* tile = UseTile(g->parts[0]);
    if (!tile) return -1;
    DrawPartQuad3D(tile, tl, tr, bl, br);
    return Finish();
  }
  const float w = static_cast<float>(g->width);
  const float h = static_cast<float>(g->height);
  auto map = [&](float u, float v) {
    const Point l = Lerp(tl, bl, v / h);
    const Point r = Lerp(tr, br, v / h);
    return Lerp(l, r, u / w);
  };
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = UseTile(g->parts[i]);
    if (!tile) return -1;
    const Tile3DVertex* v = tile->vertices;
    DrawPartQuad3D(tile, map(v[0].x, v[0].y), map(v[1].x, v[1].y), map(v[2].x, v[2].y), map(v[3].x, v[3].y));
  }
  return Finish();
}
