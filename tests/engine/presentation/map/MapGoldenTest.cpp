// Golden frames of the map drawing: whole frames drawn as the game scene
// draws them, hashed and compared with the frames looked at once by eye
// (scripts/golden writes them anew with a PNG of each).

#include <gtest/gtest.h>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/GraphicsRestore.h"
#include "tests/engine/presentation/map/MapDrawFixture.h"
#include "tests/support/GoldenFrame.h"

namespace {

class MapGoldenTest : public MapDrawTest {
 protected:
  // Objects on layer 1 here and there, tall grass and a pond.
  void UseTown() {
    UseTileMap(25, 20);
    for (int32_t x = 0; x < 25; ++x) {
      for (int32_t y = 0; y < 20; ++y) {
        if ((x * 7 + y * 3) % 11 == 0) SetTile(1, x, y, 8 + (x + y) % 8);
      }
    }
    for (int32_t x = 14; x < 19; ++x) {
      for (int32_t y = 9; y < 12; ++y) SetTile(1, x, y, kGrass + x % 8);
    }
    for (int32_t x = 2; x < 6; ++x) {
      for (int32_t y = 9; y < 13; ++y) SetTile(0, x, y, kWater);
    }
  }
};

TEST_F(MapGoldenTest, PlainTiles) {
  UseTown();
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("plain_tiles"), "");

  // A scroll that is no whole tile: the map moves left and up by it.
  CurrentMap.scrollX = 4 * 45;
  CurrentMap.scrollY = 4 * 21;
  DrawFrame();
  EXPECT_EQ(Golden("plain_tiles_scrolled"), "");
}

TEST_F(MapGoldenTest, AutotilesAnimateOverThreeFramesEverySixtyCounts) {
  UseTileMap(20, 15);
  // Shape 0 in the first rows, then shapes choosing other tile rows per
  // quarter.
  const int32_t shapes[] = {0, 1234, 4321, 2020, 3131, 4444, 1111, 4103};
  for (int32_t x = 0; x < 20; ++x) {
    for (int32_t y = 0; y < 15; ++y) {
      SetTile(0, x, y, kWater + shapes[(x / 3 + y / 2 * 2) % 8]);
    }
  }
  drawing.ResetSprites();
  uint64_t hashes[4];
  for (int32_t frame = 0; frame < 4; ++frame) {
    CurrentMap.frameCounter = frame * 20;
    DrawFrame();
    hashes[frame] = HashBackScreen();
  }
  EXPECT_NE(hashes[0], hashes[1]);
  EXPECT_NE(hashes[1], hashes[2]);
  EXPECT_EQ(hashes[3], hashes[0]);
  CurrentMap.frameCounter = 0;
  DrawFrame();
  EXPECT_EQ(Golden("autotiles_frame0"), "");
  CurrentMap.frameCounter = 39;
  DrawFrame();
  EXPECT_EQ(Golden("autotiles_frame1"), "");
}

TEST_F(MapGoldenTest, TheHeroBehindAndInFrontOfALevelOneRow) {
  UseTileMap(20, 15);
  for (int32_t x = 2; x < 12; ++x) SetTile(1, x, 6, kWallTop + x % 8);
  PlaceHero(5, 6);  // standing on the row: its tiles cover his feet
  MapEventState& girl = AddEvent(1, 8, 7, kGirlSheet);  // below it: she covers them
  girl.direction = 8;
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("hero_behind_row_girl_in_front"), "");

  PlaceHero(5, 7);
  PlaceOnTile(CurrentMap.events[0], 8, 6);
  DrawFrame();
  EXPECT_EQ(Golden("hero_in_front_girl_behind"), "");
}

TEST_F(MapGoldenTest, SheetLayouts) {
  UseTileMap(20, 15);
  // The hero's plain eight-direction sheet in every direction, row 2.
  const int16_t directions[] = {2, 4, 6, 8, 1, 3, 7, 9};
  for (int32_t i = 0; i < 8; ++i) {
    MapEventState& e = AddEvent(i, 1 + 2 * i, 2, kHeroSheet);
    e.direction = directions[i];
    e.pattern = static_cast<int16_t>(i % 3);
  }
  // "T" and "TX": standing and walking, row 5 and row 8.
  for (int32_t i = 0; i < 6; ++i) {
    MapEventState& t = AddEvent(10 + i, 1 + 3 * i, 5, kWalkerSheet);
    t.direction = i < 3 ? 2 : 3;
    t.pattern = static_cast<int16_t>(i % 3);
    t.moving = i % 2;
    MapEventState& tx = AddEvent(20 + i, 1 + 3 * i, 8, kRunnerSheet);
    tx.direction = i < 3 ? 6 : 9;
    tx.pattern = static_cast<int16_t>(i % 3);
    tx.moving = i % 2;
  }
  // "$": the whole image whatever the direction; a tile graphic.
  AddEvent(30, 3, 11, kStatueSheet).direction = 4;
  MapEventState& tile = AddEvent(31, 7, 11, "");
  tile.graphicId = 9;
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("sheet_layouts"), "");
}

