#include <gtest/gtest.h>

#include <cstring>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "tests/runtime/graphics/fonts/FontFixture.h"

namespace {

// The layer's fonts over FreeType and the installed IPA faces.
class IpaTextTest : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    DeleteAllFonts();
    gScreenDevice = ScreenDevice{};
    SetScreenMode(640, 480, 32, -1);
    gDrawState.brightness = 0xFFFFFF;
  }
  void TearDown() override {
    DeleteAllFonts();
    gScreenDevice = ScreenDevice{};
    LogFixture::TearDown();
  }
};

TEST_F(IpaTextTest, JapaneseTextRendersWithSaneMetrics) {
  const char* text = "日本語のテキスト";
  for (int type = 0; type < 4; ++type) {
    const int font = CreateFontToHandle(nullptr, 16, -1, type, -1, -1, 0, -1, -1);
    ASSERT_NE(font, -1) << type;
    const FontEntry& e = *GetFontEntry(font);
    EXPECT_GE(e.cellSize, 16);
    EXPECT_LE(e.cellSize, 32);
    int size[2] = {0, 0};
    const int width = RenderString(0, 0, 0, 0, 1.0, 1.0, text, 0, 0, nullptr, nullptr, 1, font, -1, 0, size);
    const int edge = (type & 1) ? 2 : 0;
    EXPECT_GE(width, 8 * (13 + edge)) << type;
    EXPECT_LE(width, 8 * (17 + edge)) << type;
    EXPECT_EQ(size[1], e.cellHeight);
    for (int i = 0; i < 16; i += 2) {
      const uint16_t code = static_cast<uint8_t>(text[i]) | static_cast<uint8_t>(text[i + 1]) << 8;
      ASSERT_GE(e.glyphIndex[code], 0);
      const GlyphCell& cell = e.cells[e.glyphIndex[code]];
      EXPECT_GT(cell.boxWidth, 4) << i;
      EXPECT_GT(cell.boxHeight, 4) << i;
      EXPECT_GE(cell.yOffset, 0) << i;
      EXPECT_LE(cell.yOffset + cell.boxHeight, e.cellHeight + 1) << i;
    }
    MemImg image{};
    ASSERT_EQ(CreateMemImg(&image, 200, 24, -1, 0, MemImgXrgb8888, 0, 1, nullptr), 0);
    FillMemImg(&image, nullptr, 0);
    EXPECT_EQ(RenderString(1, 2, 2, 0, 1.0, 1.0, text, 0xFFFFFFFF, 0xFF000080, &image, nullptr, 1, font, -1, 0,
                           nullptr),
              width);
    int ink = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 200; ++x) {
        uint32_t p;
        std::memcpy(&p, image.pixels + y * image.store->pitch + x * 4, 4);
        if (p != 0) ++ink;
      }
    }
    EXPECT_GT(ink, 300) << type;
    ReleaseMemImg(&image);
    DeleteFontHandle(font);
  }
}

TEST_F(IpaTextTest, ListingInJapaneseModeNamesTheDefaultFaces) {
  const int count = ListFontNames(nullptr, 0, 1);
  ASSERT_GT(count, 4);
  std::vector<char> names(static_cast<size_t>(count) * 64);
  ASSERT_EQ(ListFontNames(names.data(), count, 1), count);
  bool gothic = false;
  for (int i = 0; i < count; ++i) gothic |= std::strcmp(&names[i * 64], "ＭＳ ゴシック") == 0;
  EXPECT_TRUE(gothic);
}

}  // namespace
