// The plain draw's edge cases for palette sources onto 32- and 16-bit
// destinations: the index tested against the key, the entry drawn.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"

namespace {

using Values = std::vector<uint32_t>;

struct PaletteDraw {
  int pixelType = MemImgXrgb8888;
  int mode = 0;
  int parameter = 0;
  uint32_t brightness = 0xFFFFFF;
  int transparent = 0;
  uint32_t key = 0;
  int graphicValue = -1;  // every blend-graphic byte, identity weights; -1: none
  int mmx = 1;
};

// Draws a row of indices onto a row of destination pixels; entry i of the
// palette is entries[i] where given, else 0x00102030 + i (32-bit) or i (16-bit).
Values DrawIndices(const PaletteDraw& c, const std::vector<uint8_t>& indices, const Values& destination,
                   const Values& entries) {
  const int n = static_cast<int>(indices.size());
  const int bytes = c.pixelType == MemImgXrgb8888 ? 4 : 2;
  MemImg d{}, s{}, g{};
  EXPECT_EQ(CreateMemImg(&d, n, 1, -1, 0, c.pixelType, 0, 0, nullptr), 0);
  EXPECT_EQ(CreateMemImg(&s, n, 1, -1, c.key, c.pixelType, 1, 0, nullptr), 0);
  s.store->paletteColorCount = 1;  // the draw reads every entry regardless
  for (int i = 0; i < 256; ++i) {
    const uint32_t e = i < static_cast<int>(entries.size()) ? entries[i] : (bytes == 4 ? 0x00102030u + i : i);
    std::memcpy(s.store->palette + bytes * i, &e, bytes);
  }
  std::memcpy(s.pixels, indices.data(), n);
  for (int i = 0; i < n; ++i) std::memcpy(d.pixels + bytes * i, &destination[i], bytes);
  if (c.graphicValue >= 0) {
    EXPECT_EQ(CreateMemImg(&g, n, 1, -1, 0, MemImgGrey8, 0, 0, nullptr), 0);
    std::memset(g.pixels, c.graphicValue, n);
    BuildBlendGraphicTable(128, 255);
  }
  gDrawState = DrawState{{0, 0, n, 1}, c.mode, c.parameter, -1, 0, 0, c.brightness};
  gPlatform.mmxUsable = c.mmx;
  SoftDrawImage(&d, &s, 0, 0, c.transparent, c.graphicValue >= 0 ? &g : nullptr);
  gPlatform.mmxUsable = 0;
  Values out(n);
  for (int i = 0; i < n; ++i) {
    out[i] = 0;
    std::memcpy(&out[i], d.pixels + bytes * i, bytes);
  }
  for (MemImg* m : {&d, &s, &g}) ReleaseMemImg(m);
  return out;
}

class PaletteDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildSoftBlendTables(); }
};

PaletteDraw Mode(int pixelType, int mode, int parameter) {
  PaletteDraw d;
  d.pixelType = pixelType;
  d.mode = mode;
  d.parameter = parameter;
  return d;
}

TEST_F(PaletteDrawTest, KeyIndexIsSkippedInEveryMode) {
  for (int type : {MemImgXrgb8888, MemImgRgb565}) {
    for (int mode : {0, 1, 2, 3, 4, 10, 11}) {
      for (int parameter : {100, 128, 255}) {
        PaletteDraw d = Mode(type, mode, parameter);
        d.key = 7;
        d.transparent = 1;
        const Values drawn = DrawIndices(d, {7, 8, 7, 7, 9}, {0x1111, 0x1111, 0x1111, 0x1111, 0x1111}, {});
        EXPECT_EQ(drawn[0], 0x1111u) << type << " " << mode << " " << parameter;
        EXPECT_EQ(drawn[2], 0x1111u);
        EXPECT_EQ(drawn[3], 0x1111u);
        d.transparent = 0;
        EXPECT_NE(DrawIndices(d, {7}, {0x1111}, {})[0], 0x1111u) << type << " " << mode << " " << parameter;
      }
    }
  }
}

// A palette graphic still carrying its creation key: no index equals it, so
// index 255 is drawn in every loop alike.
TEST_F(PaletteDrawTest, CreationKeyHidesNoIndex) {
  for (int type : {MemImgXrgb8888, MemImgRgb565}) {
    for (int mode : {0, 1, 2, 3}) {
      for (int parameter : {100, 128, 255}) {
        PaletteDraw d = Mode(type, mode, parameter);
        d.key = 0xFFFF;
        d.transparent = 1;
        const Values keyed = DrawIndices(d, {255, 255, 255}, {0x1111, 0x1111, 0x1111}, {});
        d.transparent = 0;
        EXPECT_EQ(keyed, DrawIndices(d, {255, 255, 255}, {0x1111, 0x1111, 0x1111}, {}))
            << type << " " << mode << " " << parameter;
      }
    }
  }
}

