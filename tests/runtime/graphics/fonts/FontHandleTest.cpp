#include <cstring>

#include "tests/runtime/graphics/fonts/FontFixture.h"

namespace {

using FontHandleTest = FontFixture;

int PlainFont(int size = 16, int type = 0, int edge = -1) {
  return CreateFontToHandle(nullptr, size, -1, type, -1, edge, 0, -1, -1);
}

TEST_F(FontHandleTest, HandlesCarryTypeFourSlotAndCheck) {
  const int a = PlainFont();
  const int b = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, 7, 2047);
  EXPECT_EQ(a, 0 | ((0 | 0x2000) << 16));
  EXPECT_EQ(b, 7 | ((2047 | 0x2000) << 16));
  EXPECT_EQ(IsFontHandleValid(a), 1);
  EXPECT_EQ(IsFontHandleValid(b), 1);
  EXPECT_EQ(PlainFont(), 1 | ((1 | 0x2000) << 16)) << "the next check number goes on from the last one taken";
}

TEST_F(FontHandleTest, TheFortyFirstFontIsRefusedWithALogLine) {
  for (int i = 0; i < kFontSlots; ++i) ASSERT_NE(PlainFont(), -1) << i;
  EXPECT_EQ(PlainFont(), -1);
  EXPECT_TRUE(LogHas("作成できるフォントハンドル数 40 の限界を超えました"));
}

TEST_F(FontHandleTest, SlotsAndCheckNumbersOutsideTheirRangesAreRefused) {
  struct Case {
    int slot, check;
  } cases[] = {{40, -1}, {-2, -1}, {0x10000, -1}, {0, 2048}, {0, -2}, {0, 0x7FFFFFFF}};
  for (const Case& c : cases) {
    EXPECT_EQ(CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, c.slot, c.check), -1) << c.slot << " " << c.check;
  }
  EXPECT_EQ(glyphs.Opens().size(), 0u) << "refused before any face was opened";
  ASSERT_NE(CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, 3, 5), -1);
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, 3, 6), -1) << "slot in use";
}

TEST_F(FontHandleTest, CellSizeAndCellCountFollowTheWidestCharacterAndTheCacheArea) {
  struct Case {
    int size, maxWidth, type, edge;
    int cellSize, cellHeight, cells, pitch, wantType;
  } cases[] = {
      {16, 16, 0, -1, 24, 16, 568, 3, 0},    // 16 + 2 = 18 -> 24; 0x50000 / 576
      {300, 300, 0, -1, 304, 300, 20, 38, 0},  // 0x50000 / 304^2 = 3 -> at least 20
      {16, 16, 0, 2, 24, 20, 568, 24, 1},    // edge size 2 makes an edged font: 16 + 2 + 4 = 22 -> 24
      {15, 4, 1, -1, 18, 18, 1011, 18, 1},   // 4 + 2 + 2 = 8; height 15 + 2 = 17 -> 18 is larger
      {4, 1, 0, -1, 8, 4, 2024, 1, 0},       // at most 2024 cells
  };
  for (const Case& c : cases) {
    glyphs.SetMaxCharWidth(c.maxWidth);
    const int font = PlainFont(c.size, c.type, c.edge);
    ASSERT_NE(font, -1);
    const FontEntry* e = GetFontEntry(font);
    EXPECT_EQ(e->cellSize, c.cellSize) << c.size;
    EXPECT_EQ(e->cellHeight, c.cellHeight) << c.size;
    EXPECT_EQ(e->cellCount, c.cells) << c.size;
    EXPECT_EQ(e->cachePitch, c.pitch) << c.size;
    EXPECT_EQ(e->type, c.wantType) << c.size;
    EXPECT_EQ(e->cacheHeight, c.cellSize * c.cells);
    DeleteFontHandle(font);
  }
}

TEST_F(FontHandleTest, AntialiasingIsDroppedOnAnEightBitScreen) {
  ASSERT_EQ(SetScreenMode(640, 480, 8, -1), 0);
  const int font = PlainFont(16, 3);
  ASSERT_NE(font, -1);
  EXPECT_EQ(GetFontEntry(font)->type, 1);
  EXPECT_EQ(GetFontEntry(font)->cacheDepth, 8);
}