TEST_F(MapGoldenTest, BushShadowsAndColourEffects) {
  UseTileMap(20, 15);
  UseShadows();
  for (int32_t x = 1; x < 19; ++x) SetTile(1, x, 4, kGrass + x % 8);
  // In the grass: standing (two parts, the lower fainter), translucent,
  // jumping (drawn whole), and one with a colour effect.
  AddEvent(0, 2, 4, kHeroSheet);
  AddEvent(1, 5, 4, kGirlSheet).opacity = 160;
  MapEventState& jumper = AddEvent(2, 8, 4, kHeroSheet);
  jumper.jumpCount = 4;
  jumper.jumpHalf = 8;
  MapEventState& glowing = AddEvent(3, 11, 4, kGirlSheet);
  glowing.SetEffect(0xC8 << 16 | 0x64 << 8 | 0x64, 10);
  glowing.effectTimer = 5;
  // With shadows, on the ground: standing, raised, and a "$" image (none).
  for (int32_t i = 0; i < 3; ++i) AddEvent(10 + i, 2 + 3 * i, 9, i == 2 ? kStatueSheet : kGirlSheet).extraBytes[0] = 0;
  CurrentMap.events.back().height = 0;
  CurrentMap.events[5].height = 16;
  // Effects: darker blue, brighter all, additive blend kind, subtractive.
  const int32_t effects[] = {0x646400, 0xFFFFFF, 0x646464, 0x646464};
  for (int32_t i = 0; i < 4; ++i) {
    MapEventState& e = AddEvent(20 + i, 2 + 3 * i, 13, kHeroSheet);
    e.SetEffect(effects[i], 4);
    e.blend = static_cast<int16_t>(i == 2 ? 1 : i == 3 ? 2 : 0);
  }
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("bush_shadows_effects"), "");
}

TEST_F(MapGoldenTest, ZoomedMap) {
  UseTileMap(20, 15);
  UseShadows();
  for (int32_t x = 2; x < 6; ++x) SetTile(0, x, 9, kWater + 1234);
  for (int32_t x = 8; x < 12; ++x) SetTile(1, x, 7, kGrass);
  for (int32_t x = 13; x < 17; ++x) {
    for (int32_t y = 2; y < 6; ++y) SetTile(0, x, y, 100000);  // the panorama shows through
  }
  PlaceHero(9, 7);  // in the grass: the bush parts are cut and stretched
  AddEvent(0, 4, 6, kGirlSheet).extraBytes[0] = 0;
  UseImageList(0, 0);
  RootRunner.panorama[0] = 0;
  CurrentMap.zoom.zoom = 150;
  CurrentMap.zoom.centreX = 320;
  CurrentMap.zoom.centreY = 240;
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("zoom_150"), "");
}

TEST_F(MapGoldenTest, ANarrowMapLeavesColumnsBlankAndWrapsRows) {
  UseTileMap(12, 8);
  SetTile(1, 0, 0, 8);
  SetTile(1, 11, 7, 9);
  PlaceHero(3, 6);
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("narrow_map"), "");
}

TEST_F(MapGoldenTest, ALoopingMapWrapsAtItsSeams) {
  UseTileMap(25, 20);
  for (int32_t y = 0; y < 20; ++y) SetTile(1, 0, y, 8);
  for (int32_t x = 0; x < 25; ++x) SetTile(1, x, 0, 10);
  CurrentMap.loopX = 1;
  CurrentMap.loopY = 1;
  CurrentMap.scrollX = -4 * 100;
  CurrentMap.scrollY = -4 * 70;
  PlaceHero(24, 19);  // the far corner shows up at the top left
  hero_.graphicFile = kHeroSheet;
  AddEvent(0, 1, 1, kGirlSheet);
  drawing.ResetSprites();
  DrawFrame();
  EXPECT_EQ(Golden("looping_map"), "");
}

TEST_F(MapGoldenTest, PanoramaAndFog) {
  UseTileMap(20, 15);
  // Holes in the ground show the panorama.
  for (int32_t x = 0; x < 20; ++x) {
    for (int32_t y = 0; y < 15; ++y) {
      if ((x / 4 + y / 3) % 2 == 0) SetTile(0, x, y, 100000);
    }
  }
  PlaceHero(10, 7);
  UseImageList(8 * 7, 8 * 3);
  RootRunner.panorama[0] = 0;
  RootRunner.fog[0] = 1;
  RootRunner.fog[3] = 0;    // translucent
  RootRunner.fog[4] = 100;
  drawing.ResetSprites();
  DrawFrame();  // takes the requests
  for (int32_t i = 0; i < 30; ++i) drawing.ScrollPanoramaAndFog();
  DrawFrame();
  EXPECT_EQ(Golden("panorama_and_fog"), "");
}

TEST_F(MapGoldenTest, AFrameAfterALostDisplayIsTheSameFrame) {
  UseTileMap(20, 15);
  UseShadows();
  for (int32_t x = 3; x < 9; ++x) SetTile(0, x, 4, kWater + 4321);
  PlaceHero(6, 8);
  AddEvent(0, 10, 8, kRunnerSheet).extraBytes[0] = 0;
  UseImageList(0, 0);
  RootRunner.fog[0] = 1;
  RootRunner.fog[3] = 1;
  RootRunner.fog[4] = 60;
  drawing.ResetSprites();
  DrawFrame();
  const uint64_t before = HashBackScreen();
  EXPECT_EQ(Golden("before_and_after_a_lost_display"), "");

  // The display goes: the pictures behind the cache's graphics are lost.
  for (const std::vector<int32_t>& list : CachedGraphics.pieces) {
    SetDrawTarget(list[0]);
    ClearDrawTarget();
  }
  SetDrawTarget(kBackScreen);
  DrawFrame();
  ASSERT_NE(HashBackScreen(), before);
  SetGraphicsRestoreHandler(ReloadGameGraphics);
  ASSERT_EQ(ReinitGraphics(), 0);
  SetTransparentColor(254, 0, 254);
  DrawFrame();
  EXPECT_EQ(HashBackScreen(), before);
}

}  // namespace
