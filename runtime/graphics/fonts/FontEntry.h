#pragma once
// The layer's fonts: 40 slots of FontEntry records behind type-4 handles. A
// font is a host face of a given size, weight and style with its own cache
// of rendered glyphs in fixed square cells, reused in cyclic order, and an
// index that gives the cell of each character code in constant time.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"

constexpr int kFontSlots = 40;
constexpr int kGlyphCellsUsable = 2024;
constexpr int kGlyphIndexSize = 65536;
constexpr int kGlyphBatch = 256;
constexpr int kFontFaceNameSize = 256;

// Font type bits.
constexpr int kFontEdged = 1;
constexpr int kFontAntialiased = 2;

struct GlyphCell {
  uint16_t inUse;
  int16_t originX;    // black-box left from the pen
  int16_t yOffset;    // black-box top below the cell top
  int16_t advance;    // with twice the edge size when edged
  int32_t cellNumber; // fixed place in the cache; -1 in the spare cell
  int16_t boxWidth;   // black box with twice the edge size when edged,
  int16_t boxHeight;  // never larger than the cell
  int32_t code;       // the character whose index entry points here; -1 none
};

struct FontEntry {
  uint32_t check;
  int* deletedNotify;
  GlyphCell cells[kGlyphCellsUsable + 1];
  int16_t glyphIndex[kGlyphIndexSize];  // cell of each character code, -1 when not cached
  int32_t nextCell;
  int32_t cellCount;
  uint8_t* cache;      // memory cache: one column of cells
  int32_t cachePitch;
  int32_t cacheDepth;  // 1 or 8 bits per pixel
  char faceName[kFontFaceNameSize];
  int32_t thickness;
  int32_t size;
  int32_t cellHeight;
  int32_t italic;
  int32_t spacing;
  int32_t cellSize;
  int32_t hostFace;    // the glyph source's face
  int32_t ascent;      // of the host face: cell top to baseline
  int32_t type;        // kFontEdged | kFontAntialiased
  int32_t charset;     // 0 default, 1 Shift-JIS, 2 Korean
  int32_t edgeSize;
  int32_t cacheWidth;
  int32_t cacheHeight;
  int32_t cellsPerColumn;
  int32_t textImage;      // screen-sized 2D surface for blended and scaled strings, -1 none
  int32_t textImageLost;  // 1 while the text image must be (re)made
  int32_t cacheTexture;   // graphic handle of a texture cache, -1 none
  int32_t edgeLayer;
  int32_t cacheTextureLost;
  GraphImage workImage;   // one glyph composed in the cache texture's format
  int32_t textureCache;   // 1 when the cache is a texture
};

struct FontTable {
  FontEntry* slots[kFontSlots];
  int32_t nextCheck;  // 0..2047
};

extern FontTable gFontTable;

// The entry of a live handle, or null: type 4, slot below 40, an entry in
// the slot with the handle's check number.
FontEntry* LiveFontEntry(int font);

// The type a font asked for with these values is created with: an edge size
// above 1 adds the edge; no anti-aliasing on an 8-bit screen.
int EffectiveFontType(int type, int edgeSize);
