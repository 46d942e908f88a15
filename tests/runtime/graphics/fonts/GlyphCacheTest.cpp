#include <string>

#include "runtime/graphics/fonts/GlyphCache.h"
#include "runtime/graphics/fonts/LeadByte.h"
#include "tests/runtime/graphics/fonts/FontFixture.h"
#include "tests/runtime/graphics/fonts/ReferenceText.h"

namespace {

using GlyphCacheTest = FontFixture;

// The cell values of a cached code, in the reference's layout.
std::vector<uint8_t> CellValues(const FontEntry& e, uint16_t code) {
  const GlyphCell& cell = e.cells[e.glyphIndex[code]];
  std::vector<uint8_t> values(static_cast<size_t>(e.cellSize) * e.cellSize);
  for (int y = 0; y < e.cellSize; ++y) {
    for (int x = 0; x < e.cellSize; ++x) values[y * e.cellSize + x] = static_cast<uint8_t>(CachedValue(e, cell, x, y));
  }
  return values;
}

FakeGlyphSource::Glyph Dot(int advance = 5) {
  FakeGlyphSource::Glyph g;
  g.width = g.height = 1;
  g.levels = {16};
  g.advance = advance;
  g.originY = 10;
  return g;
}

TEST_F(GlyphCacheTest, CellsHoldEachTypeAndEdgeAsTheCacheRulesSay) {
  for (int type = 0; type < 4; ++type) {
    for (int edge : {1, 2, 3, 4, 6}) {
      if (!(type & 1) && edge > 1) continue;
      const int font = CreateFontToHandle(nullptr, 20, 6, type, 1, edge, 0, -1, -1);
      ASSERT_NE(font, -1);
      FontEntry* e = GetFontEntry(font);
      const uint16_t codes[] = {'A', 0x4082 /* 0x82 0x40 */, 'z'};
      ASSERT_NE(RenderGlyph(font, 3, codes), nullptr);
      for (uint16_t code : codes) {
        const uint32_t hostCode = code < 256 ? code : (code & 0xFF) << 8 | code >> 8;
        const FakeGlyphSource::Glyph g = glyphs.GlyphFor(hostCode, 20);
        EXPECT_EQ(CellValues(*e, code), ReferenceCell(g, type, edge, e->cellSize))
            << "type " << type << " edge " << edge << " code " << code;
        const GlyphCell& cell = e->cells[e->glyphIndex[code]];
        const int grow = (type & 1) ? 2 * edge : 0;
        EXPECT_EQ(cell.advance, g.advance + grow);
        EXPECT_EQ(cell.boxWidth, g.width + grow);
        EXPECT_EQ(cell.boxHeight, g.height + grow);
        EXPECT_EQ(cell.originX, g.originX);
        EXPECT_EQ(cell.yOffset, e->ascent - g.originY);
      }
      DeleteFontHandle(font);
    }
  }
}

TEST_F(GlyphCacheTest, EdgeStampsHaveTheirShapes) {
  // One glyph pixel: the edge around it is the stamp itself. Rows of the
  // shapes, as widths, for edge sizes 2 to 4.
  glyphs.SetGlyph('.', Dot());
  struct Case {
    int edge;
    std::vector<int> widths;
  } cases[] = {{2, {3, 5, 5, 5, 3}}, {3, {1, 5, 5, 7, 5, 5, 1}}, {4, {5, 7, 9, 9, 9, 9, 9, 7, 5}},
               {5, {11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11}}};
  for (const Case& c : cases) {
    const int font = CreateFontToHandle(nullptr, 20, 6, 1, 1, c.edge, 0, -1, -1);
    const uint16_t dot = '.';
    RenderGlyph(font, 1, &dot);
    const FontEntry& e = *GetFontEntry(font);
    const GlyphCell& cell = e.cells[e.glyphIndex[dot]];
    const int centre = c.edge;
    EXPECT_EQ(CachedValue(e, cell, centre, centre), 1);
    for (int y = 0; y < e.cellSize; ++y) {
      int count = 0;
      for (int x = 0; x < e.cellSize; ++x) {
        const int v = CachedValue(e, cell, x, y);
        if (v != 2) continue;
        ++count;
        EXPECT_LE(std::abs(x - centre), c.edge) << "edge " << c.edge;
      }
      const int dy = y - centre;
      int want = std::abs(dy) <= c.edge ? c.widths[dy + c.edge] : 0;
      if (dy == 0) --want;  // the glyph pixel itself
      EXPECT_EQ(count, want) << "edge " << c.edge << " row " << dy;
    }
    DeleteFontHandle(font);
  }
  // Size 1: the four neighbours only.
  const int font = CreateFontToHandle(nullptr, 20, 6, 1, 1, 1, 0, -1, -1);
  const uint16_t dot = '.';
  RenderGlyph(font, 1, &dot);
  const FontEntry& e = *GetFontEntry(font);
  const GlyphCell& cell = e.cells[e.glyphIndex[dot]];
  const int want[3][3] = {{0, 2, 0}, {2, 1, 2}, {0, 2, 0}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(CachedValue(e, cell, x, y), want[y][x]) << x << "," << y;
  }
}

TEST_F(GlyphCacheTest, AGreyEdgeTakesTheStrongestNeighbourLevel) {
  FakeGlyphSource::Glyph g;
  g.width = 3;
  g.height = 1;
  g.levels = {5, 0, 12};
  glyphs.SetGlyph('g', g);
  const int font = CreateFontToHandle(nullptr, 20, 6, 3, 1, 1, 0, -1, -1);
  const uint16_t code = 'g';
  RenderGlyph(font, 1, &code);
  const FontEntry& e = *GetFontEntry(font);
  const GlyphCell& cell = e.cells[e.glyphIndex[code]];
  // Row 1 holds the glyph from x = 1: levels 5, 0, 12 -> 4, 0, 11 in the low bits.
  EXPECT_EQ(CachedValue(e, cell, 1, 1), 4 | 0 << 4);
  EXPECT_EQ(CachedValue(e, cell, 2, 1), 0 | 11 << 4) << "between the two: the larger stamp";
  EXPECT_EQ(CachedValue(e, cell, 3, 1), 11);
  EXPECT_EQ(CachedValue(e, cell, 0, 1), 4 << 4);
  EXPECT_EQ(CachedValue(e, cell, 1, 0), 4 << 4);
  EXPECT_EQ(CachedValue(e, cell, 4, 1), 11 << 4);
}

TEST_F(GlyphCacheTest, GlyphsLargerThanTheCellAreClippedToIt) {
  FakeGlyphSource::Glyph big;
  big.width = 60;
  big.height = 70;
  big.advance = 61;
  big.levels.assign(60 * 70, 16);
  glyphs.SetGlyph('W', big);
  for (int type = 0; type < 4; ++type) {
    const int font = CreateFontToHandle(nullptr, 16, 6, type, 1, 3, 0, -1, -1);
    FontEntry* e = GetFontEntry(font);
    ASSERT_EQ(e->cellSize, 24);
    // Fill the rest of the cache; then the big glyph goes into cell 0 and
    // must leave cell 1 alone.
    const uint16_t before[] = {'a', 'b'};
    RenderGlyph(font, 2, before);
    const std::vector<uint8_t> cellOne = CellValues(*e, 'b');
    e->nextCell = 0;
    const uint16_t w = 'W';
    const GlyphCell* cell = RenderGlyph(font, 1, &w);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->boxWidth, 24) << "type " << type;
    EXPECT_EQ(cell->boxHeight, 24);
    EXPECT_EQ(cell->advance, 61 + 6);
    EXPECT_EQ(CellValues(*e, 'b'), cellOne) << "type " << type;
    DeleteFontHandle(font);
  }
}

