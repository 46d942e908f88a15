// Strings drawn in a running layer (software mode, fake glyphs): straight
// onto the draw image or through the font's text image, the draw state kept,
// the line operations' checks, and the fonts' life with the graphics.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/graphics/fonts/DefaultFont.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/graphics/fonts/StringDraw2D.h"
#include "runtime/graphics/graphic/GraphicsLifeCycle.h"
#include "runtime/graphics/graphic/SoftDrawFamilies.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/platform/base/ScreenLog.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

class StringDraw2DTest : public GraphicsFixture {
 protected:
  void StartOnBack(int depth = 32) {
    Start(depth);
    ASSERT_EQ(SetDrawTarget(kBackScreen), 0);
    ClearDrawTarget();
  }
  void TearDown() override {
    gSoftDrawFamilies = savedFamilies_;
    GraphicsFixture::TearDown();
  }

  const SoftDrawFamilies savedFamilies_ = gSoftDrawFamilies;

  static std::string BackBytes() {
    return std::string(reinterpret_cast<const char*>(gScreen.back.store->pixels),
                       static_cast<size_t>(gScreen.back.store->pitch) * gScreen.back.height);
  }

  // The back screen as RenderString alone leaves it: a copy of the screen
  // with the string rendered into it, clipped to the region.
  static std::string RenderedOnBack(int x, int y, const char* text, uint32_t colour, uint32_t edge, int font,
                                    const IntRect& region) {
    MemImg copy{};
    const MemImgStore& s = *gScreen.back.store;
    EXPECT_EQ(CreateMemImg(&copy, gScreen.back.width, gScreen.back.height, s.pitch, 0, s.pixelType, 0, 0, nullptr), 0);
    std::memcpy(copy.store->pixels, s.pixels, static_cast<size_t>(s.pitch) * gScreen.back.height);
    RenderString(1, x, y, 0, 1.0, 1.0, text, colour, edge, &copy, &region, 1, font, -1, 0, nullptr);
    std::string bytes(reinterpret_cast<const char*>(copy.store->pixels),
                      static_cast<size_t>(s.pitch) * gScreen.back.height);
    ReleaseMemImg(&copy);
    return bytes;
  }

  static int LiveFonts() {
    int n = 0;
    for (const FontEntry* e : gFontTable.slots) n += e ? 1 : 0;
    return n;
  }
};

constexpr IntRect kWholeScreen = {0, 0, 640, 480};

class PlainStringTest : public StringDraw2DTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlainStringTest, PlainTextIsRenderedStraightOntoTheDrawImage) {
  {
    const int depth = GetParam();
    StartOnBack(depth);
    const int font = CreateFontToHandle(nullptr, 16, 6, 1, -1, 2, 0, -1, -1);
    ASSERT_NE(font, -1);
    const uint32_t colour = PackColor(250, 120, 30);
    const uint32_t edge = PackColor(10, 60, 200);
    SetDrawRegion(0, 0, 100, 300);
    const IntRect region = {0, 0, 100, 300};
    const std::string want = RenderedOnBack(90, 20, "Ag\x82\xA0", colour, edge, font, region);
    EXPECT_EQ(DrawTextLineWithFont(90, 20, "Ag\x82\xA0", colour, font, edge, 0), 0);
    EXPECT_EQ(BackBytes(), want) << depth;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, PlainStringTest, ::testing::Values(16, 32));

TEST_F(StringDraw2DTest, AntialiasedTextGoesThroughTheTextImageEvenInACopy) {
  StartOnBack();
  const int font = CreateFontToHandle(nullptr, 20, 6, 3, -1, 1, 0, -1, -1);
  ASSERT_NE(font, -1);
  const FontEntry& e = *GetFontEntry(font);
  const Surface2D* image = GetSurface2D(e.textImage);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 640);
  EXPECT_EQ(image->height, 480);
  Surface2DImage textImage(image);
  ASSERT_NE(textImage.Get(), nullptr);
  EXPECT_EQ(textImage.Get()->store->alphaFlag, 1);

  const uint32_t white = PackColor(255, 255, 255);
  const uint32_t black = PackColor(0, 0, 0);
  SetBlendMode(0, 0);
  ASSERT_EQ(DrawTextLineWithFont(30, 40, "\x93\xFA\x96\x7B", white, font, black, 0), 0);
  int size[2] = {0, 0};
  RenderString(0, 0, 0, 0, 1.0, 1.0, "\x93\xFA\x96\x7B", 0, 0, nullptr, nullptr, 1, font, -1, 0, size);
  // What the text image holds, drawn with its alpha over black.
  int inked = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool inside = x >= 30 && x < 30 + size[0] && y >= 40 && y < 40 + size[1];
      const uint32_t pixel = BackPixel(x, y);
      if (!inside) {
        ASSERT_EQ(pixel, 0u) << x << "," << y;
        continue;
      }
      const uint8_t* t = textImage.Get()->pixels + static_cast<size_t>(y - 40) * textImage.Get()->store->pitch +
                         static_cast<size_t>(x - 30) * 4;
      const uint32_t alpha = t[3];
      const uint32_t grey = (t[0] * alpha) / 255;
      // Each channel of the screen is the text image's channel times its
      // alpha, within the renderer's rounding.
      EXPECT_NEAR(static_cast<int>(pixel & 0xFF), static_cast<int>(grey), 2) << x << "," << y;
      inked += pixel != 0;
    }
  }
  EXPECT_GT(inked, 20);
}

