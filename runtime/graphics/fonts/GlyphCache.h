#pragma once
// The glyph cache of a font: rendering glyphs from the host face into cells,
// edge stamps, and finding the cells of a text's characters.

#include <cstdint>

#include "runtime/graphics/fonts/FontEntry.h"

// Empties the index and every cell; the next glyph takes cell 0. 0, -1.
int ResetGlyphCache(int font);
void ClearGlyphCells(FontEntry* entry);

// Walks at most kGlyphBatch characters of text[0, byteCount) into characters
// (the code of each: its byte, or first byte + 256 x second byte) and
// renders, in one batch, each code not in the cache once. Returns the bytes
// walked, or -1 for a font that is not live.
int LookupGlyphs(uint16_t* characters, const char* text, int font, int byteCount, int* characterCount);

// Renders the codes into the cells that come next in cyclic order, taking
// each cell from the character it held. The last cell rendered, or null for
// a font that is not live or no codes.
const GlyphCell* RenderGlyph(int font, int count, const uint16_t* codes);

// The cell of a code, rendered now when it is not cached.
const GlyphCell* GlyphCellOf(FontEntry* entry, uint16_t code);

// The cache pixels of a cell: its top row and the bytes per row.
inline const uint8_t* CellPixels(const FontEntry& entry, const GlyphCell& cell) {
  return entry.cache + static_cast<int64_t>(cell.cellNumber) * entry.cellSize * entry.cachePitch;
}