TEST_F(GlyphCacheTest, AGlyphTheSourceCannotRenderIsAnEmptyBoxNotAFatalError) {
  glyphs.FailGlyph(0x88A0);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  EXPECT_EQ(GetTextWidthWithFont("a\x88\xA0" "b", -1, font, 0),
            glyphs.GlyphFor('a', 16).advance + glyphs.GlyphFor('b', 16).advance);
  const FontEntry& e = *GetFontEntry(font);
  const GlyphCell& cell = e.cells[e.glyphIndex[0xA088]];
  EXPECT_EQ(cell.boxWidth, 0);
  EXPECT_EQ(cell.boxHeight, 0);
}

TEST_F(GlyphCacheTest, TheOldestCellIsReusedAndItsCharacterRenderedAgainOnItsNextUse) {
  const int font = CreateFontToHandle(nullptr, 300, 6, 0, 1, 1, 0, -1, -1);
  FontEntry* e = GetFontEntry(font);
  ASSERT_EQ(e->cellCount, 20);
  std::string text;
  for (int i = 0; i < 20; ++i) text += static_cast<char>('A' + i);
  GetTextWidthWithFont(text.c_str(), -1, font, 0);
  EXPECT_EQ(e->glyphIndex['A'], 0);
  EXPECT_EQ(e->nextCell, 0) << "every cell taken, cyclic order starts again";
  glyphs.ClearRendered();
  GetTextWidthWithFont("U", -1, font, 0);
  EXPECT_EQ(e->glyphIndex['U'], 0);
  EXPECT_EQ(e->glyphIndex['A'], -1) << "the oldest glyph's index entry is cleared";
  EXPECT_EQ(e->cells[0].code, 'U');
  GetTextWidthWithFont("CA", -1, font, 0);
  EXPECT_EQ(glyphs.Rendered(), std::vector<uint32_t>({'U', 'A'})) << "C stayed cached, A came back";
  EXPECT_EQ(e->glyphIndex['A'], 1);
  EXPECT_EQ(e->glyphIndex['B'], -1) << "the next oldest made room";
  EXPECT_EQ(e->glyphIndex['C'], 2);
}