TEST_F(StringDraw2DTest, ATextColourEqualToTheKeyMovesTheKeySoTheTextStaysVisible) {
  // 16 bits: the key is red itself, the text red.
  StartOnBack(16);
  SetTransparentColor(255, 0, 0);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  const uint32_t red = PackColor(255, 0, 0);
  ASSERT_EQ(red, 0xF800u);
  SetBlendMode(2, 255);  // additive: through the text image
  DrawTextLineWithFont(0, 0, "H", red, font, 0, 0);
  Surface2DImage image(GetSurface2D(GetFontEntry(font)->textImage));
  const MemImg& t = *image.Get();
  const uint32_t key = t.store->colorKey;
  int text = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) {
      uint16_t pixel = 0;
      std::memcpy(&pixel, t.pixels + static_cast<size_t>(y) * t.store->pitch + static_cast<size_t>(x) * 2, 2);
      EXPECT_TRUE(pixel == red || pixel == 0xF801) << x << "," << y << ": " << pixel;
      text += pixel == red;
    }
  }
  EXPECT_EQ(key, red) << "the image's own key is untouched";
  EXPECT_GT(text, 10);

  // White under a red brightness is written as red: the key moves for the
  // colour as written.
  SetDrawBrightness(255, 0, 0);
  DrawTextLineWithFont(0, 0, "H", PackColor(255, 255, 255), font, 0, 0);
  int written = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) {
      uint16_t pixel = 0;
      std::memcpy(&pixel, t.pixels + static_cast<size_t>(y) * t.store->pitch + static_cast<size_t>(x) * 2, 2);
      EXPECT_TRUE(pixel == red || pixel == 0xF801) << x << "," << y << ": " << pixel;
      written += pixel == red;
    }
  }
  EXPECT_EQ(written, text);
}

TEST_F(StringDraw2DTest, TextDrawnThroughTheTextImageKeepsItsPixelsAndOnlyThem) {
  StartOnBack(32);
  SetTransparentColor(255, 0, 0);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  const uint32_t red = PackColor(255, 0, 0);
  SetBlendMode(2, 255);
  ASSERT_EQ(DrawTextLineWithFont(0, 0, "H", red, font, 0, 0), 0);
  SetBlendMode(0, 0);
  std::vector<uint32_t> additive;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) additive.push_back(BackPixel(x, y));
  }
  ClearDrawTarget();
  ASSERT_EQ(DrawTextLineWithFont(0, 0, "H", red, font, 0, 0), 0);
  // Red added to black is the red text drawn straight.
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) differing += additive[static_cast<size_t>(y) * 640 + x] != BackPixel(x, y);
  }
  EXPECT_EQ(differing, 0);
  int reds = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) reds += BackPixel(x, y) == 0xFF0000;
  }
  EXPECT_GT(reds, 10);
}

