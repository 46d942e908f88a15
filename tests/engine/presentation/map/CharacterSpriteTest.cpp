#include <gtest/gtest.h>

#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/map/CharacterSprite.h"
#include "tests/engine/presentation/map/MapDrawFixture.h"
#include "tests/support/GoldenFrame.h"

namespace {

constexpr char kGhostSheet[] = "Chara\\Ghost.png";        // every cell transparent
constexpr char kGhostSingle[] = "Chara\\Ghost$.png";
constexpr char kSolidShadow[] = "Chara\\SolidShadow.png";  // every cell filled

class CharacterSpriteTest : public MapDrawTest {
 protected:
  void SetUp() override {
    MapDrawTest::SetUp();
    UseTileMap(20, 15);
    WriteImage(kGhostSheet, PixelImage(6 * 32, 4 * 48));
    WriteImage(kGhostSingle, PixelImage(40, 40));
    WriteImage(kSolidShadow, PixelImage(6 * 32, 4 * 16, 0x202020));
    ClearDrawTarget();
    clearHash_ = HashBackScreen();
  }

  // A sprite of the map event added last, drawn once on a cleared screen.
  CharacterSprite DrawLastEvent() {
    const auto index = static_cast<int32_t>(CurrentMap.events.size() - 1);
    CharacterSprite sprite(CurrentMap.events.back().id, index);
    ClearDrawTarget();
    sprite.Draw();
    return sprite;
  }
  bool ScreenIsClear() const { return HashBackScreen() == clearHash_; }

