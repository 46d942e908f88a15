// The map, view, transfer, route and party commands run by the interpreter
// against the live map scene.

#include <gtest/gtest.h>

#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "tests/engine/map/LiveMapFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/DatabaseBuilder.h"

namespace {

class MapCommandTest : public LiveMapTest {
 protected:
  // Runs the commands as map event `self` for one frame.
  void Run(CommandListBuilder list, int32_t self = -1) {
    interpreter = EventInterpreter();
    interpreter.StartOwnEvent(list.Build(), self, -1);
    interpreter.RunFrame();
  }
  static int32_t Cell(int32_t layer, int32_t x, int32_t y) {
    return CurrentMap.mapData.layers[static_cast<size_t>(layer)][static_cast<size_t>(x)][static_cast<size_t>(y)];
  }
  EventInterpreter interpreter;
};

TEST_F(MapCommandTest, MovementDuringEventsLetsEventsWalkWhileTheRootRuns) {
  EventPage page = Page(0);
  page.route.options[MoveRoute::kMovementType] = 1;
  page.route.options[MoveRoute::kMovementFrequency] = 0;
  page.route.options[MoveRoute::kRouteOptions] = 1;
  page.route.steps = {MoveRouteStep{0, {}, ""}};  // down, again and again
  AddPagedEvent(1, 5, 2, {page});
  RootInterpreter.StartOwnEvent(CommandListBuilder().Add({180, 1000}).Build(), -1, -1);
  Frame(10);
  EXPECT_EQ(Event(1).preciseY, 4) << "held while an event runs";
  Run(CommandListBuilder().Add({230}));
  EXPECT_EQ(RootRunner.movementDuringEvents, 1);
  Frame(10);
  EXPECT_GT(Event(1).preciseY, 4);
  Run(CommandListBuilder().Add({231}));
  EXPECT_EQ(RootRunner.movementDuringEvents, 0);
}

TEST_F(MapCommandTest, TileFlagsChangeAndComeBackAndPassabilityFollows) {
  CurrentMap.loadedTileFlags = CurrentMap.tileFlags;
  EXPECT_TRUE(CurrentMap.IsPassable(2, 2, 0, 1));
  Variables.SetVariable(1000010, 8);  // event 1's self variable 0 names plain tile 0
  Run(CommandListBuilder().Add({240, 1100000, MapScene::kAllEdges}), 1);
  EXPECT_EQ(CurrentMap.tileFlags[8], MapScene::kAllEdges);
  EXPECT_EQ(SystemStateHub.tileLevelRefresh, 1);
  EXPECT_FALSE(CurrentMap.IsPassable(2, 2, 0, 1)) << "the whole map is that tile now";

  SystemStateHub.tileLevelRefresh = 0;
  Run(CommandListBuilder().Add({240, 16, 1}).Add({240, -5, 1}));
  EXPECT_EQ(SystemStateHub.tileLevelRefresh, 0) << "past the table, or below it: nothing";
  Run(CommandListBuilder().Add({240, -1000000, 0}));
  EXPECT_EQ(CurrentMap.tileFlags, CurrentMap.loadedTileFlags);
  EXPECT_EQ(SystemStateHub.tileLevelRefresh, 1);
  EXPECT_TRUE(CurrentMap.IsPassable(2, 2, 0, 1));
}

TEST_F(MapCommandTest, ChangingTheTileSetTakesItsImagesFlagsAndTags) {
  TileSet walls;
  walls.imageNames[0] = "walls.png";
  walls.imageNames[7] = "a7.png";
  walls.tileFlags.assign(16, MapScene::kAllEdges);
  walls.terrainTags.assign(16, 3);
  CurrentMap.tileSetList.tileSets = {TileSet{}, walls};
  Run(CommandListBuilder().Add({241, 5}));
  EXPECT_EQ(SystemStateHub.spriteRefresh, 0) << "no tile set 5";
  EXPECT_TRUE(CurrentMap.IsPassable(2, 2, 0, 1));
  Run(CommandListBuilder().Add({241, 1}));
  EXPECT_EQ(SystemStateHub.spriteRefresh, 1);
  EXPECT_EQ(CurrentMap.tileImageName, "walls.png");
  EXPECT_EQ(CurrentMap.autotileImageNames[6], "a7.png");
  EXPECT_EQ(CurrentMap.loadedTileFlags, walls.tileFlags);
  EXPECT_EQ(CurrentMap.GetTerrainTag(2, 2), 3);
  EXPECT_FALSE(CurrentMap.IsPassable(2, 2, 0, 1));
}

TEST_F(MapCommandTest, WrittenTilesReshapeTheAutotilesAround) {
  CurrentMap.tileFlags.assign(24, 0);
  const auto write = [&](int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h, int32_t tile) {
    Run(CommandListBuilder().Add({242, layer, x, y, w, h, tile}));
  };
  // Amid plain tiles a lone autotile has no neighbour of its kind; in the top
  // left corner the outside counts as its kind.
  write(1, 5, 5, 1, 1, 2);
  EXPECT_EQ(Cell(0, 5, 5), 300000);
  write(1, 0, 0, 1, 1, 2);
  EXPECT_EQ(Cell(0, 0, 0), 304120);
  // A 3 x 3 block: the centre stays joined, the top left corner has two
  // neighbours of its kind and its diagonal.
  write(2, 10, 5, 3, 3, 3);
  EXPECT_EQ(Cell(1, 11, 6), 404444);
  EXPECT_EQ(Cell(1, 10, 5), 400214);
  // Cut at the map's edge.
  write(3, 18, 13, 5, 5, 9);
  EXPECT_EQ(Cell(2, 19, 14), 1);
  EXPECT_EQ(Cell(2, 17, 14), MapData::kEmptyCell);
  // Tile 8 is plain tile 0; out of range does nothing.
  write(1, 5, 5, 1, 1, 8);
  EXPECT_EQ(Cell(0, 5, 5), 0);
  write(4, 5, 5, 1, 1, 2);
  write(1, 20, 5, 1, 1, 2);
  write(1, 5, 5, 1, 1, 24);
  write(1, 5, 5, 1, 1, -1);
  EXPECT_EQ(Cell(0, 5, 5), 0);

  // Passability sees a written wall at once.
  CurrentMap.tileFlags[9 + 8] = MapScene::kAllEdges;
  CurrentMap.TileDataChanged();
  EXPECT_TRUE(CurrentMap.IsPassable(4, 4, 0, 1));
  write(1, 2, 2, 1, 1, 9 + 8);
  EXPECT_FALSE(CurrentMap.IsPassable(4, 4, 0, 1));
}

TEST_F(MapCommandTest, ShakeStartsOnItsAxisAndStops) {
  Run(CommandListBuilder().Add({280, 0x132, 2000}));
  EXPECT_EQ(CurrentMap.shake.amplitudeX, 4);
  EXPECT_EQ(CurrentMap.shake.speedX, 8);
  EXPECT_EQ(CurrentMap.shake.framesLeftX, 2001);
  Run(CommandListBuilder().Add({280, 0x012, 5}));
  EXPECT_EQ(CurrentMap.shake.framesLeftY, 6);
  Run(CommandListBuilder().Add({280, 0x200, 0}));
  EXPECT_EQ(CurrentMap.shake.framesLeftX, 0);
  EXPECT_EQ(CurrentMap.shake.framesLeftY, 0);
}

TEST_F(MapCommandTest, ScrollByTilesOrPixelsBackToTheHeroAndLock) {
  UseMap(60, 40);
  Run(CommandListBuilder().Add({281, 0x000, 3, -2}));
  EXPECT_EQ(CurrentMap.scrollRequest.remainingX, 384);
  EXPECT_EQ(CurrentMap.scrollRequest.directionY, 8);
  EXPECT_EQ(CurrentMap.scrollRequest.remainingY, 256);
  Run(CommandListBuilder().Add({281, 0x280, 3, 0}));
  EXPECT_EQ(CurrentMap.scrollRequest.remainingX, 12);
  EXPECT_EQ(SystemStateHub.waitForScroll, 0);

  // Back to the hero in the top left corner: a scroll to (0, 0), waited for.
  CurrentMap.scrollX = 640;
  CurrentMap.scrollY = 320;
  PlayerHero.WarpTo(0, 0);
  CurrentMap.scrollX = 640;
  CurrentMap.scrollY = 320;
  Run(CommandListBuilder().Add({281, 0x141}).Variable(1000010, 1, 0, 0, 0), 1);
  EXPECT_EQ(CurrentMap.scrollRequest.directionX, 4);
  EXPECT_EQ(CurrentMap.scrollRequest.remainingX, 640);
  EXPECT_EQ(CurrentMap.scrollRequest.remainingY, 320);
  EXPECT_EQ(Self(1, 0), 0) << "waits for the scroll";
  for (int i = 0; i < 200 && CurrentMap.IsScrolling(); ++i) CurrentMap.Update();
  EXPECT_EQ(CurrentMap.scrollX, 0);
  EXPECT_EQ(CurrentMap.scrollY, 0);
  interpreter.RunFrame();
  EXPECT_EQ(Self(1, 0), 1);

  Run(CommandListBuilder().Add({281, 2}));
  EXPECT_EQ(RootRunner.screenLock, 1);
  Run(CommandListBuilder().Add({281, 3}));
  EXPECT_EQ(RootRunner.screenLock, 0);
}

TEST_F(MapCommandTest, EffectsOnACharacterAndTheMapView) {
  AddPagedEvent(3, 2, 2, {Page(0)});
  Run(CommandListBuilder().Add({290, 0x01, 20, -1, 0, 150, -150, 0}), 3);
  EXPECT_EQ(Event(3).effectKind, 200 * 65536 + 0 * 256 + 100) << "channels clamped to -100..100";
  EXPECT_EQ(Event(3).effectTimer, 20);
  Run(CommandListBuilder().Add({290, 0x11, 3, -2, 0, 8, 2, 4}));
  EXPECT_EQ(PlayerHero.shakeAmpX, 8);
  EXPECT_EQ(PlayerHero.shakeSwings, 4);
  EXPECT_EQ(PlayerHero.shakePeriod, 3);
  Run(CommandListBuilder().Add({290, 0x02, 30, 0, 0, 320, 240, 200}));
  EXPECT_EQ(CurrentMap.zoom.targetZoom, 200);
  EXPECT_EQ(CurrentMap.zoom.totalFrames, 30);
  // Nobody: nothing happens, and the event goes on.
  Run(CommandListBuilder().Add({290, 0x01, 20, 77, 0, 1, 1, 1}).Variable(1000030, 1, 0, 0, 0), 3);
  EXPECT_EQ(Self(3, 0), 1);
}

TEST_F(MapCommandTest, TransfersAreRecordedOneAtATime) {
  PlayerHero.direction = 4;
  Run(CommandListBuilder().Add({130, -1, 7, 8, -1}).Add({130, -1, 1, 1, 5}));
  EXPECT_EQ(SystemStateHub.mapChangePending, 1);
  EXPECT_EQ(SystemStateHub.transferMapId, CurrentMap.mapId) << "-1 stays on this map";
  EXPECT_EQ(SystemStateHub.transferX, 7);
  EXPECT_EQ(SystemStateHub.transferY, 8);
  EXPECT_EQ(SystemStateHub.transferDirection, 4);
  interpreter.RunFrame();
  interpreter.RunFrame();
  EXPECT_EQ(SystemStateHub.transferX, 7) << "the second waits for the first";
  SystemStateHub.mapChangePending = 0;
  interpreter.RunFrame();
  EXPECT_EQ(SystemStateHub.transferMapId, 5);

  // A start position whose map item names a variable.
  SystemDatabase.typeData.resize(8);
  SystemDatabase.typeDefinitions.resize(8);
  SystemDatabase.typeData[7] = MakeTypeData({1000, 1001, 1002}, 3);
  SystemDatabase.typeDefinitions[7] = MakeDefinition("start", {"map", "x", "y"}, {"a", "b", "c"});
  SystemDatabase.SetInt(7, 2, 0, 1000010);
  SystemDatabase.SetInt(7, 2, 1, 4);
  SystemDatabase.SetInt(7, 2, 2, 6);
  Variables.SetVariable(1000010, 9);
  SystemStateHub.mapChangePending = 0;
  Run(CommandListBuilder().Add({130, -10001, 2}));
  EXPECT_EQ(SystemStateHub.transferMapId, 9);
  EXPECT_EQ(SystemStateHub.transferX, 4);
  EXPECT_EQ(SystemStateHub.transferY, 6);
}

TEST_F(MapCommandTest, TransferOfACharacterPlacesItOnThisMap) {
  AddPagedEvent(2, 1, 1, {Page(0)});
  Run(CommandListBuilder().Add({130, -2, 6, 4}).Add({130, -1000, 1, 1}).Variable(1000020, 1, 0, 0, 0), 2);
  EXPECT_EQ(Event(2).preciseX, 12);
  EXPECT_EQ(Event(2).preciseY, 8);
  EXPECT_EQ(Event(2).quarterX, 64 * 12) << "at once";
  EXPECT_EQ(SystemStateHub.mapChangePending, 0);
  EXPECT_EQ(Self(2, 0), 0) << "the event goes on at the next frame";
  interpreter.RunFrame();
  EXPECT_EQ(Self(2, 0), 1) << "-1000 moves no one";
  Run(CommandListBuilder().Add({130, -3, 3, 3}));
  EXPECT_EQ(PlayerHero.followers[0].preciseX, 6);
}

TEST_F(MapCommandTest, MoveRoutesAndTheirWait) {
  AddPagedEvent(2, 1, 1, {Page(0)});
  CommandRecord route;
  route.arguments = {201, 2};
  route.routes.resize(1);
  route.routes[0].steps = {MoveRouteStep{0, {}, ""}, MoveRouteStep{0, {}, ""}};
  EventCommandList list = {route};
  list.push_back(CommandListBuilder().Add({202}).Build().front());
  list.push_back(CommandListBuilder().Variable(1000020, 1, 0, 0, 0).Build().front());
  list.push_back(CommandListBuilder().Build().back());
  interpreter.StartOwnEvent(list, 2, -1);
  interpreter.RunFrame();
  EXPECT_EQ(Event(2).preciseY, 3);
  EXPECT_EQ(Event(2).forcedRoute, 1);
  for (int i = 0; i < 40 && Self(2, 0) == 0; ++i) {
    CurrentMap.Update();
    interpreter.RunFrame();
  }
  EXPECT_EQ(Event(2).preciseY, 4);
  EXPECT_EQ(Event(2).forcedRoute, 0);
  EXPECT_EQ(Self(2, 0), 1);
}

TEST_F(MapCommandTest, EventsEraseThemselvesAndReserveOthers) {
  AddPagedEvent(1, 1, 1, {Page(0, CountInSelf(0))});
  AddPagedEvent(2, 3, 3, {Page(0, CommandListBuilder().Add({211, 1, 0}).Add({173, -1, 10}).Build())});
  Event(2).RequestStart();
  Frame();
  EXPECT_EQ(Event(2).eraseTotal, 10) << "erasing itself";
  EXPECT_EQ(Event(1).startRequested, 1) << "reserved";
  Frame();
  EXPECT_EQ(Self(1, 0), 1);
  Frame(10);
  EXPECT_EQ(Event(2).erased, 1);
  EXPECT_EQ(Event(2).opacity, 0);
  EXPECT_FALSE(Event(2).HasGraphic());
}

TEST_F(MapCommandTest, PartyGathersAndStopsFollowing) {
  PlayerHero.WarpTo(5, 5);
  PlayerHero.followers[2].preciseX = 0;
  PlayerHero.stepHistory[0] = 6;
  Run(CommandListBuilder().Add({270, 0x24}));
  EXPECT_EQ(PlayerHero.followers[2].preciseX, 10);
  EXPECT_EQ(PlayerHero.stepHistory, std::vector<int32_t>(100, 0));
  PlayerHero.lastStep = 6;
  Run(CommandListBuilder().Add({270, 0x34}));
  EXPECT_EQ(PlayerHero.followersInStep, 1);
  EXPECT_EQ(PlayerHero.lastStep, 0);
  RootRunner.followerSetting = 9;
  Run(CommandListBuilder().Add({270, 0x44}));
  EXPECT_EQ(PlayerHero.followersInStep, 0);
  EXPECT_EQ(PlayerHero.followers[4].extraBytes[0], 9);
  EXPECT_EQ(PlayerHero.followers[4].extraImageLoaded, -1);
}

}  // namespace
