#include <gtest/gtest.h>

#include <string>

#include "engine/map/MapScene.h"
#include "engine/presentation/map/TileLayerState.h"
#include "tests/engine/presentation/map/MapDrawFixture.h"
#include "tests/engine/presentation/map/MapTestImages.h"
#include "tests/support/GoldenFrame.h"

namespace {

class TileLayerTest : public MapDrawTest {
 protected:
  void SetUp() override {
    MapDrawTest::SetUp();
    UseTileMap(20, 15);
    for (auto& layer : CurrentMap.mapData.layers) {
      for (auto& column : layer) std::fill(column.begin(), column.end(), 100000);
    }
    layers_ = TileLayerState();
    ClearDrawTarget();
    clearHash_ = HashBackScreen();
  }

  uint64_t DrawPass(int32_t pass, int32_t row = -1) {
    ClearDrawTarget();
    layers_.Draw(pass, row);
    return HashBackScreen();
  }

  TileLayerState layers_;
  uint64_t clearHash_ = 0;
};

TEST_F(TileLayerTest, DrawLevelsComeFromTheTileFlags) {
  const int32_t flags[] = {0, 0x10, 0x100, 0x110, 0x40, 0x1F};
  const uint8_t levels[] = {0, 2, 1, 1, 0, 2};
  CurrentMap.tileFlags.assign(std::begin(flags), std::end(flags));
  TileLayerState state;
  EXPECT_EQ(state.drawLevels, std::vector<uint8_t>(std::begin(levels), std::end(levels)));
  CurrentMap.tileFlags = {0x100};
  state.RefreshTileLevels();
  EXPECT_EQ(state.drawLevels, std::vector<uint8_t>{1});
}

TEST_F(TileLayerTest, AnAutotileTakesEachQuarterFromTheRowItsDigitNames) {
  const PixelImage water = AutotileImage(32, 3, 0x3060C0);
  struct Case {
    int32_t shape;
    int32_t frameCounter;
  };
  // Shape 0 is the whole first tile row; three frames cycle every 60 counts.
  const Case cases[] = {{0, 0}, {0, 20}, {0, 59}, {0, 60}, {1234, 0}, {4103, 40}, {2020, 2400019}};
  for (const Case& c : cases) {
    SetTile(0, 1, 1, kWater + c.shape);
    CurrentMap.frameCounter = c.frameCounter;
    DrawPass(0);
    const int32_t f = c.frameCounter / 20 % 3;
    const int32_t digits[4] = {c.shape / 1000, c.shape / 100 % 10, c.shape / 10 % 10, c.shape % 10};
    for (int32_t q = 0; q < 4; ++q) {
      const int32_t sourceX = f * 32 + q % 2 * 16 + 8;
      const int32_t sourceY = digits[q] * 32 + q / 2 * 16 + 10;
      EXPECT_EQ(BackPixel(32 + q % 2 * 16 + 8, 32 + q / 2 * 16 + 10), water.At(sourceX, sourceY))
          << "shape " << c.shape << " count " << c.frameCounter << " quarter " << q;
    }
  }
}

TEST_F(TileLayerTest, TilesTheirImagesDoNotHoldDrawNothing) {
  WriteImage("MapChip\\Narrow.png", PixelImage(16, 160, 0x808080));
  CurrentMap.autotileImageNames[1] = "MapChip\\Narrow.png";  // narrower than a tile: no frame
  CurrentMap.autotileImageNames[2] = "MapChip\\Missing.png";
  SetFlags(2, 0);
  SetFlags(3, 0);
  const int32_t values[] = {
      5000,                   // past the 32 tiles of the tile set
      kWater + 9999,          // rows the image does not have
      3 * 100000,             // the narrow autotile
      4 * 100000 + 1234,      // the missing one
      6 * 100000,             // an autotile without a name
      9 * 100000,             // no kind of tile
      100000,                 // an empty cell
  };
  for (const int32_t value : values) {
    SetTile(0, 2, 2, value);
    EXPECT_EQ(DrawPass(0), clearHash_) << value;
  }
  // A tile whose flag entry lies past the table has no level.
  CurrentMap.tileFlags.resize(12);
  layers_.RefreshTileLevels();
  SetTile(0, 2, 2, 4);
  EXPECT_EQ(DrawPass(0), clearHash_);
  SetTile(0, 2, 2, 3);
  EXPECT_NE(DrawPass(0), clearHash_);
}

TEST_F(TileLayerTest, ANegativeTileEndsTheProgramAfterItsMessage) {
  SetTile(1, 3, 2, -5);
  layers_.scrollX = 32;
  try {
    layers_.Draw(0, -1);
    FAIL() << "the program went on";
  } catch (const ThrownExit& exit) {
    EXPECT_EQ(exit.code, 1);
  }
  EXPECT_EQ(messageBoxes, (std::vector<std::string>{"タイル番号が異常です=>-5 位置(Layer1 X:3 Y:2)", "Error!"}));
}

TEST_F(TileLayerTest, EachPassDrawsItsLevelAndTheMiddleOneARowAtATime) {
  SetTile(0, 1, 1, 2);                 // level 0
  SetTile(1, 2, 1, kWallTop);          // level 1 on map row 1
  SetTile(1, 2, 4, kWallTop + 1);      // level 1 on map row 4
  SetFlags(8 + 9, MapScene::kTestBelow);
  SetTile(2, 3, 1, 9);                 // level 2
  layers_.RefreshTileLevels();
  const uint64_t lower = DrawPass(0);
  EXPECT_NE(BackPixel(40, 40), 0u);
  EXPECT_EQ(BackPixel(72, 40), 0u);
  const uint64_t upper = DrawPass(2);
  EXPECT_NE(upper, lower);
  EXPECT_NE(BackPixel(112, 40), 0u);
  DrawPass(1, 1);
  EXPECT_NE(BackPixel(72, 40), 0u);
  EXPECT_EQ(BackPixel(72, 136), 0u) << "only the row asked for";

  // The row is a map row: with the map scrolled down by two tiles and a
  // half, row 4 lies from 48 to 80.
  layers_.scrollY = 2 * 32 + 16;
  DrawPass(1, 4);
  EXPECT_NE(BackPixel(72, 50), 0u);
  EXPECT_EQ(BackPixel(72, 46), 0u);
  EXPECT_EQ(DrawPass(1, 40), clearHash_) << "a row below the screen";
}

TEST_F(TileLayerTest, ChangingOnlyTheLastAutotilesKeepsWhatIsDrawn) {
  WriteImage("MapChip\\Lava.png", AutotileImage(32, 2, 0xC04010));
  CurrentMap.autotileImageNames[5] = kWaterImage;
  SetTile(0, 4, 4, 7 * 100000);  // autotile 6
  SetFlags(6, 0);
  const uint64_t water = DrawPass(0);
  ASSERT_NE(water, clearHash_);
  CurrentMap.autotileImageNames[5] = "MapChip\\Lava.png";
  EXPECT_EQ(DrawPass(0), water);
  CurrentMap.autotileImageNames[0] = "MapChip\\Lava.png";  // one of the first four: everything reloads
  EXPECT_NE(DrawPass(0), water);
}

}  // namespace
