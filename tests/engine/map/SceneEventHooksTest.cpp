#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/events/MapHooks.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/map/SceneMapHooks.h"
#include "tests/engine/map/MapTestFixture.h"

namespace {

EventCommandList ListOf(int32_t code) {
  return {CommandRecord({code}), CommandRecord({EventCommand::kEndCode})};
}

class SceneEventHooksTest : public MapTest {
 protected:
  void SetUp() override {
    MapTest::SetUp();
    UseMap(20, 15);
    InstallSceneMapHooks();
  }
  void TearDown() override {
    SetMapHooks(nullptr);
    MapTest::TearDown();
  }
  // Event id with two pages (commands 1 and 2), the second active.
  static MapEventState& EventWithPages(int32_t id) {
    MapEventState& e = AddEvent(id, 2 * id, 0);
    e.mapEvent.pages.resize(2);
    e.mapEvent.pages[0].commands = ListOf(1);
    e.mapEvent.pages[1].commands = ListOf(2);
    e.pageIndex = 1;
    return e;
  }
};

TEST_F(SceneEventHooksTest, PagesCommandsAndStartRequests) {
  EventWithPages(3);
  EventWithPages(5);
  const MapHooks& map = CurrentMapHooks();
  EXPECT_EQ(map.mapEventPageCount(3), 2);
  EXPECT_EQ(map.mapEventPageCount(4), -1);
  EventCommandList list;
  ASSERT_TRUE(map.mapEventCommands(3, -1, list));
  EXPECT_EQ(list[0].arguments[0], 2);
  ASSERT_TRUE(map.mapEventCommands(3, 0, list));
  EXPECT_EQ(list[0].arguments[0], 1);
  EXPECT_FALSE(map.mapEventCommands(3, 2, list));

  int32_t id = -1;
  int32_t trigger = -1;
  EXPECT_FALSE(map.firstStartRequest(id, trigger));
  map.requestStart(5);
  map.requestStart(3);
  CurrentMap.FindEvent(3)->trigger = 1;
  ASSERT_TRUE(map.firstStartRequest(id, trigger));
  EXPECT_EQ(id, 3) << "the map's order";
  EXPECT_EQ(trigger, 1);
  map.clearStartRequest(3);
  ASSERT_TRUE(map.firstStartRequest(id, trigger));
  EXPECT_EQ(id, 5);

  // An event being erased, or whose page has only the end command, is not
  // requested.
  map.clearStartRequest(5);
  map.startErase(5, 10);
  EXPECT_EQ(CurrentMap.FindEvent(5)->eraseCounter, 10);
  map.requestStart(5);
  CurrentMap.FindEvent(3)->mapEvent.pages[1].commands = {ListOf(1).back()};
  map.requestStart(3);
  EXPECT_FALSE(map.firstStartRequest(id, trigger));

  CurrentMap.pageRefresh = 1;
  map.refreshPagesIfRequested();
  EXPECT_EQ(CurrentMap.pageRefresh, 0);
}

TEST_F(SceneEventHooksTest, PartyGraphicsAndOpacity) {
  const MapHooks& map = CurrentMapHooks();
  hero->graphicFile = "hero.png";
  EXPECT_EQ(map.partyGraphic(1), "hero.png");
  EXPECT_EQ(map.partyGraphic(2), "") << "no follower";
  map.setPartyGraphic(1, "other.png");
  EXPECT_EQ(hero->graphicFile, "other.png");
  map.setPartyOpacity(0);
  EXPECT_EQ(hero->opacity, 0);
}

TEST_F(SceneEventHooksTest, RunnerHooksReachTheCommonEventRunners) {
  CommonEvents = CommonEventList();
  CommonEvents.events[2].trigger = 0x03;
  // The defaults of the entries the fixture leaves out are the live ones.
  const MapSceneHooks& hooks = CurrentMapSceneHooks();
  EXPECT_EQ(hooks.commonEvents(), &CommonEvents);
  hooks.refreshCommonEventRunner(2);
  ASSERT_NE(FindCommonEventRunner(2), nullptr);
  EXPECT_EQ(FindCommonEventRunner(2)->interpreters.size(), 1u);
  hooks.runCommonEventRunner(2);
  EXPECT_FALSE(FindCommonEventRunner(2)->interpreters[0].IsRunning()) << "its default list ran and ended";
  hooks.resetCommonEventRunners();
  EXPECT_EQ(FindCommonEventRunner(2), nullptr);
  SetMapSceneHooks(nullptr);
}

}  // namespace

namespace {

class MapReadingsTest : public SceneEventHooksTest {};

TEST_F(MapReadingsTest, CharactersAndCellsAsTheVariableOperationPlusReadsThem) {
  SetTile(1, 3, 2, 4);  // plain tile 4 (index 12) on layer 1
  CurrentMap.terrainTags[8] = 6;
  MapEventState& e = EventWithPages(7);
  e.preciseX = 7;
  e.preciseY = 4;
  e.quarterX = 2 * 32 * 7;
  e.quarterY = 2 * 32 * 4;
  e.trigger = 3;
  e.extraBytes = {9, 4, 5};
  EventWithPages(2).preciseY = 4;  // precise (4, 4): tile (2, 2); `e` is gone with the list's growth
  const MapHooks& map = CurrentMapHooks();

  CharacterFacts f;
  ASSERT_TRUE(map.characterFacts(7, f));
  EXPECT_EQ(f.id, 7);
  EXPECT_EQ(f.preciseX, 7);
  EXPECT_TRUE(f.isMapEvent);
  EXPECT_EQ(f.activePage, 1);
  EXPECT_EQ(f.trigger, 3);
  EXPECT_EQ(f.extraImage, 9);
  EXPECT_EQ(f.collisionX, 4);
  EXPECT_EQ(f.collisionY, 5);
  EXPECT_EQ(f.screenX, 7 * 16 + 16);
  EXPECT_TRUE(f.onScreen);
  EXPECT_EQ(f.terrainTag, 6);
  ASSERT_TRUE(map.characterFacts(-2, f));
  EXPECT_FALSE(f.isMapEvent);
  EXPECT_FALSE(map.characterFacts(99, f));

  EXPECT_EQ(map.eventAt(3, 2, false), 7) << "either half of the tile";
  EXPECT_EQ(map.eventAt(6, 4, true), -1);
  EXPECT_EQ(map.eventAt(7, 4, true), 7);
  EXPECT_EQ(map.terrainTagAt(0, 0), 6);
  EXPECT_EQ(map.tileAt(6, 4, 1), 12);
  EXPECT_EQ(map.tileAt(6, 4, 2), 0) << "an empty cell";
  EXPECT_EQ(map.tileAt(40, 4, 0), -1) << "outside the map";
  EXPECT_EQ(map.tileAt(-1, 4, 0), -1);

  // The event's cell holds the mouse from its left edge on, below its top
  // half-tile.
  EXPECT_EQ(map.eventUnderMouse(7 * 16 + 1, 4 * 16 + 16), 7);
  EXPECT_EQ(map.eventUnderMouse(7 * 16, 4 * 16 + 16), -1);
  EXPECT_EQ(map.eventUnderMouse(7 * 16 + 1, 4 * 16 + 15), -1);
  const int32_t qx = CurrentMap.FindEvent(7)->quarterX;
  const int32_t qy = CurrentMap.FindEvent(7)->quarterY;
  MapEventState& other = EventWithPages(5);
  other.quarterX = qx;
  other.quarterY = qy;
  EXPECT_EQ(map.eventUnderMouse(7 * 16 + 1, 4 * 16 + 16), 5) << "the smaller id of two";
}

}  // namespace
