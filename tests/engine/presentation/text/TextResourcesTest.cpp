#include <gtest/gtest.h>

#include <string>

#include "engine/presentation/text/TextResources.h"
#include "tests/engine/presentation/RichTextFixture.h"

namespace {

using TextResourcesTest = RichTextFixture;

// The cache's live fonts and the layer's default font.
int LiveFonts() {
  int live = IsFontHandleValid(GetDefaultFont());
  for (const std::vector<int32_t>& table : TextResourcesHub.fontTables) {
    for (int32_t font : table) live += font > 0 && IsFontHandleValid(font);
  }
  return live;
}

TEST_F(TextResourcesTest, FontsAreMadeOncePerFaceEdgeAndSize) {
  TextResources& r = TextResourcesHub;
  const int32_t a = r.GetFont(0, 24, 5, 0);
  ASSERT_GT(a, 0);
  EXPECT_EQ(r.GetFont(0, 24, 5, 0), a);
  EXPECT_NE(r.GetFont(0, 24, 5, 1), a);
  EXPECT_NE(r.GetFont(1, 24, 5, 0), a);
  EXPECT_EQ(r.createdCount, 3);
  EXPECT_EQ(r.fontTables[0][24], a);
  int size = 0, thickness = 0;
  char face[256];
  ASSERT_EQ(GetFontInfo(face, &size, &thickness, a), 0);
  EXPECT_EQ(size, 24);
  EXPECT_EQ(thickness, 5);
  EXPECT_STREQ(face, kFallbackFaceName) << "an empty face name is the gothic face";
}

TEST_F(TextResourcesTest, TheThirtyFirstCreationResetsTheCacheAtTheNextRequest) {
  TextResources& r = TextResourcesHub;
  const int32_t first = r.GetFont(0, 10, 5, 0);
  for (int32_t size = 11; size <= 40; ++size) r.GetFont(0, size, 5, 0);
  EXPECT_EQ(r.createdCount, 31);
  EXPECT_TRUE(IsFontHandleValid(first));
  EXPECT_EQ(LiveFonts(), 32) << "the layer holds 40";
  const int32_t next = r.GetFont(0, 41, 5, 0);
  EXPECT_NE(next, -1);
  EXPECT_FALSE(IsFontHandleValid(first)) << "every font of the layer went";
  EXPECT_EQ(r.createdCount, 1);
  EXPECT_EQ(r.fontTables[0][10], 0);
  EXPECT_EQ(r.fontTables[0][41], next);
  EXPECT_NE(r.GetFont(0, 10, 5, 0), -1) << "made again on demand";
}

TEST_F(TextResourcesTest, AMissingFaceIsReportedOnceAndFallsBackForGood) {
  glyphs.FailFace("NoSuchFace");
  GameInformation.settingStrings[GameInfo::kFirstFontFace + 2] = "NoSuchFace";
  SetUpFonts(GameInformation);
  TextResources& r = TextResourcesHub;
  EXPECT_EQ(r.charsets[2], 0) << "not installed";
  const int32_t font = r.GetFont(2, 24, 5, 0);
  ASSERT_NE(font, -1);
  ASSERT_EQ(errorScreens().size(), 1u);
  EXPECT_EQ(errorScreens()[0], "NoSuchFaceのフォントがありせんでした||");
  EXPECT_EQ(r.faceNames[2], kFallbackFaceName);
  EXPECT_EQ(r.createdCount, 2) << "both creations count";
  char face[256];
  GetFontInfo(face, nullptr, nullptr, font);
  EXPECT_STREQ(face, kFallbackFaceName);
  EXPECT_NE(r.GetFont(2, 30, 5, 0), -1);
  EXPECT_EQ(errorScreens().size(), 1u);
}

TEST_F(TextResourcesTest, AFallbackThatFailsTooStaysFailed) {
  glyphs.FailFace("NoSuchFace");
  glyphs.FailFace(kFallbackFaceName);
  glyphs.FailFace("");
  GameInformation.settingStrings[GameInfo::kFirstFontFace + 1] = "NoSuchFace";
  SetUpFonts(GameInformation);
  EXPECT_EQ(TextResourcesHub.GetFont(1, 24, 5, 0), -1);
  EXPECT_EQ(TextResourcesHub.fontTables[2][24], -1);
  EXPECT_EQ(TextResourcesHub.GetFont(1, 24, 5, 0), -1);
  EXPECT_EQ(errorScreens().size(), 1u) << "a failed entry is not made again";
}

TEST_F(TextResourcesTest, SizesOutsideTheTablesDrawWithTheLargest) {
  TextResources& r = TextResourcesHub;
  const int32_t largest = r.GetFont(0, 300, 5, 0);
  ASSERT_NE(largest, -1);
  EXPECT_EQ(r.fontTables[0][TextResources::kTableSize - 1], largest);
  EXPECT_EQ(QueryFontSize(largest), TextResources::kTableSize - 1);
  EXPECT_EQ(r.GetFont(0, -3, 5, 0), largest);
  EXPECT_EQ(r.createdCount, 1);
}

TEST_F(TextResourcesTest, FontSetUpFromTheGameSettings) {
  glyphs.SetFamilies({{"ＭＳ 明朝", true, true}, {"Latin Face", true, false}});
  GameInformation.settingStrings[GameInfo::kFirstFontFace] = "";
  GameInformation.settingStrings[GameInfo::kFirstFontFace + 1] = "ＭＳ 明朝";
  GameInformation.settingStrings[GameInfo::kFirstFontFace + 2] = "Latin Face";
  GameInformation.settingStrings[GameInfo::kFirstFontFace + 3] = "Elsewhere";
  GameInformation.settingBytes[GameInfo::kPlainFonts] = 0;
  SetUpFonts(GameInformation);
  const TextResources& r = TextResourcesHub;
  EXPECT_EQ(r.faceNames, (std::vector<std::string>{kFallbackFaceName, "ＭＳ 明朝", "Latin Face", "Elsewhere"}));
  EXPECT_EQ(r.charsets, (std::array<int32_t, 4>{0, -1, 0, 0})) << "only installed Japanese faces";
  EXPECT_EQ(r.fontTypes, (std::array<int32_t, 2>{2, 3}));
  EXPECT_EQ(r.fontTables[9].size(), 250u);
  GameInformation.settingBytes[GameInfo::kPlainFonts] = 1;
  SetUpFonts(GameInformation);
  EXPECT_EQ(r.fontTypes, (std::array<int32_t, 2>{0, 1}));
}

}  // namespace