TEST_F(PaletteDrawTest, ThirtyTwoBitEdgeCases) {
  const int t = MemImgXrgb8888;
  auto graphic = [](PaletteDraw d, int value) {
    d.graphicValue = value;
    return d;
  };
  auto bright = [](PaletteDraw d) {
    d.brightness = 0xFFFFFE;
    return d;
  };
  struct Case {
    const char* what;
    PaletteDraw draw;
    uint32_t destination, expected;
  } cases[] = {
      {"copy stores the entry's top byte", Mode(t, 0, 0), 0x7F010203, 0x00646464},
      {"copy under brightness keeps the top byte", bright(Mode(t, 0, 0)), 0x7F010203, 0x7F646463},
      {"halving at 128", Mode(t, 1, 128), 0x7F0A0B0C, 0x00373738},
      {"shift mix at 127", Mode(t, 1, 127), 0x7F0A0B0C, 0x7F363737},
      {"additive 255, exact bytes", Mode(t, 2, 255), 0x00C8C8C8, 0x00FFFFFF},
      {"additive 254, variant A", Mode(t, 2, 254), 0x00C8C8C8, 0x01FFFFFF},
      {"subtractive 255, exact bytes", Mode(t, 3, 255), 0x7FC8C8C8, 0x7F646464},
      {"subtractive 254, packed", Mode(t, 3, 254), 0x7FC8C8C8, 0x00676765},
      {"graphic weight 0, copy", graphic(Mode(t, 0, 0), 0), 0x7F0A0B0C, 0x7F0A0B0C},
      {"graphic weight 0, translucent", graphic(Mode(t, 1, 100), 0), 0x7F0A0B0C, 0x7F0A0B0C},
      {"graphic weight 0, inverted", graphic(Mode(t, 10, 100), 0), 0x7F0A0B0C, 0x7F0A0B0C},
      {"graphic weight 0, multiply translucent", graphic(Mode(t, 11, 100), 0), 0x7F0A0B0C, 0x7F0A0B0C},
      {"graphic weight 0, multiply", graphic(Mode(t, 4, 100), 0), 0x7F0A0B0C, 0x7F000000},
      {"graphic weight 0, additive", graphic(Mode(t, 2, 100), 0), 0x7F0A0B0C, 0x000A0B0C},
      {"graphic weight 0, subtractive", graphic(Mode(t, 3, 100), 0), 0x7F0A0B0C, 0x000B0B0C},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DrawIndices(c.draw, {3}, {c.destination}, {0, 0, 0, 0x00646464})[0], c.expected) << c.what;

  // Without the MMX-usable flag the plain packed forms run.
  PaletteDraw plainForm = Mode(t, 2, 255);
  plainForm.mmx = 0;
  EXPECT_EQ(DrawIndices(plainForm, {3}, {0x00C8C8C8}, {0, 0, 0, 0x00646464})[0], 0x01FFFFFFu);
}

TEST_F(PaletteDrawTest, SixteenBitEdgeCases) {
  const int t = MemImgRgb565;
  // Subtractive clears green's low bit of every drawn pixel, in pairs or alone.
  for (int parameter : {1, 100, 255}) {
    const Values out = DrawIndices(Mode(t, 3, parameter), {1, 2, 3}, {0xFFFF, 0xFFFF, 0xFFFF}, {0, 0x0020, 0x0821, 0});
    for (uint32_t v : out) EXPECT_EQ(v & 0x20, 0u) << parameter;
  }
  // Additive at 255: the second of a pair after a red carry takes its blue on
  // halves with bit 0 set; alone (odd last pixel, or keyed partner) min(31, d + e).
  const Values entries = {0, 0xF800, 0x0005};
  EXPECT_EQ(DrawIndices(Mode(t, 2, 255), {1, 2, 2}, {0xF800, 0x0007, 0x0007}, entries),
            (Values{0xF800, ((7 & 30) + (5 & 30)) | 1u, 12}));
  PaletteDraw keyed = Mode(t, 2, 255);
  keyed.key = 1;
  keyed.transparent = 1;
  EXPECT_EQ(DrawIndices(keyed, {1, 2}, {0xF800, 0x0007}, entries), (Values{0xF800, 12}));
  // The lerp slab: parameters 1 to 3 leave the destination, 4 takes slab 1.
  for (int parameter : {1, 2, 3}) EXPECT_EQ(DrawIndices(Mode(t, 1, parameter), {1}, {0}, {0, 0xFFFF})[0], 0u);
  EXPECT_EQ(DrawIndices(Mode(t, 1, 4), {1}, {0}, {0, 0xFFFF})[0], 0x0020u);
  // A blend-graphic weight of 0: subtractive still changes the low bits.
  PaletteDraw zero = Mode(t, 3, 100);
  zero.graphicValue = 0;
  EXPECT_EQ(DrawIndices(zero, {1}, {0x0000}, {0, 0x1234})[0], 0x0800u);
}

}  // namespace