  uint64_t clearHash_ = 0;
};

TEST_F(CharacterSpriteTest, TheCellFollowsDirectionPatternAndWalking) {
  struct Case {
    const char* sheet;
    int32_t patterns;
    bool eight;
    int16_t direction;
    int16_t pattern;
    bool walking;
    int32_t piece;
  };
  const Case cases[] = {
      // Eight directions, p = 3: "TX" has 12 columns; walking with pattern 0
      // shows the walking half of the row's left (2) or right (1) half.
      {kRunnerSheet, 3, true, 2, 0, true, 4},
      {kRunnerSheet, 3, true, 1, 0, true, 10},
      {kRunnerSheet, 3, true, 1, 2, false, 9},
      {kRunnerSheet, 3, true, 9, 1, true, 36 + 6 + 1 + 1 + 3},
      // Four directions, p = 3: "T" has 4 columns, standing is column 0 of the
      // direction's row, walking column q + 1.
      {kWalkerSheet, 3, false, 2, 2, false, 1},
      {kWalkerSheet, 3, false, 4, 0, false, 5},
      {kWalkerSheet, 3, false, 6, 1, true, 11},
      {kWalkerSheet, 3, false, 8, 2, true, 16},
      // Plain eight-direction sheets: 6 columns.
      {kHeroSheet, 3, true, 8, 2, false, 21},
      {kHeroSheet, 3, true, 7, 1, true, 17},
      {kHeroSheet, 3, true, 3, 0, false, 10},
      // The whole image whatever the direction.
      {kStatueSheet, 3, true, 7, 2, true, 1},
  };
  for (const Case& c : cases) {
    CurrentMapSettings.sheetPatterns = c.patterns;
    CurrentMap.events.clear();
    MapEventState& e = AddEvent(1, 5, 5, c.sheet);
    e.eightDirSheet = c.eight;
    e.direction = c.direction;
    e.pattern = c.pattern;
    e.moving = c.walking;
    const CharacterSprite sprite = DrawLastEvent();
    EXPECT_EQ(sprite.sheetPiece, c.piece) << c.sheet << " d=" << c.direction << " q=" << c.pattern;
    EXPECT_FALSE(ScreenIsClear()) << c.sheet << " d=" << c.direction;
  }
}

TEST_F(CharacterSpriteTest, AMadeSpriteMeasuresItsSheetAtOnceAndDrawsNothing) {
  MapEventState& e = AddEvent(1, 5, 5, kHeroSheet);
  const CharacterSprite sprite(1, 0);
  EXPECT_EQ(CurrentMap.events[0].spriteWidth, 32);
  EXPECT_EQ(CurrentMap.events[0].spriteHeight, 48);
  EXPECT_EQ(sprite.halfWidth, 16);
  EXPECT_EQ(sprite.columns, 6);
  EXPECT_GE(sprite.sheetIndex, 0);
  EXPECT_TRUE(ScreenIsClear());

  // A tile graphic is one tile of the tile set.
  e.graphicFile.clear();
  e.graphicId = 3;
  const CharacterSprite tile(1, 0);
  EXPECT_EQ(CurrentMap.events[0].spriteHeight, 32);
  EXPECT_EQ(tile.sheetPiece, 4);
  EXPECT_EQ(tile.sheetIndex, CachedGraphics.IndexOf(kTileImage));
}

TEST_F(CharacterSpriteTest, ACharacterFoundAgainAfterTheEventListMoved) {
  AddEvent(7, 5, 5, kHeroSheet);
  CharacterSprite sprite(7, 0);
  // Another event comes first in the map's lists.
  CurrentMap.mapData.events.insert(CurrentMap.mapData.events.begin(), MapEvent(3));
  CurrentMap.events.insert(CurrentMap.events.begin(), CurrentMap.events[0]);
  CurrentMap.events[0].id = 3;
  CurrentMap.events[0].graphicFile.clear();
  ClearDrawTarget();
  sprite.Draw();  // event 7 is at index 1 now
  EXPECT_FALSE(ScreenIsClear());
  CurrentMap.events.clear();
  ClearDrawTarget();
  sprite.Draw();
  EXPECT_TRUE(ScreenIsClear());
}

TEST_F(CharacterSpriteTest, WhatDrawsNothing) {
  struct Case {
    const char* what;
    const char* sheet;
    int16_t direction;
    int16_t opacity;
    bool inGrass;
  };
  const Case cases[] = {
      {"no graphic", "", 2, 255, false},
      {"opacity 0, not even the shadow", kHeroSheet, 2, 0, false},
      {"direction 0: no row", kHeroSheet, 0, 255, false},
      {"direction 0 in the grass", kHeroSheet, 0, 255, true},
      {"direction 10: past the rows", kHeroSheet, 10, 255, false},
      {"a direction below the first row", kHeroSheet, -6, 255, true},
      {"a transparent single image has no shadow", kGhostSingle, 2, 255, false},
  };
  UseShadows();
  SystemDatabase.SetString(9, 0, 0, kSolidShadow);
  for (const Case& c : cases) {
    CurrentMap.events.clear();
    SetTile(1, 5, 5, c.inGrass ? kGrass : 100000);
    MapEventState& e = AddEvent(1, 5, 5, c.sheet);
    e.direction = c.direction;
    e.opacity = c.opacity;
    e.extraBytes[0] = 0;
    const CharacterSprite sprite = DrawLastEvent();
    EXPECT_TRUE(ScreenIsClear()) << c.what;
  }
  CurrentMap.events.clear();
  AddEvent(1, 5, 5, "");
  EXPECT_EQ(DrawLastEvent().sheetIndex, -1);
  EXPECT_EQ(CachedGraphics.IndexOf(""), -1);
}

TEST_F(CharacterSpriteTest, AnExtraImagePastTheListShowsNoneAndNoError) {
  UseShadows();  // a list of one extra image
  MapEventState& e = AddEvent(1, 5, 5, kHeroSheet);
  e.extraBytes[0] = 1;
  const CharacterSprite sprite = DrawLastEvent();
  EXPECT_EQ(sprite.extraIndex, -1);
  EXPECT_TRUE(errorLines.empty());
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(CharacterSpriteTest, AMissingSheetIsReportedOnceAndTheSpriteStaysOff) {
  AddEvent(1, 5, 5, "Chara\\Nobody.png");
  CharacterSprite sprite(1, 0);
  sprite.Draw();
  sprite.Draw();
  EXPECT_EQ(sprite.loadFailed, 1);
  EXPECT_EQ(messageBoxes.size(), 2u);  // one box: text and title
  CurrentMap.events[0].graphicFile = kHeroSheet;
  ClearDrawTarget();
  sprite.Draw();
  EXPECT_TRUE(ScreenIsClear()) << "off until the sprite is made again";
}

TEST_F(CharacterSpriteTest, NoPatternsPerDirectionStillCutTheSheet) {
  // Setting byte 7 = 0 asks for 0 columns: the sheet is one column wide.
  CurrentMapSettings.sheetPatterns = 0;
  AddEvent(1, 5, 5, kHeroSheet);
  const CharacterSprite sprite = DrawLastEvent();
  EXPECT_EQ(sprite.columns, 1);
  EXPECT_EQ(CurrentMap.events[0].spriteWidth, 192);
  EXPECT_EQ(sprite.extraColumns, 1);
}

TEST_F(CharacterSpriteTest, WithoutARiseTheShadowCoversTwiceItsHalfWidthAtTheFoot) {
  UseShadows();
  SystemDatabase.SetString(9, 0, 0, kSolidShadow);
  AddEvent(1, 5, 5, kGhostSheet).extraBytes[0] = 0;
  const CharacterSprite sprite = DrawLastEvent();
  const int x = 5 * 32 + 16;  // the foot point
  const int y = 6 * 32;
  EXPECT_EQ(sprite.extraHalfWidth, 16);
  EXPECT_EQ(sprite.extraHeight, 16);
  EXPECT_EQ(BackPixel(x - 16, y - 16), 0x202020u);
  EXPECT_EQ(BackPixel(x + 15, y - 1), 0x202020u);
  EXPECT_EQ(BackPixel(x - 17, y - 1), 0u);
  EXPECT_EQ(BackPixel(x + 16, y - 1), 0u);
  EXPECT_EQ(BackPixel(x, y - 17), 0u);
  EXPECT_EQ(BackPixel(x, y), 0u);

  // Risen by 16: a = min(8, 2), e = min(12, 4).
  CurrentMap.events[0].height = 16;
  ClearDrawTarget();
  CharacterSprite raised(1, 0);
  raised.Draw();
  EXPECT_EQ(BackPixel(x - 12, y - 14), 0x202020u);
  EXPECT_EQ(BackPixel(x + 11, y - 3), 0x202020u);
  EXPECT_EQ(BackPixel(x - 13, y - 14), 0u);
  EXPECT_EQ(BackPixel(x, y - 2), 0u);
}

TEST_F(CharacterSpriteTest, OnlyCharactersMoreThanATileBesideTheScreenAreSkipped) {
  // Zoomed out, characters beside the screen would come into view: those
  // more than a tile beyond its left or right edge are not drawn, those far
  // above or below are.
  CurrentMap.zoom.zoom = 50;
  CurrentMap.zoom.centreX = 320;
  CurrentMap.zoom.centreY = 240;
  struct Case {
    int32_t footX;
    int32_t footY;
    bool drawn;
  };
  const Case cases[] = {{-40, 200, true}, {-60, 200, false}, {700, 200, false}, {680, 200, true}, {300, -200, true}};
  for (const Case& c : cases) {
    CurrentMap.events.clear();
    MapEventState& e = AddEvent(1, 0, 0, kHeroSheet);
    e.quarterX = 4 * (c.footX - 16);
    e.quarterY = 4 * (c.footY - 32);
    DrawLastEvent();
    EXPECT_EQ(!ScreenIsClear(), c.drawn) << c.footX << "," << c.footY;
  }
}

TEST_F(CharacterSpriteTest, AColourEffectLeavesTheToneBrightness) {
  RootRunner.currentTone[0] = -55;
  RootRunner.currentTone[2] = 20;
  MapEventState& e = AddEvent(1, 5, 5, kHeroSheet);
  e.SetEffect(0xFF0000, 10);
  DrawLastEvent();
  EXPECT_EQ(gDrawState.brightness, 200u << 16 | 255u << 8 | 255u);
}

TEST_F(CharacterSpriteTest, ASpriteShowsANewSheetWhenTheGraphicChangesOrTheTileSetIsRefreshed) {
  AddEvent(1, 5, 5, kHeroSheet);
  CharacterSprite sprite(1, 0);
  const int32_t heroIndex = sprite.sheetIndex;
  CurrentMap.events[0].graphicFile = kRunnerSheet;
  sprite.Draw();
  EXPECT_NE(sprite.sheetIndex, heroIndex);
  EXPECT_EQ(sprite.columns, 12);

  // A tile graphic follows the tile set only when the sprites are refreshed.
  CurrentMap.events[0].graphicFile.clear();
  CurrentMap.events[0].graphicId = 2;
  sprite.Draw();
  const int32_t firstTileSet = sprite.sheetIndex;
  WriteImage("MapChip\\Other.png", PixelImage(256, 128, 0x123456));
  CurrentMap.tileImageName = "MapChip\\Other.png";
  sprite.Draw();
  EXPECT_EQ(sprite.sheetIndex, firstTileSet);
  SystemStateHub.spriteRefresh = 1;
  sprite.Draw();
  EXPECT_EQ(sprite.sheetIndex, CachedGraphics.IndexOf("MapChip\\Other.png"));
}

}  // namespace