TEST_F(FontHandleTest, AFontTooLargeForAnyCacheIsRefused) {
  EXPECT_EQ(PlainFont(4000), -1);
  EXPECT_TRUE(LogHas("フォントのキャッシュ用メモリの確保に失敗しました in CreateFontToHandle"));
  EXPECT_EQ(glyphs.OpenFaces(), 0) << "the face is given back";
}

TEST_F(FontHandleTest, FacesAreTriedWithTheFallbackCharsets) {
  glyphs.FailFace("Nothing");
  EXPECT_EQ(CreateFontToHandle("Nothing", 16, 6, 0, 2, 1, 0, -1, -1), -1);
  ASSERT_EQ(glyphs.Opens().size(), 3u);
  EXPECT_EQ(glyphs.Opens()[0].charset, 2);
  EXPECT_EQ(glyphs.Opens()[1].charset, 0);
  EXPECT_EQ(glyphs.Opens()[2].charset, 1);
  EXPECT_TRUE(LogHas("指定のフォントの作成に失敗しました"));

  glyphs.FailFace("ＭＳ ゴシック");
  const int font = CreateFontToHandle(nullptr, 20, 7, 0, 1, 1, 1, -1, -1);
  ASSERT_NE(font, -1) << "the last try asks for no face at all";
  const auto& names = glyphs.OpenNames();
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(names[3], "ＭＳ ゴシック");
  EXPECT_EQ(names[4], "ＭＳ ゴシック");
  EXPECT_EQ(names[5], "");
  EXPECT_EQ(glyphs.Opens()[5].weight, 700);
  EXPECT_EQ(glyphs.Opens()[5].italic, 1);
  EXPECT_EQ(glyphs.Opens()[5].height, 20);
  char face[256];
  std::memset(face, 'x', sizeof face);
  int size = 0, thickness = 0;
  EXPECT_EQ(GetFontInfo(face, &size, &thickness, font), 0);
  EXPECT_STREQ(face, "") << "the default face keeps the empty name";
  EXPECT_EQ(size, 20);
  EXPECT_EQ(thickness, 7);

  glyphs.FailFace("");
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1), -1);
  EXPECT_TRUE(LogHas("フォントの作成に失敗しました"));
}

TEST_F(FontHandleTest, DeletingSetsTheNotifyAndEveryOperationRefusesTheStaleHandle) {
  const int font = PlainFont();
  int notify = 5;
  ASSERT_EQ(SetFontDeleteNotify(font, &notify), 0);
  EXPECT_EQ(notify, 0);
  ASSERT_EQ(DeleteFontHandle(font), 0);
  EXPECT_EQ(notify, 1);
  EXPECT_EQ(glyphs.OpenFaces(), 0);
  const int again = PlainFont();
  ASSERT_EQ(HandleSlot(again), HandleSlot(font)) << "the slot is taken again, under a new check number";
  int size = 0;
  EXPECT_EQ(IsFontHandleValid(font), 0);
  EXPECT_EQ(DeleteFontHandle(font), -1);
  EXPECT_EQ(SetFontDeleteNotify(font, &notify), -1);
  EXPECT_EQ(SetFontSpacing(1, font), -1);
  EXPECT_EQ(GetFontInfo(nullptr, &size, nullptr, font), -1);
  EXPECT_EQ(QueryFontSize(font), -1);
  EXPECT_EQ(GetFontEntry(font), nullptr);
  EXPECT_EQ(GetTextWidthWithFont("abc", -1, font, 0), -1);
  for (int bad : {-1, 0, 0x10000000 | 1 << 16, again | 0x08000000, static_cast<int>(0x80000000u) | again}) {
    EXPECT_EQ(IsFontHandleValid(bad), 0) << bad;
  }
  EXPECT_EQ(QueryFontSize(again), 16);
}

