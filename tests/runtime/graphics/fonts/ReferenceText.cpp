#include "tests/runtime/graphics/fonts/ReferenceText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "runtime/ShiftJis.h"

bool InEdgeShape(int dx, int dy, int edgeSize) {
  if (edgeSize <= 1) return std::abs(dx) + std::abs(dy) == 1;
  static const std::vector<std::vector<int>> widths = {{}, {}, {3, 5, 5, 5, 3}, {1, 5, 5, 7, 5, 5, 1},
                                                       {5, 7, 9, 9, 9, 9, 9, 7, 5}};
  if (std::abs(dy) > edgeSize) return false;
  if (edgeSize > 4) return std::abs(dx) <= edgeSize;
  const int width = widths[edgeSize][dy + edgeSize];
  return std::abs(dx) <= (width - 1) / 2;
}

std::vector<uint8_t> ReferenceCell(const FakeGlyphSource::Glyph& g, int type, int edgeSize, int cs) {
  std::vector<uint8_t> cell(static_cast<size_t>(cs) * cs, 0);
  const bool edged = type & 1;
  const int o = edged ? edgeSize : 0;
  std::vector<int> level(static_cast<size_t>(cs) * cs, 0);  // glyph level at each cell pixel
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) {
      if (x + o < cs && y + o < cs) level[(y + o) * cs + x + o] = g.LevelAt(x, y);
    }
  }
  for (int p = 0; p < cs * cs; ++p) {
    const int l = level[p];
    if (type & 2) {
      cell[p] = l > 0 ? static_cast<uint8_t>(l - 1) : 0;
    } else {
      cell[p] = l >= 8 ? 1 : 0;  // mono: set from level 8
    }
  }
  if (!edged) return cell;
  const int reach = std::max(edgeSize, 1);
  for (int y = 0; y < cs; ++y) {
    for (int x = 0; x < cs; ++x) {
      // The strongest glyph pixel whose edge reaches here.
      int best = -1;
      for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
          const int sx = x - dx, sy = y - dy;
          if (sx < 0 || sy < 0 || sx >= cs || sy >= cs || !InEdgeShape(dx, dy, edgeSize)) continue;
          const int l = level[sy * cs + sx];
          const bool glyphPixel = (type & 2) ? l > 0 : l >= 8;
          if (glyphPixel) best = std::max(best, l);
        }
      }
      uint8_t& v = cell[y * cs + x];
      if (type == 1) {
        if (best >= 0 && v != 1) v = 2;
      } else if (best > 0) {
        v = static_cast<uint8_t>((v & 0x0F) | std::max(v >> 4, best - 1) << 4);
      }
    }
  }
  return cell;
}

int CachedValue(const FontEntry& e, const GlyphCell& cell, int x, int y) {
  const uint8_t* row = e.cache + (static_cast<int64_t>(cell.cellNumber) * e.cellSize + y) * e.cachePitch;
  if (e.cacheDepth == 1) return row[x >> 3] >> (7 - (x & 7)) & 1;
  return row[x];
}

namespace {

uint32_t Mix(uint32_t text, uint32_t edge, int shift, int width, int k) {
  const int mask = (1 << width) - 1;
  const int t = (text >> shift) & mask, e = (edge >> shift) & mask;
  const int diff = (t - e) * k;
  const int part = diff >= 0 ? diff / 256 : -((-diff + 255) / 256);  // floor
  return static_cast<uint32_t>(e + part) << shift;
}

void WritePixel(MemImg* target, int x, int y, int type, int v, uint32_t P, uint32_t R) {
  const MemImgStore& s = *target->store;
  const int bytes = MemImgBytesPerPixel(&s);
  uint8_t* at = target->pixels + static_cast<int64_t>(y) * s.pitch + static_cast<int64_t>(x) * bytes;
  const int G = v & 15, E = v >> 4;
  auto put16 = [&](uint32_t value) { uint16_t w = static_cast<uint16_t>(value); std::memcpy(at, &w, 2); };
  auto put32 = [&](uint32_t value) { std::memcpy(at, &value, 4); };
  if (bytes == 1) {
    const uint32_t value = (type == 1 && v == 2) || (type == 3 && G == 0) ? R : P;
    *at = static_cast<uint8_t>(value);
    return;
  }
  const bool is16 = s.pixelType == MemImgRgb565;
  const bool alpha = bytes == 4;
  if (type == 0) return is16 ? put16(P) : put32(P);
  if (type == 1) {
    if (is16) return put16(v == 1 ? P : R);
    return put32(v == 1 ? P : (R & 0xFFFFFF));
  }
  if (!alpha) return put16(type == 3 && G == 0 ? R : P);
  const int shift = is16 ? 16 : 24;
  const uint32_t colourMask = is16 ? 0xFFFF : 0xFFFFFF;
  if (type == 2) return put32((P & colourMask) | static_cast<uint32_t>(G * 16) << shift);
  if (G == 15) return put32((P & colourMask) | 255u << shift);
  if (G == 0) return put32((R & colourMask) | static_cast<uint32_t>(E * 16) << shift);
  const int A = ((15 - G) * E + G * 16) % 256;
  const int K = G * 4096 / A;
  uint32_t c;
  if (is16) {
    c = Mix(P, R, 11, 5, K) | Mix(P, R, 5, 6, K) | Mix(P, R, 0, 5, K);
  } else {
    c = Mix(P, R, 16, 8, K) | Mix(P, R, 8, 8, K) | Mix(P, R, 0, 8, K);
  }
  put32(c | static_cast<uint32_t>(A) << shift);
}

}  // namespace

int ReferenceDrawText(const FakeGlyphSource& glyphs, const FontEntry& e, MemImg* target, const IntRect& clip, int x,
                      int y, const char* text, uint32_t P, uint32_t R) {
  int pen = 0;
  const size_t length = std::strlen(text);
  for (size_t i = 0; i < length;) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    const bool two = IsShiftJisLeadByte(b) && i + 1 < length;
    const uint32_t code = two ? b << 8 | static_cast<uint8_t>(text[i + 1]) : b;
    i += two ? 2 : 1;
    FakeGlyphSource::Glyph g = glyphs.GlyphFor(code, e.size);
    const bool space = code == 0x20 || code == 0x8140;
    const int edge = (e.type & 1) ? e.edgeSize : 0;
    const int boxW = std::min((space ? 0 : g.width) + 2 * edge, e.cellSize);
    const int boxH = std::min((space ? 0 : g.height) + 2 * edge, e.cellSize);
    if (!space) {
      const std::vector<uint8_t> cell = ReferenceCell(g, e.type, e.edgeSize, e.cellSize);
      const int left = x + pen + g.originX;
      const int top = y + e.ascent - g.originY;
      for (int cy = 0; cy < boxH; ++cy) {
        for (int cx = 0; cx < boxW; ++cx) {
          const int tx = left + cx, ty = top + cy;
          if (tx < clip.left || tx >= clip.right || ty < clip.top || ty >= clip.bottom) continue;
          if (tx < 0 || ty < 0 || tx >= target->width || ty >= target->height) continue;
          const int v = cell[cy * e.cellSize + cx];
          if (v != 0) WritePixel(target, tx, ty, e.type, v, P, R);
        }
      }
    }
    pen += g.advance + 2 * edge + e.spacing;
  }
  return pen;
}