TEST_F(StringDraw2DTest, BrightnessScalesTheTextAndTheRegionAndBrightnessComeBack) {
  StartOnBack();
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  SetBlendMode(2, 255);  // through the text image, which is drawn at full brightness
  SetDrawBrightness(128, 128, 128);
  SetDrawRegion(5, 6, 300, 200);
  const IntRect region = gDrawState.drawRegion;
  float regionF[4];
  std::memcpy(regionF, gDrawState.drawRegionF, sizeof regionF);
  glyphs.SetGlyph('W', FakeGlyphSource::Glyph{1, 12, 9, 6, 4, std::vector<uint8_t>(24, 16)});
  ASSERT_EQ(DrawTextLineWithFont(10, 10, "W", PackColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_EQ(BackPixel(11, 10 + GetFontEntry(font)->cells[GetFontEntry(font)->glyphIndex['W']].yOffset), 0x808080u);
  EXPECT_EQ(gDrawState.brightness, 0x808080u);
  EXPECT_EQ(std::memcmp(&gDrawState.drawRegion, &region, sizeof region), 0);
  EXPECT_EQ(std::memcmp(gDrawState.drawRegionF, regionF, sizeof regionF), 0);
}

namespace scaled {
struct Call {
  int x1, y1, x2, y2;
  IntRect region;
  uint32_t brightness;
  int width, height;
};
std::vector<Call> calls;
void Record(MemImg*, const MemImg* source, int x1, int y1, int x2, int y2, int, const MemImg*) {
  calls.push_back({x1, y1, x2, y2, gDrawState.drawRegion, gDrawState.brightness, source->width, source->height});
}
}  // namespace scaled

TEST_F(StringDraw2DTest, ScaledTextStretchesTheWholeTextImageWhileTheRegionShowsTheString) {
  StartOnBack();
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  SetDrawBrightness(10, 20, 30);
  SetDrawRegion(0, 0, 600, 400);
  int size[2] = {0, 0};
  RenderString(0, 0, 0, 0, 1.0, 1.0, "abc", 0, 0, nullptr, nullptr, 1, font, -1, 0, size);

  // Through the renderer's scaled draw; the state comes back.
  EXPECT_EQ(DrawTextLineScaled(7, 9, 2.0, 1.5, "abc", 1, font, 0, 0), 0);
  EXPECT_EQ(gDrawState.brightness, 0x0A141Eu);
  EXPECT_EQ(gDrawState.drawRegion.right, 600);

  scaled::calls.clear();
  gSoftDrawFamilies.drawScaled = scaled::Record;
  EXPECT_EQ(DrawTextLineScaled(7, 9, 2.0, 1.5, "abc", 1, font, 0, 0), 0);
  ASSERT_EQ(scaled::calls.size(), 1u);
  const scaled::Call& c = scaled::calls[0];
  EXPECT_EQ(c.x1, 7);
  EXPECT_EQ(c.y1, 9);
  EXPECT_EQ(c.x2, 7 + 1280 + 3);
  EXPECT_EQ(c.y2, 9 + 720 + 3);
  EXPECT_EQ(c.width, 640);
  EXPECT_EQ(c.height, 480);
  EXPECT_EQ(c.region.left, 7);
  EXPECT_EQ(c.region.right, 7 + size[0] * 2 + 3);
  EXPECT_EQ(c.region.bottom, 9 + size[1] * 3 / 2 + 3);
  EXPECT_EQ(c.brightness, 0xFFFFFFu);
  EXPECT_EQ(gDrawState.brightness, 0x0A141Eu);
  EXPECT_EQ(gDrawState.drawRegion.right, 600);
}

TEST_F(StringDraw2DTest, LineOperationsCheckTextRegionAndFontAndUseTheDefaultFont) {
  StartOnBack();
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "", 1, font, 0, 0), 0);
  EXPECT_EQ(DrawTextLineWithFont(0, 0, nullptr, 1, font, 0, 0), 0);
  gDrawState.drawRegion = {10, 10, 10, 50};
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "a", 1, font, 0, 0), 0);
  gDrawState.drawRegion = kWholeScreen;
  gScreen.resetting = 1;
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "a", 1, font, 0, 0), 0);
  EXPECT_EQ(GetTextWidthWithFont("a", -1, font, 0), -1);
  gScreen.resetting = 0;
  const std::string untouched = BackBytes();
  DeleteFontHandle(font);
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "a", 1, font, 0, 0), -1);
  const std::vector<std::string> lines = NewLogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "フォントハンドル値が異常です"), lines.end());
  EXPECT_EQ(BackBytes(), untouched);

  const uint32_t colour = PackColor(200, 100, 50);
  const std::string want = RenderedOnBack(3, 4, "42-x", colour, 0, GetDefaultFont(), kWholeScreen);
  EXPECT_EQ(DrawTextLineFormatted(3, 4, colour, "%d-%s", 42, "x"), 0);
  EXPECT_EQ(BackBytes(), want);
  ClearDrawTarget();
  EXPECT_EQ(DrawTextLine(3, 4, "42-x", colour, 0), 0);
  EXPECT_EQ(BackBytes(), want);
  EXPECT_EQ(GetTextWidth("42-x", -1, 0), GetTextWidthWithFont("42-x", -1, GetDefaultFont(), 0));

  // Without a screen device the 2D path refuses.
  gScreen.directDrawDisabled = 0;
  gScreen.displayObject = 0;
  EXPECT_EQ(DrawString2D(0, 0, "a", 1, GetDefaultFont(), 0, 0), -1);
  EXPECT_EQ(DrawStringScaled2D(0, 0, 1.0, 1.0, "a", 1, GetDefaultFont(), 0, 0), -1);
  gScreen.directDrawDisabled = 1;
  gScreen.displayObject = 1;
}

