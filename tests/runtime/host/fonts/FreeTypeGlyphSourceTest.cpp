#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/host/fonts/FreeTypeGlyphSource.h"
#include "tests/support/TestDirectory.h"

namespace {

const HostGlyphSource& Source() { return *FreeTypeGlyphSource(); }

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? resolved : path;
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Opens a face; the test's scope closes it.
struct Face {
  int id;
  HostFaceMetrics metrics{};
  Face(const char* name, int height, int weight = 400, int italic = 0, int charset = 1) {
    id = Source().openFace(HostFaceRequest{name, charset, height, weight, italic}, &metrics);
  }
  ~Face() {
    if (id >= 0) Source().closeFace(id);
  }
  std::string File() const { return BaseName(RealPath(FreeTypeFaceFile(id))); }
};

struct Ink {
  HostGlyph glyph{};
  int pixels = 0;  // set bits, or grey levels above 0
  int full = 0;    // grey level 16
  int partial = 0; // grey levels 1..15
};

Ink Render(int face, uint32_t code, HostGlyphFormat format) {
  Ink ink;
  EXPECT_TRUE(Source().renderGlyph(face, code, format, &ink.glyph));
  const HostGlyph& g = ink.glyph;
  for (int y = 0; y < g.boxHeight; ++y) {
    for (int x = 0; x < g.boxWidth; ++x) {
      const uint8_t* row = g.bits + y * g.pitch;
      const int level = format == HostGlyphGrey ? row[x] : (row[x >> 3] >> (7 - (x & 7)) & 1) * 16;
      EXPECT_LE(level, 16);
      if (level > 0) ++ink.pixels;
      if (level == 16) ++ink.full;
      if (level > 0 && level < 16) ++ink.partial;
    }
  }
  return ink;
}

TEST(FreeTypeGlyphSourceTest, TheSystemsDefaultFacesResolveToTheIpaFaces) {
  struct Case {
    const char* name;
    const char* file;
  } cases[] = {{"ＭＳ ゴシック", "ipag.ttf"},  {"MS Gothic", "ipag.ttf"},   {"ms gothic", "ipag.ttf"},
               {"ＭＳ Ｐゴシック", "ipagp.ttf"}, {"ＭＳ 明朝", "ipam.ttf"},  {"ＭＳ Ｐ明朝", "ipamp.ttf"},
               {"MS PMincho", "ipamp.ttf"}};
  for (const Case& c : cases) {
    Face face(c.name, 16);
    ASSERT_GE(face.id, 0) << c.name;
    EXPECT_EQ(face.File(), c.file) << c.name;
  }
  Face unknown("どこにもない書体", 16);
  ASSERT_GE(unknown.id, 0) << "an unknown face still gives a Japanese face";
  EXPECT_EQ(unknown.File().rfind("ipa", 0), 0u) << unknown.File();
}

TEST(FreeTypeGlyphSourceTest, MetricsFollowTheClassicCellRule) {
  // IPA Gothic: 2048 units per em, win ascent 1802, win descent 401, widest
  // advance 2048. Size 16: em = 16 x 2048 / 2203 = 14.87 pixels.
  Face face("ＭＳ ゴシック", 16);
  ASSERT_GE(face.id, 0);
  EXPECT_EQ(face.metrics.height, 16);
  EXPECT_EQ(face.metrics.ascent, 13);
  EXPECT_EQ(face.metrics.maxCharWidth, 15);
  Face big("ＭＳ ゴシック", 32);
  EXPECT_EQ(big.metrics.ascent, 26);
  EXPECT_EQ(big.metrics.maxCharWidth, 30);
}

TEST(FreeTypeGlyphSourceTest, JapaneseGlyphsComeInMonoAndSeventeenGreyLevels) {
  Face face("ＭＳ ゴシック", 24);
  ASSERT_GE(face.id, 0);
  const uint32_t nichi = 0x93FA;  // 日
  const Ink mono = Render(face.id, nichi, HostGlyphMono);
  EXPECT_GT(mono.pixels, 40);
  EXPECT_EQ(mono.glyph.advance, 22);  // a full-width character: the whole em
  EXPECT_GT(mono.glyph.boxWidth, 8);
  EXPECT_LE(mono.glyph.boxWidth, 22);
  EXPECT_LE(mono.glyph.boxHeight, 24);
  EXPECT_LE(mono.glyph.originY, face.metrics.ascent);
  const Ink grey = Render(face.id, 0x82A0 /* あ */, HostGlyphGrey);
  EXPECT_GT(grey.full, 10);
  EXPECT_GT(grey.partial, 10) << "anti-aliased edges";
  const Ink a = Render(face.id, 'A', HostGlyphMono);
  EXPECT_EQ(a.glyph.advance, 11) << "a half-width character";
  const Ink kana = Render(face.id, 0xB1 /* half-width ｱ */, HostGlyphMono);
  EXPECT_GT(kana.pixels, 10);
}

TEST(FreeTypeGlyphSourceTest, CodesNoFaceMapsGiveTheMissingGlyphsAdvanceAndNoInk) {
  Face face("ＭＳ ゴシック", 16);
  for (uint32_t code : {0x8540u, 0xFCFCu, 0x80u, 0xFFFFu}) {
    HostGlyph g{};
    ASSERT_TRUE(Source().renderGlyph(face.id, code, HostGlyphGrey, &g)) << code;
    EXPECT_EQ(g.boxWidth, 0) << code;
    EXPECT_EQ(g.boxHeight, 0) << code;
    EXPECT_GT(g.advance, 0) << code;
  }
  HostGlyph g{};
  EXPECT_FALSE(Source().renderGlyph(-1, 'A', HostGlyphMono, &g));
  EXPECT_FALSE(Source().renderGlyph(100000, 'A', HostGlyphMono, &g));
}

TEST(FreeTypeGlyphSourceTest, BoldAndItalicAreMadeWhereTheFaceHasNone) {
  Face regular("ＭＳ ゴシック", 24, 400);
  Face bold("ＭＳ ゴシック", 24, 900);
  Face italic("ＭＳ ゴシック", 24, 400, 1);
  ASSERT_GE(bold.id, 0);
  ASSERT_NE(bold.id, regular.id);
  ASSERT_NE(italic.id, regular.id);
  const Ink r = Render(regular.id, 'H', HostGlyphMono);
  const Ink b = Render(bold.id, 'H', HostGlyphMono);
  const Ink i = Render(italic.id, 'H', HostGlyphMono);
  EXPECT_GT(b.pixels, r.pixels + 10);
  EXPECT_EQ(b.glyph.advance, r.glyph.advance + 1);
  EXPECT_EQ(bold.metrics.maxCharWidth, regular.metrics.maxCharWidth + 1);
  EXPECT_GT(i.glyph.boxWidth, r.glyph.boxWidth) << "slanted: the top leans right";
  Face same("ＭＳ ゴシック", 24, 400);
  EXPECT_EQ(same.id, regular.id) << "faces are cached and shared";
}

TEST(FreeTypeGlyphSourceTest, ListingHasTheDefaultFaceNamesAndTheIpaFamilies) {
  struct Found {
    bool gothic = false, mincho = false, ipa = false, latinJapanese = false;
  } found;
  Source().listFamilies(
      [](const HostFontFamily& f, void* context) {
        Found& found = *static_cast<Found*>(context);
        const std::string name = f.name;
        if (name == "ＭＳ ゴシック" && f.outline && f.japanese) found.gothic = true;
        if (name == "ＭＳ 明朝" && f.outline && f.japanese) found.mincho = true;
        if (name == "IPAGothic" && f.outline && f.japanese) found.ipa = true;
        if (name == "DejaVu Sans" && f.japanese) found.latinJapanese = true;
        return true;
      },
      &found);
  EXPECT_TRUE(found.gothic);
  EXPECT_TRUE(found.mincho);
  EXPECT_TRUE(found.ipa);
  EXPECT_FALSE(found.latinJapanese);
}

// A copy of IPA P Gothic under another family name: every spelling of the
// name in the file, single-byte and UTF-16, becomes one of the same length.
std::string RenamedFontCopy(const TestDirectory& dir) {
  std::string bytes = ReadWholeFile("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf");
  EXPECT_FALSE(bytes.empty());
  const std::string from = "IPAPGothic", to = "MovanTestP";
  std::string from16, to16;
  for (size_t i = 0; i < from.size(); ++i) {
    from16 += std::string(1, '\0') + from[i];
    to16 += std::string(1, '\0') + to[i];
  }
  for (auto [a, b] : {std::pair{from16, to16}, std::pair{from, to}}) {
    for (size_t at = bytes.find(a); at != std::string::npos; at = bytes.find(a, at + 1)) bytes.replace(at, a.size(), b);
  }
  return dir.Write("fonts/private.ttf", bytes);
}

bool Listed(const char* name) {
  struct Search {
    const char* name;
    bool found;
  } search{name, false};
  Source().listFamilies(
      [](const HostFontFamily& f, void* context) {
        Search& s = *static_cast<Search*>(context);
        if (std::string(f.name) == s.name) s.found = true;
        return !s.found;
      },
      &search);
  return search.found;
}

TEST(FreeTypeGlyphSourceTest, APrivateFontIsListedAndUsedUntilItIsRemoved) {
  TestDirectory dir;
  const std::string path = RenamedFontCopy(dir);
  EXPECT_FALSE(Listed("MovanTestP"));
  ASSERT_EQ(Source().addPrivateFont(path.c_str()), 1);
  EXPECT_TRUE(Listed("MovanTestP"));
  {
    Face face("MovanTestP", 16);
    ASSERT_GE(face.id, 0);
    EXPECT_EQ(FreeTypeFaceFile(face.id), path);
    EXPECT_GT(Render(face.id, 0x93FA, HostGlyphMono).pixels, 20);
  }
  EXPECT_EQ(Source().removePrivateFont(path.c_str()), 1);
  EXPECT_EQ(Source().removePrivateFont(path.c_str()), 0);
  EXPECT_FALSE(Listed("MovanTestP"));
  Face after("MovanTestP", 16);
  EXPECT_NE(FreeTypeFaceFile(after.id), path);
  const std::string notAFont = dir.Write("fonts/empty.ttf", "not a font");
  EXPECT_EQ(Source().addPrivateFont(notAFont.c_str()), 0);
}

}  // namespace
