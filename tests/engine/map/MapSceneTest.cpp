#include <gtest/gtest.h>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/MapHooks.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/StartupSettings.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundManager.h"
#include "tests/support/SoundDatabase.h"
#include "tests/engine/map/MapTestFixture.h"

namespace {

struct PanoramaCalls {
  std::vector<int32_t> numbers;
  std::vector<std::string> names;
  std::vector<bool> byName;
};
PanoramaCalls panorama;
std::vector<int32_t> refreshed;
std::vector<int32_t> ran;
int32_t runnerResets = 0;
CommonEventList commonEvents;


class MapSceneTest : public MapTest {
 protected:
  void SetUp() override {
    MapTest::SetUp();
    panorama = {};
    refreshed.clear();
    ran.clear();
    runnerResets = 0;
    commonEvents = CommonEventList();
    MapSceneHooks hooks{};
    hooks.endGame = [] { ++endGameCalls; };
    hooks.hero = [] { return hero; };
    hooks.follower = [](int32_t) -> MapCharacter* { return nullptr; };
    hooks.setPanoramaNumber = [](int32_t n) { panorama.numbers.push_back(n); };
    hooks.setPanoramaName = [](const std::string& s) { panorama.names.push_back(s); };
    hooks.setPanoramaByName = [](bool b) { panorama.byName.push_back(b); };
    hooks.commonEvents = [] { return static_cast<const CommonEventList*>(&commonEvents); };
    hooks.refreshCommonEventRunner = [](int32_t n) { refreshed.push_back(n); };
    hooks.runCommonEventRunner = [](int32_t n) { ran.push_back(n); };
    hooks.resetCommonEventRunners = [] { ++runnerResets; };
    SetMapSceneHooks(&hooks);
  }

