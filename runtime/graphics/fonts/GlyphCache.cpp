#include "runtime/graphics/fonts/GlyphCache.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/graphics/fonts/LeadByte.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/GraphicFromImage.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/fonts/GlyphSource.h"

namespace {

// One row of an edge stamp: the pixels dx = from..to at dy from the glyph pixel.
struct StampSpan {
  int dy, from, to;
};

// The edge shape around a glyph pixel, as spans; returns their number.
int EdgeStampSpans(int edgeSize, StampSpan* spans) {
  if (edgeSize <= 1) {
    // The four neighbours.
    spans[0] = {-1, 0, 0};
    spans[1] = {0, -1, -1};
    spans[2] = {0, 1, 1};
    spans[3] = {1, 0, 0};
    return 4;
  }
  static constexpr int kWidths2[] = {3, 5, 5, 5, 3};
  static constexpr int kWidths3[] = {1, 5, 5, 7, 5, 5, 1};
  static constexpr int kWidths4[] = {5, 7, 9, 9, 9, 9, 9, 7, 5};
  const int* widths = edgeSize == 2 ? kWidths2 : edgeSize == 3 ? kWidths3 : edgeSize == 4 ? kWidths4 : nullptr;
  const int rows = 2 * edgeSize + 1;
  for (int r = 0; r < rows; ++r) {
    const int half = widths ? (widths[r] - 1) / 2 : edgeSize;
    spans[r] = {r - edgeSize, -half, half};
  }
  return rows;
}

int16_t ToI16(int value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

uint32_t HostCode(uint16_t code) { return code < 256 ? code : static_cast<uint32_t>(code & 0xFF) << 8 | code >> 8; }

bool IsSpaceCode(uint16_t code) { return code == 0x20 || code == (0x81 | 0x40 << 8); }

// The glyph level of bitmap pixel (x, y): 0..16, mono bits as 16.
int LevelAt(const HostGlyph& g, HostGlyphFormat format, int x, int y) {
  const uint8_t* row = g.bits + static_cast<int64_t>(y) * g.pitch;
  if (format == HostGlyphGrey) return row[x];
  return (row[x >> 3] >> (7 - (x & 7)) & 1) ? 16 : 0;
}

// Writes the glyph (clipped to the cell) and its edge into the cell's pixels.
void StoreGlyph(const FontEntry& e, const HostGlyph& g, HostGlyphFormat format, uint8_t* pixels) {
  const int cs = e.cellSize;
  const bool edged = (e.type & kFontEdged) != 0;
  const int o = edged ? std::max(e.edgeSize, 1) : 0;
  const int w = std::min(g.boxWidth, cs - o);
  const int h = std::min(g.boxHeight, cs - o);
  if (w <= 0 || h <= 0 || !g.bits) return;
  const int pitch = e.cachePitch;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = pixels + static_cast<int64_t>(y + o) * pitch;
    for (int x = 0; x < w; ++x) {
      const int level = LevelAt(g, format, x, y);
      if (level == 0) continue;
      const int cx = x + o;
      switch (e.type) {
        case 0: row[cx >> 3] |= static_cast<uint8_t>(0x80 >> (cx & 7)); break;
        case kFontEdged: row[cx] = 1; break;
        default: row[cx] = static_cast<uint8_t>(level - 1); break;  // grey, with or without edge
      }
    }
  }
  if (!edged) return;
  StampSpan spans[2 * 1024 + 1];
  const int spanCount = EdgeStampSpans(std::min(o, 1024), spans);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int level = LevelAt(g, format, x, y);
      if (level == 0) continue;
      for (int s = 0; s < spanCount; ++s) {
        const int ry = y + o + spans[s].dy;
        if (ry < 0 || ry >= cs) continue;
        uint8_t* row = pixels + static_cast<int64_t>(ry) * pitch;
        const int from = std::max(0, x + o + spans[s].from);
        const int to = std::min(cs - 1, x + o + spans[s].to);
        if (e.type == kFontEdged) {
          for (int rx = from; rx <= to; ++rx) {
            if (row[rx] != 1) row[rx] = 2;
          }
        } else {
          const int stamp = level - 1;
          for (int rx = from; rx <= to; ++rx) {
            if ((row[rx] >> 4) < stamp) row[rx] = static_cast<uint8_t>((row[rx] & 0x0F) | stamp << 4);
          }
        }
      }
    }
  }
}

