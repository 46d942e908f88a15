#include <gtest/gtest.h>

#include "engine/map/MapScene.h"
#include "tests/engine/map/MapTestFixture.h"

namespace {

struct MoveCase {
  int32_t x;
  int32_t y;
  int32_t d;
  bool expected;
};

class PassabilityTest : public MapTest {
 protected:
  static void ExpectMoves(const MapCharacter& c, const std::vector<MoveCase>& cases) {
    for (const MoveCase& m : cases) {
      EXPECT_EQ(c.CanMove(m.x, m.y, m.d), m.expected) << "from (" << m.x << ", " << m.y << ") toward " << m.d;
    }
  }
};

TEST_F(PassabilityTest, BottomEdgeLedgeBlocksDownOutOfItAndUpIntoItButNotSideways) {
  UseMap(6, 6);
  SetTile(0, 2, 2, 1);
  SetPlainTileFlags(1, MapScene::kBottomEdge);
  MapCharacter c;
  ExpectMoves(c, {
                     {4, 4, 2, false},  // lower half of the ledge, down over its edge
                     {4, 3, 2, true},   // upper half to lower half stays inside
                     {4, 5, 8, false},  // from below, up into it
                     {4, 6, 8, true},   // within the tile below
                     {4, 4, 6, true},
                     {4, 4, 4, true},
                     {2, 4, 6, true},   // walking in from the left
                     {6, 4, 4, true},   // and from the right
                     {3, 4, 2, false},  // standing half on it
                 });
}

TEST_F(PassabilityTest, WholeTileStepsCloseTheNamedEdgeFromEitherCell) {
  CurrentMapSettings.stepSetting = 1;
  UseMap(6, 6);
  SetTile(0, 2, 2, 1);
  SetPlainTileFlags(1, MapScene::kBottomEdge | MapScene::kRightEdge);
  MapCharacter c;
  ASSERT_EQ(c.stepSize, 2);
  ExpectMoves(c, {{4, 4, 2, false}, {4, 4, 6, false}, {4, 4, 4, true}, {4, 6, 8, false}, {6, 4, 4, false}, {2, 4, 6, true}});
}

TEST_F(PassabilityTest, UpperLayerSettlesAloneUnlessItAsksForTheLayerBelow) {
  UseMap(4, 4);
  SetTile(0, 1, 1, 1);
  SetPlainTileFlags(1, MapScene::kAllEdges);
  EXPECT_FALSE(CurrentMap.IsPassable(2, 1, 0, 1)) << "the wall alone";
  SetTile(2, 1, 1, 2);
  EXPECT_TRUE(CurrentMap.IsPassable(2, 1, 0, 1)) << "a floor on layer 2 covers it";
  for (int32_t below : {MapScene::kTestBelow, MapScene::kAlsoTestBelow}) {
    SetPlainTileFlags(2, below);
    EXPECT_FALSE(CurrentMap.IsPassable(2, 1, 0, 1)) << below;
  }
}

TEST_F(PassabilityTest, EmptyCellsFallThroughToTheLayerBelow) {
  UseMap(4, 4);
  SetTile(0, 1, 1, 1);
  SetTile(1, 1, 1, MapData::kEmptyCell);
  SetTile(2, 1, 1, MapData::kEmptyCell);
  SetPlainTileFlags(1, MapScene::kAllEdges);
  EXPECT_FALSE(CurrentMap.IsPassable(2, 1, 0, 1));
  SetPlainTileFlags(1, 0);
  EXPECT_TRUE(CurrentMap.IsPassable(2, 1, 0, 1));
}

TEST_F(PassabilityTest, QuarterModeBlocksOnlyItsQuarterWithHalfStepsAndAllWithWholeSteps) {
  UseMap(4, 4);
  SetTile(0, 1, 1, 1);
  SetPlainTileFlags(1, MapScene::kQuarterMode | MapScene::kTopEdge);
  // Foot cells (x, y + 1) and (x + 1, y + 1): the upper-left quarter of tile
  // (1, 1) is column 2, row 2.
  EXPECT_FALSE(CurrentMap.IsPassable(2, 1, 0, 1));
  EXPECT_FALSE(CurrentMap.IsPassable(1, 1, 0, 1)) << "its second cell";
  EXPECT_TRUE(CurrentMap.IsPassable(3, 1, 0, 1)) << "upper-right quarter";
  EXPECT_TRUE(CurrentMap.IsPassable(2, 2, 0, 1)) << "lower half";
  EXPECT_FALSE(CurrentMap.IsPassable(3, 2, 0, 2)) << "whole steps: every quarter";
  EXPECT_FALSE(CurrentMap.IsPassable(2, 2, 0, 2));
}

TEST_F(PassabilityTest, FlagIndexPastTheTableReadsNoFlags) {
  UseMap(4, 4, std::vector<int32_t>(16, MapScene::kAllEdges));
  for (int32_t value : {99999, 7, -8, -100, 2100000000}) {
    SetTile(0, 1, 1, value);
    const bool inside = value + 8 >= 0 && value + 8 < 16;
    EXPECT_EQ(CurrentMap.IsPassable(2, 1, 0, 1), !inside) << value;
    EXPECT_EQ(CurrentMap.GetTerrainTag(2, 1), 0) << value;
  }
}

TEST_F(PassabilityTest, TileAtWrapsAndDecodesAutotiles) {
  UseMap(3, 2);
  SetTile(1, 2, 1, 300042);
  SetTile(0, 0, 0, 17);
  EXPECT_EQ(CurrentMap.TileAt(4, 2, 1), (MapTile{2, 42}));
  EXPECT_EQ(CurrentMap.TileAt(-2, -2, 1), (MapTile{2, 42})) << "wraps leftward";
  EXPECT_EQ(CurrentMap.TileAt(6 * 1000, 4 * 1000 + 1, 0), (MapTile{25, 0}));
  EXPECT_EQ(CurrentMap.TileAt(0, 0, 2), (MapTile{0, 0})) << "empty cell";
  EXPECT_EQ(CurrentMap.TileAt(0, 0, 3), (MapTile{0, 0})) << "no such layer";
}

TEST_F(PassabilityTest, InsideTestOnLoopingAndPlainMaps) {
  UseMap(5, 4);
  EXPECT_TRUE(CurrentMap.IsInsideMap(8, 7));
  EXPECT_FALSE(CurrentMap.IsInsideMap(9, 3)) << "x = 2W - 1: the second column is outside";
  EXPECT_FALSE(CurrentMap.IsInsideMap(0, 8));
  EXPECT_FALSE(CurrentMap.IsInsideMap(-1, 0));
  CurrentMap.loopX = 1;
  EXPECT_TRUE(CurrentMap.IsInsideMap(-5, 3));
  EXPECT_FALSE(CurrentMap.IsInsideMap(-5, -1));
}

TEST_F(PassabilityTest, NoMapAnswersFalseAndZero) {
  EXPECT_FALSE(CurrentMap.IsPassable(0, 0, 0, 1));
  EXPECT_FALSE(CurrentMap.IsInsideMap(0, 0));
  EXPECT_FALSE(CurrentMap.HasBushFlag(0, 0));
  EXPECT_FALSE(CurrentMap.HasCounterFlag(0, 0));
  EXPECT_EQ(CurrentMap.GetTerrainTag(0, 0), 0);
  EXPECT_EQ(CurrentMap.TileAt(0, 0, 0), (MapTile{0, 0}));
}

TEST_F(PassabilityTest, BushCounterAndTerrainLookAtTheirCells) {
  UseMap(4, 4);
  SetTile(0, 1, 1, 1);
  SetTile(2, 1, 1, 2);
  SetPlainTileFlags(1, MapScene::kBush);
  SetPlainTileFlags(2, MapScene::kTestBelow);
  EXPECT_TRUE(CurrentMap.HasBushFlag(2, 1)) << "both foot cells on one layer";
  EXPECT_FALSE(CurrentMap.HasBushFlag(1, 1)) << "one foot cell on the bush";
  SetPlainTileFlags(1, MapScene::kCounter);
  EXPECT_TRUE(CurrentMap.HasCounterFlag(1, 1));
  EXPECT_TRUE(CurrentMap.HasCounterFlag(4, 2)) << "the cell to the left";
  EXPECT_FALSE(CurrentMap.HasCounterFlag(5, 2));
  CurrentMap.terrainTags[9] = 5;
  CurrentMap.terrainTags[10] = 0;
  EXPECT_EQ(CurrentMap.GetTerrainTag(2, 1), 5) << "layer 2 has only zero tags, layer 0 decides";
  CurrentMap.terrainTags[10] = 3;
  EXPECT_EQ(CurrentMap.GetTerrainTag(2, 1), 3) << "the first layer with a tag";
  CurrentMap.terrainTags[8] = 200;
  CurrentMap.terrainTags[10] = 0;
  EXPECT_EQ(CurrentMap.GetTerrainTag(3, 1), 200) << "the larger of the two foot cells";
}

}  // namespace
