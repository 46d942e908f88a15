#pragma once
// Slow references for the glyph cache and string drawing, written pixel by
// pixel from the cache and pixel rules, from the fake source's glyphs.

#include <cstdint>
#include <vector>

#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/platform/base/IntRect.h"
#include "runtime/softrender/MemImg.h"
#include "tests/support/FakeGlyphSource.h"

// 1 where an edge of this size around a glyph pixel reaches (dx, dy).
bool InEdgeShape(int dx, int dy, int edgeSize);

// The cache values of a cell (cellSize x cellSize, one value per pixel; type
// 0 as 0 or 1) holding this glyph.
std::vector<uint8_t> ReferenceCell(const FakeGlyphSource::Glyph& glyph, int type, int edgeSize, int cellSize);

// The cache value of pixel (x, y) of a font's cell, read from its cache.
int CachedValue(const FontEntry& e, const GlyphCell& cell, int x, int y);

// Draws the text into the target as the pixel rules say, colours already
// scaled; returns the pen's end.
int ReferenceDrawText(const FakeGlyphSource& glyphs, const FontEntry& e, MemImg* target, const IntRect& clip, int x,
                      int y, const char* text, uint32_t colour, uint32_t edgeColour);