  void WriteStandardTileSets() {
    TileSet first;
    first.name = "a";
    TileSet second;
    second.name = "b";
    second.imageNames = {"tiles.png", "a1", "a2", "a3", "a4", "a5", "a6", "a7"};
    second.tileFlags = {0, 1, 2, 3, 4, 5, 6, 7, 0xF, 0x40};
    second.terrainTags = {0, 0, 0, 0, 0, 0, 0, 0, 9, 8};
    WriteTileSets({first, second});
    CurrentMap.Reset();
  }
};

TEST_F(MapSceneTest, ChangeMapLoadsTheMapItsTileSetEventsAndSettings) {
  WriteStandardTileSets();
  MapData map = PlainMap(30, 20, 1);
  MapEvent seven(7);
  seven.x = 3;
  seven.y = 4;
  MapEvent two(2);
  two.x = 29;
  two.y = 19;
  map.events = {seven, two};
  WriteMap("Map001.mps", map);
  WriteMapList({{"none"}, {"Map001.mps", 3, 4, 3, 5}});
  commonEvents.Resize(5);
  commonEvents.events[1].trigger = 0x32;
  commonEvents.events[3].trigger = 0x03;
  commonEvents.events[4].trigger = 0x01;
  CurrentMap.scrollX = 77;
  CurrentMap.pageRefresh = 1;
  CurrentMap.RequestScroll(100, 0, 1);
  CurrentMap.StartShake(1, 1, 1, 10);
  const ScreenShake shake = CurrentMap.shake;

  CurrentMap.ChangeMap(1);

  const MapScene& scene = CurrentMap;
  EXPECT_EQ(endGameCalls, 0);
  EXPECT_EQ(scene.mapId, 1);
  EXPECT_EQ(scene.Width(), 30);
  EXPECT_EQ(scene.tileSet.name, "b");
  EXPECT_EQ(scene.tileImageName, "tiles.png");
  EXPECT_EQ(scene.autotileImageNames[6], "a7");
  EXPECT_EQ(scene.tileFlags, scene.tileSet.tileFlags);
  EXPECT_EQ(scene.loadedTileFlags, scene.tileSet.tileFlags);
  EXPECT_EQ(scene.terrainTags, scene.tileSet.terrainTags);
  ASSERT_EQ(scene.events.size(), 2u);
  EXPECT_EQ(scene.events[0].id, 2) << "id order";
  EXPECT_EQ(scene.events[0].preciseX, 58);
  EXPECT_EQ(scene.events[1].preciseY, 8);
  EXPECT_EQ(scene.events[1].quarterY, 8 * 64);
  EXPECT_EQ(scene.events[1].mapId, 1);
  EXPECT_EQ(scene.commonEventRunners, (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(refreshed, (std::vector<int32_t>{1, 3})) << "each new runner looks at its condition";
  EXPECT_EQ(runnerResets, 2) << "the reset and the map change";
  EXPECT_EQ(scene.scrollX, 0);
  EXPECT_EQ(scene.pageRefresh, 0);
  EXPECT_EQ(scene.scrollRequest, ScrollRequest{});
  EXPECT_EQ(scene.shake, shake) << "the shake carries over";
  EXPECT_TRUE(scene.loopX);
  EXPECT_TRUE(scene.loopY);
  EXPECT_EQ(panorama.numbers, (std::vector<int32_t>{5}));
  EXPECT_FALSE(CurrentMap.IsPassable(2, 1, 0, 1)) << "plain tile 0 has flags 0xF in this tile set";
  EXPECT_EQ(CurrentMap.GetTerrainTag(2, 1), 9);
}

TEST_F(MapSceneTest, PanoramaByFileName) {
  WriteStandardTileSets();
  WriteMap("m.mps", PlainMap(20, 15));
  MapListEntry named{"m.mps"};
  named.panorama = -3;
  named.panoramaFile = "sky.png";
  MapListEntry shortName = named;
  shortName.panoramaFile = "s";
  WriteMapList({named, shortName});
  CurrentMap.ChangeMap(0);
  EXPECT_EQ(panorama.names, (std::vector<std::string>{"sky.png"}));
  EXPECT_EQ(panorama.byName, (std::vector<bool>{true}));
  panorama = {};
  CurrentMap.ChangeMap(1);
  EXPECT_EQ(panorama.byName, (std::vector<bool>{true, false}));
  EXPECT_EQ(panorama.numbers, (std::vector<int32_t>{-1}));
  panorama = {};
  WriteMapList({named}, 5);  // no file item: nothing changes
  CurrentMap.ChangeMap(0);
  EXPECT_TRUE(panorama.names.empty());
  EXPECT_TRUE(panorama.numbers.empty());
}

TEST_F(MapSceneTest, MapWithoutCellsIsUnreadable) {
  WriteStandardTileSets();
  WriteMap("good.mps", PlainMap(20, 15));
  WriteMap("flat.mps", PlainMap(20, 0));
  WriteMap("thin.mps", PlainMap(0, 15));
  WriteMapList({{"good.mps"}, {"flat.mps"}, {"thin.mps"}, {"missing.mps"}});
  CurrentMap.ChangeMap(0);
  const MapScene before = CurrentMap;
  for (int32_t id : {1, 2, 3}) {
    endGameCalls = 0;
    CurrentMap.ChangeMap(id);
    EXPECT_EQ(endGameCalls, 1) << id;
    EXPECT_TRUE(CurrentMap == before) << "the scene is left as it was: " << id;
    EXPECT_TRUE(CurrentMap.IsPassable(0, 0, 0, 1));
  }
}

TEST_F(MapSceneTest, TileSetNumberOutOfRangeShowsTheErrorAndUsesAnEmptyTileSet) {
  WriteStandardTileSets();
  WriteMap("far.mps", PlainMap(20, 15, 2));
  WriteMap("negative.mps", PlainMap(20, 15, -1));
  WriteMapList({{"far.mps"}, {"negative.mps"}});
  for (int32_t id : {0, 1}) {
    errorLines.clear();
    CurrentMap.ChangeMap(id);
    EXPECT_EQ(errorLines.size(), 3u) << id;
    EXPECT_EQ(CurrentMap.mapId, id);
    EXPECT_EQ(CurrentMap.tileSet, TileSet{});
    EXPECT_TRUE(CurrentMap.IsPassable(2, 2, 2, 1));
  }
}

TEST_F(MapSceneTest, MapSoundsByEntryAndByFile) {
  WriteStandardTileSets();
  WriteMap("m.mps", PlainMap(20, 15));
  MapListEntry byEntry{"m.mps", 3, -1};
  MapListEntry byFile{"m.mps", -3, -3, 0, -2, "song.ogg", "rain.ogg"};
  MapListEntry unchanged{"m.mps", -2, -4};
  WriteMapList({byEntry, byFile, unchanged});
  WriteSoundTypes(SystemDatabase, std::vector<SoundRecord>(5), std::vector<SoundRecord>(5), {});
  SoundEntryCounts = SoundEntries();
  SoundEntryCounts.StoreBaseRecordCounts();
  GameSounds = SoundManager();
  RootRunner = RootEventRunner();
  // With sound switched off the manager only records what the map asks for.
  Settings.soundSwitch = 0;
  CurrentMap.ChangeMap(0);
  CurrentMap.StartMapSounds();
  EXPECT_EQ(RootRunner.currentMusicEntry, 3);
  EXPECT_EQ(RootRunner.currentBackgroundSoundEntry, -1);
  CurrentMap.ChangeMap(1);
  errorLines.clear();
  CurrentMap.StartMapSounds();
  // Files take the first spare entry of their type.
  EXPECT_EQ(RootRunner.currentMusicEntry, 5);
  EXPECT_EQ(SystemDatabase.GetString(1, 5, 0), "Data\\song.ogg");
  EXPECT_EQ(RootRunner.currentBackgroundSoundEntry, 5);
  EXPECT_EQ(SystemDatabase.GetString(2, 5, 0), "Data\\rain.ogg");
  EXPECT_EQ(errorLines.size(), 6u) << "both files are missing";
  CurrentMap.ChangeMap(2);
  CurrentMap.StartMapSounds();
  EXPECT_EQ(RootRunner.currentMusicEntry, 5);
  EXPECT_EQ(RootRunner.currentBackgroundSoundEntry, 5);
  GameSounds = SoundManager();
  RootRunner = RootEventRunner();
}

TEST_F(MapSceneTest, ResetReadsTheTileSetsAndForgetsTheMap) {
  WriteStandardTileSets();
  EXPECT_EQ(CurrentMap.tileSetList.Count(), 2);
  UseMap(20, 15);
  CurrentMap.scrollX = 5;
  CurrentMap.zoom.zoom = 150;
  CurrentMap.frameCounter = 9;
  CurrentMap.Reset();
  EXPECT_EQ(CurrentMap.mapId, -1);
  EXPECT_EQ(CurrentMap.scrollX, 0);
  EXPECT_EQ(CurrentMap.zoom, MapZoom{});
  EXPECT_EQ(CurrentMap.frameCounter, 0);
  EXPECT_EQ(CurrentMap.tileSetList.Count(), 2);
}

TEST_F(MapSceneTest, UpdateRefreshesPagesRunsRunnersAndCountsFrames) {
  UseMap(20, 15);
  CurrentMap.commonEventRunners = {4, 2};
  CurrentMap.RequestPageRefresh();
  CurrentMap.Update();
  EXPECT_EQ(refreshed, (std::vector<int32_t>{4, 2}));
  EXPECT_EQ(ran, (std::vector<int32_t>{4, 2}));
  EXPECT_EQ(CurrentMap.pageRefresh, 0);
  CurrentMap.Update();
  EXPECT_EQ(refreshed.size(), 2u);
  EXPECT_EQ(CurrentMap.frameCounter, 2);
  CurrentMap.mapId = -1;
  CurrentMap.RequestPageRefresh();
  CurrentMap.RefreshPages();
  EXPECT_EQ(refreshed.size(), 2u) << "no map: nothing to refresh";
}

TEST_F(MapSceneTest, FindCharacterResolvesEventsHeroAndFollowers) {
  UseMap(20, 15);
  AddEvent(3, 0, 0);
  AddEvent(8, 4, 0);
  ASSERT_NE(FindCharacter(8), nullptr);
  EXPECT_EQ(FindCharacter(8)->preciseX, 4);
  EXPECT_EQ(FindCharacter(5), nullptr);
  EXPECT_EQ(FindCharacter(-2), &hero_);
  EXPECT_EQ(FindCharacter(-3), nullptr) << "no followers installed";
  EXPECT_EQ(FindCharacter(-1), nullptr);
}

TEST_F(MapSceneTest, TheInterpretersMapTableReadsAndMovesTheLiveScene) {
  WriteStandardTileSets();  // the scene's reset puts it behind the table
  UseMap(20, 15);
  AddEvent(8, 4, 6);
  CurrentMap.mapId = 7;
  const MapHooks& map = CurrentMapHooks();
  EXPECT_EQ(map.currentMapId(), 7);
  CharacterPosition position;
  ASSERT_TRUE(map.mapEventPosition(8, position));
  EXPECT_EQ(position.preciseX, 4);
  EXPECT_EQ(position.preciseY, 6);
  EXPECT_FALSE(map.mapEventPosition(5, position));
  EXPECT_FALSE(map.mapEventPosition(-2, position)) << "the hero is no map event";
  map.setMapEventPosition(8, {10, 12, 3});
  EXPECT_EQ(FindCharacter(8)->preciseX, 10);
  EXPECT_EQ(FindCharacter(8)->height, 3);

  hero_.preciseX = 22;
  ASSERT_TRUE(map.partyMemberPosition(0, position));
  EXPECT_EQ(position.preciseX, 22);
  EXPECT_EQ(map.followerCount(), 0);
  EXPECT_FALSE(map.partyMemberPosition(1, position));
  map.setPartyMemberPosition(0, {2, 4, 0});
  EXPECT_EQ(hero_.preciseY, 4);

  EXPECT_FALSE(map.forcedMoveRouteRunning());
  FindCharacter(8)->forcedRoute = 1;
  EXPECT_TRUE(map.forcedMoveRouteRunning());
  EXPECT_FALSE(map.isScrolling());
  CurrentMap.pageRefresh = 0;
  map.requestPageRefresh();
  EXPECT_EQ(CurrentMap.pageRefresh, 1);
  map.endTalkFacing(8);
  map.endTalkFacing(-5);  // no map event: nothing
  SetMapHooks(nullptr);
}

}  // namespace
