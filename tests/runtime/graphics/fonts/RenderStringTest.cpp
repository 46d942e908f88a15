#include <cstring>
#include <string>

#include "runtime/graphics/fonts/RenderString.h"
#include "tests/runtime/graphics/fonts/FontFixture.h"
#include "tests/runtime/graphics/fonts/ReferenceText.h"

namespace {

using RenderStringTest = FontFixture;

struct Target {
  const char* name;
  int screenDepth;
  int pixelType, palette, alpha;
  uint32_t colour, edge;  // packed in the screen format
};

// Every target kind, with colours whose channels all differ.
const Target kTargets[] = {
    {"8-bit", 8, MemImgXrgb8888, 1, 0, 0x37, 0x81},
    {"16-bit", 16, MemImgRgb565, 0, 0, 0xA5F3, 0x3A6C},
    {"16-bit alpha", 16, MemImgRgb565, 0, 1, 0xA5F3, 0x3A6C},
    {"32-bit", 32, MemImgXrgb8888, 0, 0, 0xFFC08040, 0xFF20A060},
    {"32-bit alpha", 32, MemImgXrgb8888, 0, 1, 0xFFC08040, 0xFF20A060},
};

struct Image {
  MemImg image{};
  Image(const Target& t, int width, int height) {
    EXPECT_EQ(CreateMemImg(&image, width, height, -1, 0, t.pixelType, t.palette, t.alpha, nullptr), 0);
    const int64_t bytes = static_cast<int64_t>(image.store->pitch) * height;
    for (int64_t i = 0; i < bytes; ++i) image.store->pixels[i] = static_cast<uint8_t>(i * 7 + 3);
  }
  ~Image() { ReleaseMemImg(&image); }
  std::string Bytes() const {
    return std::string(reinterpret_cast<const char*>(image.store->pixels),
                       static_cast<size_t>(image.store->pitch) * image.height);
  }
};

// Packed colours lose the bits no channel uses before they are drawn.
uint32_t Drawn(const Target& t, uint32_t colour) { return t.screenDepth == 32 ? colour & 0xFFFFFF : colour; }

TEST_F(RenderStringTest, EveryTargetAndFontTypeMatchesTheSlowReference) {
  const char* text = "Ag \x82\xA0\x81\x40q\x88\x9F" "W";
  for (const Target& t : kTargets) {
    ASSERT_EQ(SetScreenMode(640, 480, t.screenDepth, -1), 0);
    for (int type = 0; type < 4; ++type) {
      for (int edge : {1, 3}) {
        if (!(type & 1) && edge > 1) continue;
        const int font = CreateFontToHandle(nullptr, 18, 6, type, 1, edge, 0, -1, -1);
        ASSERT_NE(font, -1);
        SetFontSpacing(1, font);
        const FontEntry& e = *GetFontEntry(font);
        const IntRect clip = {7, 5, 90, 19};  // cuts the first glyph's left and every glyph's bottom
        Image got(t, 100, 30), want(t, 100, 30);
        const std::string untouched = got.Bytes();
        const int width =
            RenderString(1, 3, 2, 0, 1.0, 1.0, text, t.colour, t.edge, &got.image, &clip, 1, font, -1, 0, nullptr);
        const int wantWidth = ReferenceDrawText(glyphs, e, &want.image, clip, 3, 2, text, Drawn(t, t.colour),
                                                Drawn(t, t.edge));
        EXPECT_EQ(width, wantWidth) << t.name << " type " << type;
        EXPECT_EQ(got.Bytes(), want.Bytes()) << t.name << " type " << e.type << " edge " << edge;
        EXPECT_NE(got.Bytes(), untouched);
        DeleteFontHandle(font);
      }
    }
  }
}

TEST_F(RenderStringTest, MeasuringAddsAdvanceAndSpacing) {
  FakeGlyphSource::Glyph a = glyphs.GlyphFor('a', 16), b = glyphs.GlyphFor('b', 16);
  a.advance = 8;
  b.advance = 9;
  glyphs.SetGlyph('a', a);
  glyphs.SetGlyph('b', b);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  SetFontSpacing(2, font);
  int size[2] = {0, 0};
  EXPECT_EQ(RenderString(0, 0, 0, 0, 1.0, 1.0, "ab", 0, 0, nullptr, nullptr, 1, font, -1, 0, size), 21);
  EXPECT_EQ(size[0], 21);
  EXPECT_EQ(size[1], 16);
  EXPECT_EQ(GetTextWidthWithFont("ab", -1, font, 0), 21);
  EXPECT_EQ(GetTextWidthWithFont("abab", 3, font, 0), 31) << "only the bytes counted";
  EXPECT_EQ(GetTextWidthWithFont("ab", 0, font, 0), 0);
  EXPECT_EQ(GetTextWidthWithFont("", -1, font, 0), 0);
  EXPECT_EQ(GetTextWidthWithFont(nullptr, -1, font, 0), 0);
}

TEST_F(RenderStringTest, AnEmptyTextDrawsNothingAndSpacesOnlyAdvance) {
  const Target& t = kTargets[3];
  SetScreenMode(640, 480, 32, -1);
  const int font = CreateFontToHandle(nullptr, 16, 6, 3, 1, 1, 0, -1, -1);
  Image image(t, 64, 20);
  const std::string before = image.Bytes();
  EXPECT_EQ(RenderString(1, 0, 0, 0, 1.0, 1.0, "", t.colour, t.edge, &image.image, nullptr, 1, font, -1, 0, nullptr),
            0);
  const int spaces =
      RenderString(1, 0, 0, 0, 1.0, 1.0, " \x81\x40 ", t.colour, t.edge, &image.image, nullptr, 1, font, -1, 0, nullptr);
  EXPECT_EQ(spaces, 2 * (glyphs.GlyphFor(' ', 16).advance + 2) + glyphs.GlyphFor(0x8140, 16).advance + 2);
  EXPECT_EQ(image.Bytes(), before);
}

TEST_F(RenderStringTest, AGlyphOutsideTheClipDrawsNothingButStillAdvances) {
  const Target& t = kTargets[3];
  SetScreenMode(640, 480, 32, -1);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  Image got(t, 64, 20), want(t, 64, 20);
  const int firstWidth = GetTextWidthWithFont("M", -1, font, 0);
  const IntRect clip = {firstWidth, 0, 64, 20};
  const int width =
      RenderString(1, 0, 0, 0, 1.0, 1.0, "MN", t.colour, t.edge, &got.image, &clip, 1, font, -1, 0, nullptr);
  EXPECT_EQ(width, GetTextWidthWithFont("MN", -1, font, 0));
  RenderString(1, firstWidth, 0, 0, 1.0, 1.0, "N", t.colour, t.edge, &want.image, &clip, 1, font, -1, 0, nullptr);
  EXPECT_EQ(got.Bytes(), want.Bytes());
  // Far outside the image, and a clip larger than it: nothing is written.
  const IntRect huge = {-100000, -100000, 100000, 100000};
  const std::string before = got.Bytes();
  RenderString(1, 2000000000, -2000000000, 0, 1.0, 1.0, "MN", t.colour, t.edge, &got.image, &huge, 1, font, -1, 0,
               nullptr);
  EXPECT_EQ(got.Bytes(), before);
}

TEST_F(RenderStringTest, TheDrawBrightnessScalesTheColours) {
  SetScreenMode(640, 480, 32, -1);
  FakeGlyphSource::Glyph block;
  block.width = block.height = 2;
  block.levels.assign(4, 16);
  block.originY = 12;
  glyphs.SetGlyph('#', block);
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  gDrawState.brightness = 0x808080;
  Image image(kTargets[3], 8, 16);
  RenderString(1, 0, 0, 0, 1.0, 1.0, "#", 0xFFFFFFFF, 0, &image.image, nullptr, 1, font, -1, 0, nullptr);
  uint32_t pixel = 0;
  std::memcpy(&pixel, image.image.pixels, 4);
  EXPECT_EQ(pixel, 0x808080u);
  SetScreenMode(640, 480, 16, -1);
  gDrawState.brightness = 0x00FF80;  // no red, all green, half blue
  Image image16(kTargets[1], 8, 16);
  RenderString(1, 0, 0, 0, 1.0, 1.0, "#", 0xFFFF, 0, &image16.image, nullptr, 1, font, -1, 0, nullptr);
  uint16_t pixel16 = 0;
  std::memcpy(&pixel16, image16.image.pixels, 2);
  EXPECT_EQ(pixel16, 0x07E0 | 0x10);  // blue 255 * 128 / 255 = 128 -> 16 of 31
}

TEST_F(RenderStringTest, ThreeHundredCharactersAreDrawnWhole) {
  SetScreenMode(640, 480, 32, -1);
  const Target& t = kTargets[4];
  const int font = CreateFontToHandle(nullptr, 12, 6, 3, 1, 1, 0, -1, -1);
  std::string text;
  for (int i = 0; i < 300; ++i) text += (i % 3 == 0) ? std::string("\x82") + static_cast<char>(0xA0 + i % 80) : std::string(1, static_cast<char>('!' + i % 90));
  Image got(t, 4000, 20), want(t, 4000, 20);
  const IntRect clip = {0, 0, 4000, 20};
  const int width =
      RenderString(1, 0, 0, 0, 1.0, 1.0, text.c_str(), t.colour, t.edge, &got.image, &clip, 1, font, -1, 0, nullptr);
  EXPECT_EQ(width, ReferenceDrawText(glyphs, *GetFontEntry(font), &want.image, clip, 0, 0, text.c_str(),
                                     t.colour & 0xFFFFFF, t.edge & 0xFFFFFF));
  EXPECT_EQ(got.Bytes(), want.Bytes());
  EXPECT_EQ(GetTextWidthWithFont(text.c_str(), -1, font, 0), width) << "measures of the chunks are summed";
}

TEST_F(RenderStringTest, RefusesAStaleFontAndADrawWithoutATarget) {
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  EXPECT_EQ(RenderString(1, 0, 0, 0, 1.0, 1.0, "a", 0, 0, nullptr, nullptr, 1, font, -1, 0, nullptr), -1);
  MemImg invalid{};
  EXPECT_EQ(RenderString(1, 0, 0, 0, 1.0, 1.0, "a", 0, 0, &invalid, nullptr, 1, font, -1, 0, nullptr), -1);
  DeleteFontHandle(font);
  EXPECT_EQ(RenderString(0, 0, 0, 0, 1.0, 1.0, "a", 0, 0, nullptr, nullptr, 1, font, -1, 0, nullptr), -1);
}

TEST_F(RenderStringTest, TheTextImageKeyStepsPastTheColoursWithinThePixel) {
  struct Case {
    uint32_t key, colour, edge;
    int depth;
    uint32_t want;
  } cases[] = {
      {0xF81F, 0x1234, 0, 16, 0xF81F},   {0xFFFF, 0xFFFF, 5, 16, 0},
      {0xFFFF, 0xFFFF, 0, 16, 1},        {0xFFFE, 0xFFFE, 0xFFFF, 16, 0},
      {0xFFFFFF, 0xFFFFFF, 0, 24, 1},    {0xFFFFFFFF, 0xFFFFFFFF, 0, 32, 1},
      {5, 5, 6, 16, 7},
  };
  for (const Case& c : cases) EXPECT_EQ(TextImageKey(c.key, c.colour, c.edge, c.depth), c.want) << c.key;
}

TEST_F(RenderStringTest, ListingFiltersSkipsRepeatsAndKeepsWithinItsLimits) {
  std::string longName(62, 'L');
  longName += "\x82\xA0tail";  // the two-byte character would straddle byte 63
  glyphs.SetFamilies({{"ＭＳ ゴシック", true, true},
                      {"@ＭＳ ゴシック", true, true},
                      {"Latin", true, false},
                      {"Bitmap", false, true},
                      {"ＭＳ ゴシック", true, true},
                      {longName, true, true},
                      {"IPAGothic", true, true}});
  EXPECT_EQ(ListFontNames(nullptr, 0, 0), 5);
  EXPECT_EQ(ListFontNames(nullptr, 0, 1), 3);
  char names[10][64];
  std::memset(names, 0x7F, sizeof names);
  ASSERT_EQ(ListFontNames(names[0], 2, 1), 2) << "stops at the maximum";
  EXPECT_STREQ(names[0], "ＭＳ ゴシック");
  EXPECT_EQ(names[2][0], 0x7F);
  ASSERT_EQ(ListFontNames(names[0], 0, 1), 3);
  EXPECT_EQ(std::string(names[1]), std::string(62, 'L')) << "cut where a character ends";
  EXPECT_STREQ(names[2], "IPAGothic");

  std::vector<FakeGlyphSource::Family> many;
  for (int i = 0; i < 5000; ++i) many.push_back({"Face " + std::to_string(i), true, true});
  glyphs.SetFamilies(many);
  EXPECT_EQ(ListFontNames(nullptr, 0, 0), 4096) << "a listing without a buffer stops too";
}

TEST_F(RenderStringTest, PrivateFontsReachTheSourceAsHostPaths) {
  TestDirectory folder;
  folder.Write("Data/Font.ttf", "x");
  const std::string path = folder.Path() + "\\data\\font.TTF";
  EXPECT_EQ(AddPrivateFontFile(path.c_str()), 1);
  ASSERT_EQ(glyphs.PrivateFonts().size(), 1u);
  EXPECT_EQ(glyphs.PrivateFonts()[0], folder.File("Data/Font.ttf"));
  EXPECT_EQ(RemovePrivateFontFile(path.c_str()), 1);
  EXPECT_EQ(RemovePrivateFontFile(path.c_str()), 0);
  EXPECT_TRUE(glyphs.PrivateFonts().empty());
}

}  // namespace