TEST_F(GlyphCacheTest, ABatchRendersEachMissingCodeOnce) {
  const int font = CreateFontToHandle(nullptr, 300, 6, 0, 1, 1, 0, -1, -1);
  const std::string text = "ABABABABABABABABABABABABAB" "\x82\xA0\x82\xA0" "ABCDEFGHIJKLMNOPQRSTUVWX";
  uint16_t characters[kGlyphBatch];
  int count = 0;
  EXPECT_EQ(LookupGlyphs(characters, text.c_str(), font, static_cast<int>(text.size()), &count),
            static_cast<int>(text.size()));
  EXPECT_EQ(count, static_cast<int>(text.size()) - 2);
  EXPECT_EQ(characters[26], 0xA082);
  const std::vector<uint32_t> firstBatch = glyphs.Rendered();
  ASSERT_EQ(firstBatch.size(), 20u) << "a batch never holds more codes than the cache has cells";
  EXPECT_EQ(firstBatch[0], 'A');
  EXPECT_EQ(firstBatch[1], 'B');
  EXPECT_EQ(firstBatch[2], 0x82A0u);
  EXPECT_EQ(firstBatch[3], 'C');
  const FontEntry& e = *GetFontEntry(font);
  EXPECT_GE(e.glyphIndex['A'], 0) << "the string's own glyphs stay";
  EXPECT_GE(e.glyphIndex['B'], 0);
}

TEST_F(GlyphCacheTest, LookupWalksAtMostOneBatchOfCharacters) {
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  const std::string text(300, 'x');
  uint16_t characters[kGlyphBatch];
  int count = 0;
  EXPECT_EQ(LookupGlyphs(characters, text.c_str(), font, 300, &count), kGlyphBatch);
  EXPECT_EQ(count, kGlyphBatch);
  EXPECT_EQ(glyphs.Rendered().size(), 1u);
}

TEST_F(GlyphCacheTest, ALeadByteInTheLastPlaceIsACharacterOfItsOwn) {
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  const char text[] = "a\x82\xA0";
  uint16_t characters[kGlyphBatch];
  int count = 0;
  EXPECT_EQ(LookupGlyphs(characters, text, font, 2, &count), 2);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(characters[1], 0x82) << "the second half lies outside the count";
  EXPECT_EQ(LookupGlyphs(characters, text, font, 3, &count), 3);
  EXPECT_EQ(characters[1], 0xA082);
}

TEST_F(GlyphCacheTest, KoreanFontsTakeEveryHighByteAsALeadByte) {
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 2, 1, 0, -1, -1);
  uint16_t characters[kGlyphBatch];
  int count = 0;
  LookupGlyphs(characters, "\xB0\xA1\xA1\xA1", font, 4, &count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(characters[0], 0xA1B0);
  EXPECT_EQ(IsLeadByte("\xA1", 2), 1);
  EXPECT_EQ(IsLeadByte("\xA1", 1), 0);
  EXPECT_EQ(IsLeadByte("\x81", 1), 1);
  EXPECT_EQ(IsLeadByte("\xFC", 0), 1);
  EXPECT_EQ(IsLeadByte("\xFD", 1), 0);
}

TEST_F(GlyphCacheTest, ResetEmptiesTheIndexAndStartsAtCellZero) {
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  GetTextWidthWithFont("abc", -1, font, 0);
  ASSERT_EQ(ResetGlyphCache(font), 0);
  const FontEntry& e = *GetFontEntry(font);
  EXPECT_EQ(e.nextCell, 0);
  EXPECT_EQ(e.glyphIndex['a'], -1);
  EXPECT_EQ(e.cells[0].inUse, 0);
  EXPECT_EQ(e.cells[e.cellCount - 1].cellNumber, e.cellCount - 1);
  EXPECT_EQ(e.cells[e.cellCount].cellNumber, -1);
  EXPECT_EQ(ResetGlyphCache(-1), -1);
}

}  // namespace