// A glyph of a texture cache: composed in the work image as white with an
// alpha (the glyph layer on the left, the edge layer on the right), then
// copied into the cell of the cache texture.
void StoreTextureGlyph(FontEntry& e, const HostGlyph& g, HostGlyphFormat format, int cellNumber) {
  GraphImage& work = e.workImage;
  const int cs = e.cellSize;
  std::memset(work.pixels, 0, static_cast<size_t>(work.pitch) * static_cast<size_t>(work.height));
  const bool edged = (e.type & kFontEdged) != 0;
  const bool grey = format == HostGlyphGrey;
  const int o = edged ? std::max(e.edgeSize, 1) : 0;
  const int w = g.bits ? std::min(g.boxWidth, cs - o) : 0;
  const int h = g.bits ? std::min(g.boxHeight, cs - o) : 0;
  // Levels 0..16 of both layers over the cell.
  std::vector<uint8_t> glyph(static_cast<size_t>(cs) * static_cast<size_t>(cs), 0);
  std::vector<uint8_t> edge(glyph.size(), 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      glyph[static_cast<size_t>(y + o) * static_cast<size_t>(cs) + static_cast<size_t>(x + o)] =
          static_cast<uint8_t>(LevelAt(g, format, x, y));
    }
  }
  if (edged) {
    StampSpan spans[2 * 1024 + 1];
    const int spanCount = EdgeStampSpans(std::min(o, 1024), spans);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int level = LevelAt(g, format, x, y);
        if (level == 0) continue;
        for (int s = 0; s < spanCount; ++s) {
          const int ry = y + o + spans[s].dy;
          if (ry < 0 || ry >= cs) continue;
          for (int rx = std::max(0, x + o + spans[s].from); rx <= std::min(cs - 1, x + o + spans[s].to); ++rx) {
            uint8_t& old = edge[static_cast<size_t>(ry) * static_cast<size_t>(cs) + static_cast<size_t>(rx)];
            old = grey ? static_cast<uint8_t>((256 - (16 - old) * (16 - level)) / 16) : 16;
          }
        }
      }
    }
  }
  const ColorFormat& f = work.format;
  const int bytes = f.bytesPerPixel;
  auto put = [&](int x, int y, int level) {
    const int alpha = level > 0 ? (grey ? (level - 1) << 4 : 255) : 0;
    if (level == 0 && !grey) return;
    StorePixelBytes(work.pixels + static_cast<size_t>(y) * static_cast<size_t>(work.pitch) +
                        static_cast<size_t>(x) * static_cast<size_t>(bytes),
                    bytes, EncodePixel(f, 255, 255, 255, alpha));
  };
  for (int y = 0; y < cs; ++y) {
    for (int x = 0; x < cs; ++x) {
      put(x, y, glyph[static_cast<size_t>(y) * static_cast<size_t>(cs) + static_cast<size_t>(x)]);
      if (edged) put(cs + x, y, edge[static_cast<size_t>(y) * static_cast<size_t>(cs) + static_cast<size_t>(x)]);
    }
  }
  const int cellX = cellNumber / e.cellsPerColumn * cs;
  const int cellY = cellNumber % e.cellsPerColumn * cs;
  TransferImageRectToGraphic(work, nullptr, nullptr, IntRect{0, 0, cs, cs}, cellX, cellY, e.cacheTexture, 0);
  if (edged) {
    TransferImageRectToGraphic(work, nullptr, nullptr, IntRect{cs, 0, 2 * cs, cs}, cellX + e.cacheWidth, cellY,
                               e.cacheTexture, 0);
  }
}