TEST_F(FontHandleTest, RestoreFontsKeepsEveryHandleWithItsSettings) {
  const int a = CreateFontToHandle("Face A", 20, 4, 3, 1, 2, 1, -1, -1);
  const int b = CreateFontToHandle(nullptr, 12, 6, 0, 1, 1, 0, 9, 100);
  ASSERT_NE(a, -1);
  ASSERT_NE(b, -1);
  SetFontSpacing(3, a);
  int notify = 0;
  SetFontDeleteNotify(a, &notify);
  GetTextWidthWithFont("abc", -1, a, 0);
  const size_t opensBefore = glyphs.Opens().size();
  ASSERT_EQ(RestoreFonts(), 0);
  EXPECT_EQ(notify, 1) << "the owner learns that its font was made again";
  EXPECT_EQ(glyphs.Opens().size(), opensBefore + 2);
  ASSERT_EQ(IsFontHandleValid(a), 1);
  ASSERT_EQ(IsFontHandleValid(b), 1);
  const FontEntry* e = GetFontEntry(a);
  EXPECT_STREQ(e->faceName, "Face A");
  EXPECT_EQ(e->size, 20);
  EXPECT_EQ(e->thickness, 4);
  EXPECT_EQ(e->type, 3);
  EXPECT_EQ(e->edgeSize, 2);
  EXPECT_EQ(e->italic, 1);
  EXPECT_EQ(e->spacing, 3);
  EXPECT_EQ(e->glyphIndex['a'], -1) << "the cache starts empty";
  EXPECT_EQ(GetFontEntry(b)->size, 12);
  EXPECT_EQ(glyphs.OpenFaces(), 2);
}

TEST_F(FontHandleTest, ResetFontsLeavesOnlyTheDefaultFontWithItsSettings) {
  ASSERT_EQ(InitFonts(), 0);
  const int first = GetDefaultFont();
  ASSERT_EQ(IsFontHandleValid(first), 1);
  EXPECT_EQ(QueryFontSize(first), 16);
  EXPECT_TRUE(LogHas("フォントの初期化を行います"));
  EXPECT_TRUE(LogHas("フォントの初期化は正常に終了しました"));
  ASSERT_EQ(SetDefaultFontSize(24), 0);
  const int other = PlainFont();
  ASSERT_EQ(ResetFonts(), 0);
  EXPECT_EQ(IsFontHandleValid(other), 0);
  EXPECT_EQ(QueryFontSize(GetDefaultFont()), 24);
  EXPECT_EQ(glyphs.OpenFaces(), 1);
  ASSERT_EQ(EndFonts(), 0);
  EXPECT_EQ(glyphs.OpenFaces(), 0);
  EXPECT_EQ(GetDefaultFont(), -1);
}

TEST_F(FontHandleTest, TheDefaultFontIsMadeAgainOnlyWhenASettingChanged) {
  ASSERT_EQ(RebuildDefaultFont(), 0);
  const int font = GetDefaultFont();
  ASSERT_NE(font, -1);
  SetDefaultFontSize(-1);
  SetDefaultFontThickness(-1);
  SetDefaultFontType(-1);
  SetDefaultFontFace(nullptr, -1);
  EXPECT_EQ(GetDefaultFont(), font) << "every -1 is the setting it already had";
  SetDefaultFontType(1);
  EXPECT_NE(GetDefaultFont(), font);
  EXPECT_EQ(GetFontEntry(GetDefaultFont())->type, 1);
  EXPECT_EQ(IsFontHandleValid(font), 0);
  SetDefaultFontSizeAndThickness("ignored", 30, 9);
  const FontEntry* e = GetFontEntry(GetDefaultFont());
  EXPECT_EQ(e->size, 30);
  EXPECT_EQ(e->thickness, 9);
  EXPECT_STREQ(e->faceName, "");
  SetDefaultFontFace("ＭＳ 明朝", 1);
  EXPECT_STREQ(GetFontEntry(GetDefaultFont())->faceName, "ＭＳ 明朝");
  EXPECT_EQ(glyphs.OpenFaces(), 1);
}

}  // namespace