TEST_F(StringDraw2DTest, OnTheFrontScreenALineStartingRightOfTheRegionIsSkippedAndADrawReachesTheWindow) {
  Start();
  ASSERT_EQ(GetDrawTarget(), kFrontScreen);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  SetDrawRegion(0, 0, 200, 480);
  const int presents = presenter.presents;
  EXPECT_EQ(DrawTextLineWithFont(200, 0, "a", PackColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_EQ(presenter.presents, presents);
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "a", PackColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_EQ(presenter.presents, presents + 1);
  bool shown = false;
  for (int y = 0; y < 16 && !shown; ++y) {
    for (int x = 0; x < 16 && !shown; ++x) shown = presenter.WindowPixel(x, y) == 0xFFFFFF;
  }
  EXPECT_TRUE(shown);
}

TEST_F(StringDraw2DTest, TheTextImageIsRemadeAfterItWasLostAndGoesWithItsFont) {
  StartOnBack();
  const int surfaces = GetSurface2DCount();
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1);
  EXPECT_EQ(GetSurface2DCount(), surfaces + 1);
  FontEntry* e = GetFontEntry(font);
  Surface2DImage plain(GetSurface2D(e->textImage));
  ASSERT_NE(plain.Get(), nullptr);
  EXPECT_EQ(plain.Get()->store->alphaFlag, 0);
  DeleteSurface2D(e->textImage);
  EXPECT_EQ(e->textImageLost, 1);
  SetBlendMode(1, 128);
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "a", PackColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_EQ(e->textImageLost, 0);
  EXPECT_NE(GetSurface2D(e->textImage), nullptr);
  DeleteFontHandle(font);
  EXPECT_EQ(GetSurface2DCount(), surfaces);

  // A text image that cannot be made refuses the font.
  gScreenDevice.width = 40000;
  gScreenDevice.height = 40000;
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, 6, 0, -1, 1, 0, -1, -1), -1);
  gScreenDevice.width = 640;
  gScreenDevice.height = 480;
  const std::vector<std::string> lines = NewLogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "フォント用描画スクリーンの作成に失敗しました"), lines.end());
  EXPECT_EQ(GetSurface2DCount(), surfaces);
}

TEST_F(StringDraw2DTest, ALostDisplayKeepsEveryFontHandleAndAModeChangeKeepsTheDefaultFontSize) {
  StartOnBack();
  const int font = CreateFontToHandle(nullptr, 18, 6, 1, -1, 2, 0, -1, -1);
  SetFontSpacing(3, font);
  int deleted = -1;
  SetFontDeleteNotify(font, &deleted);
  const int fonts = LiveFonts();
  ASSERT_EQ(ReinitGraphics(), 0);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(IsFontHandleValid(font), 1);
  EXPECT_EQ(GetFontEntry(font)->spacing, 3);
  EXPECT_EQ(GetFontEntry(font)->edgeSize, 2);
  EXPECT_EQ(LiveFonts(), fonts);
  EXPECT_EQ(DrawTextLineWithFont(0, 0, "a", PackColor(255, 255, 255), font, 0, 0), 0);

  SetDefaultFontSize(22);
  ASSERT_EQ(SetScreenMode(800, 600, 32, -1), 0);
  EXPECT_EQ(IsFontHandleValid(font), 0) << "a mode change ends every font";
  EXPECT_EQ(QueryFontSize(GetDefaultFont()), 22);
  // The default font and the on-screen log's font, nothing left over.
  EXPECT_EQ(LiveFonts(), 2);
  EXPECT_EQ(IsFontHandleValid(gScreenLog.font), 1);
}

TEST_F(StringDraw2DTest, TheOnScreenLogDrawsItsLinesWhiteOnBlackAndItsFontEndsWithTheLayer) {
  StartOnBack();
  // Prepared twice during the start (by the screen-mode change and by the
  // start itself), it keeps one font: the default font and its own.
  EXPECT_EQ(LiveFonts(), 2);
  EXPECT_EQ(IsScreenLogOn(), 0);
  const int logFont = gScreenLog.font;
  ASSERT_EQ(IsFontHandleValid(logFont), 1);
  EXPECT_EQ(GetFontEntry(logFont)->type, 1);
  EXPECT_EQ(GetFontEntry(logFont)->thickness, 4);
  std::strcpy(gScreenLog.lines[1], "log");
  EXPECT_EQ(ScreenLogDraw(), 0);
  int white = 0;
  for (int y = 16; y < 32; ++y) {
    for (int x = 0; x < 40; ++x) white += BackPixel(x, y) == 0xFFFFFF;
    for (int x = 0; x < 640; ++x) EXPECT_EQ(BackPixel(x, y - 16), 0u);
  }
  EXPECT_GT(white, 10);
  // A deleted font is made again at the next draw.
  DeleteFontHandle(logFont);
  EXPECT_EQ(ScreenLogDraw(), 0);
  EXPECT_EQ(IsFontHandleValid(gScreenLog.font), 1);
  LayerEnd();
  EXPECT_EQ(IsFontHandleValid(gScreenLog.font), 0);
}

}  // namespace