void RenderInto(FontEntry* e, const HostGlyphSource* source, uint16_t code) {
  const int number = e->nextCell;
  GlyphCell& cell = e->cells[number];
  if (cell.inUse && cell.code >= 0) e->glyphIndex[cell.code] = -1;
  e->glyphIndex[code] = static_cast<int16_t>(number);
  cell.code = code;
  cell.inUse = 1;
  const HostGlyphFormat format = (e->type & kFontAntialiased) ? HostGlyphGrey : HostGlyphMono;
  HostGlyph g{};
  // A face that cannot render at all leaves an empty glyph: text goes on.
  if (!source->renderGlyph(e->hostFace, HostCode(code), format, &g)) g = HostGlyph{};
  if (IsSpaceCode(code)) g.boxWidth = g.boxHeight = 0;
  if (g.boxWidth < 0 || g.boxHeight < 0) g.boxWidth = g.boxHeight = 0;
  if (e->textureCache) {
    if (e->cacheTexture >= 0 && !e->cacheTextureLost) StoreTextureGlyph(*e, g, format, number);
  } else {
    uint8_t* pixels = e->cache + static_cast<int64_t>(number) * e->cellSize * e->cachePitch;
    std::memset(pixels, 0, static_cast<size_t>(e->cellSize) * static_cast<size_t>(e->cachePitch));
    StoreGlyph(*e, g, format, pixels);
  }

  const int grow = (e->type & kFontEdged) ? 2 * std::max(e->edgeSize, 1) : 0;
  cell.originX = ToI16(g.originX);
  cell.yOffset = ToI16(e->ascent - g.originY);
  cell.advance = ToI16(g.advance + grow);
  cell.boxWidth = ToI16(std::min(g.boxWidth + grow, e->cellSize));
  cell.boxHeight = ToI16(std::min(g.boxHeight + grow, e->cellSize));
  e->nextCell = (number + 1) % e->cellCount;
}

}  // namespace

void ClearGlyphCells(FontEntry* entry) {
  std::fill(std::begin(entry->glyphIndex), std::end(entry->glyphIndex), static_cast<int16_t>(-1));
  for (int i = 0; i <= kGlyphCellsUsable; ++i) {
    entry->cells[i] = GlyphCell{0, 0, 0, 0, i < entry->cellCount ? i : -1, 0, 0, -1};
  }
  entry->nextCell = 0;
}

int ResetGlyphCache(int font) {
  FontEntry* entry = LiveFontEntry(font);
  if (!entry) return -1;
  ClearGlyphCells(entry);
  return 0;
}

const GlyphCell* RenderGlyph(int font, int count, const uint16_t* codes) {
  FontEntry* entry = LiveFontEntry(font);
  if (!entry || count <= 0 || gScreen.resetting) return nullptr;
  // A cache texture lost with the graphics is made again (and empty).
  if (entry->textureCache && PrepareFontCacheTarget(font) != 0) return nullptr;
  const HostGlyphSource* source = HostCurrentGlyphSource();
  int last = 0;
  for (int i = 0; i < count; ++i) {
    last = entry->nextCell;
    RenderInto(entry, source, codes[i]);
  }
  return &entry->cells[last];
}

const GlyphCell* GlyphCellOf(FontEntry* entry, uint16_t code) {
  int number = entry->glyphIndex[code];
  if (number < 0) {
    number = entry->nextCell;
    RenderInto(entry, HostCurrentGlyphSource(), code);
  }
  return &entry->cells[number];
}

int LookupGlyphs(uint16_t* characters, const char* text, int font, int byteCount, int* characterCount) {
  FontEntry* entry = LiveFontEntry(font);
  if (!entry) return -1;
  static uint16_t batch[kGlyphBatch];
  const int batchLimit = std::min(kGlyphBatch, entry->cellCount);
  int batchCount = 0;
  int n = 0;
  int i = 0;
  while (i < byteCount && n < kGlyphBatch) {
    const int length = FontCharLength(text + i, byteCount - i, entry->charset);
    const uint8_t first = static_cast<uint8_t>(text[i]);
    const uint16_t code = length == 2 ? static_cast<uint16_t>(first | static_cast<uint8_t>(text[i + 1]) << 8) : first;
    characters[n++] = code;
    i += length;
    // Each missing code once, so that a batch never pushes out its own glyphs.
    if (entry->glyphIndex[code] >= 0 || batchCount >= batchLimit) continue;
    if (std::find(batch, batch + batchCount, code) == batch + batchCount) batch[batchCount++] = code;
  }
  if (batchCount > 0) RenderGlyph(font, batchCount, batch);
  if (characterCount) *characterCount = n;
  return i;
}
