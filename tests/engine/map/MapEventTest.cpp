#include <gtest/gtest.h>

#include <vector>

#include "engine/events/RootInterpreter.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/services/InputState.h"
#include "tests/engine/map/LiveMapFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

class MapEventTest : public LiveMapTest {
 protected:
  // The hero standing on precise (x, y), facing d.
  static void HeroAt(int32_t x, int32_t y, int32_t d = 2) {
    PlayerHero.preciseX = x;
    PlayerHero.preciseY = y;
    PlayerHero.quarterX = 64 * x;
    PlayerHero.quarterY = 64 * y;
    PlayerHero.direction = static_cast<int16_t>(d);
    PlayerHero.ResetFollowers();
  }
  // Frames until the event's first self variable counts a start, at most n.
  static int32_t FramesUntilStarted(int32_t id, int32_t n) {
    for (int32_t i = 1; i <= n; ++i) {
      Frame();
      if (Self(id, 0) > 0) return i;
    }
    return -1;
  }
  static EventCommandList CountAndWait() {
    EventCommandList list = CountInSelf(0);
    list.push_back(CommandListBuilder().Add({180, 1}).Build().front());
    return list;
  }
};

TEST_F(MapEventTest, TheHighestPageThatHoldsIsShownWithItsSettings) {
  EventPage second = PageWhenSelf(0, 1, 0);
  second.graphic = {-1, "b.png", 8, 2, 128, 1};
  second.route.options = {2, 5, 6, 1, 0x3C, 1};
  second.extraBytes = {0, 2, 1};
  MapEventState& e = AddPagedEvent(4, 3, 3, {Page(0), second});
  EXPECT_EQ(e.pageIndex, 0);
  EXPECT_EQ(e.graphicId, 1);
  EXPECT_EQ(e.CollisionWidth(0), 0);

  Variables.SetVariable(1000040, 1);
  CurrentMap.RequestPageRefresh();
  CurrentMap.Update();
  const MapEventState& now = Event(4);
  EXPECT_EQ(now.pageIndex, 1);
  EXPECT_EQ(now.graphicFile, "b.png");
  EXPECT_EQ(now.direction, 8);
  EXPECT_EQ(now.basePattern, 2);
  EXPECT_EQ(now.opacity, 128);
  EXPECT_EQ(now.blend, 1);
  EXPECT_EQ(now.moveType, 2);
  EXPECT_EQ(now.animSpeed, 5);
  EXPECT_EQ(now.moveSpeed, 6);
  EXPECT_EQ(now.moveFrequency, 1);
  EXPECT_EQ(now.directionFixed, 1);
  EXPECT_EQ(now.passThrough, 1);
  EXPECT_EQ(now.alwaysAbove, 1);
  EXPECT_EQ(now.tall, 1);
  EXPECT_EQ(now.CollisionWidth(0), 2);
  EXPECT_EQ(now.CollisionWidth(1), 1);

  // No page holds: the event shows nothing and passes through.
  MapEventState& alone = AddPagedEvent(6, 5, 5, {PageWhenSelf(0, 1, 0)});
  EXPECT_EQ(alone.pageIndex, -1);
  EXPECT_FALSE(alone.HasGraphic());
  EXPECT_EQ(alone.passThrough, 1);
}

TEST_F(MapEventTest, APageMayStandItsEventHalfATileHigher) {
  EventPage raised = Page(0);
  raised.route.options[MoveRoute::kOptionBits] = 0x40;
  EXPECT_EQ(AddPagedEvent(2, 3, 4, {raised}).preciseY, 7);
  EXPECT_EQ(AddPagedEvent(3, 3, 4, {Page(0)}).preciseY, 8);
}

TEST_F(MapEventTest, TouchTriggersStartOnBumpOrArrival) {
  struct Case {
    const char* name;
    int32_t trigger;
    bool graphic;
    bool passThrough;
    int32_t eventX;  // precise, row 10; the hero comes from x = 6 walking right
    int32_t heroStopsAt;
  };
  const std::vector<Case> cases = {
      // A solid event starts on the bump; the hero stays before it.
      {"hero touch, solid", 3, true, false, 10, 8},
      {"event touch, solid", 4, true, false, 10, 8},
      // One that can be walked onto starts when the hero arrives on it, or,
      // for a touching event, one column beside it.
      {"hero touch, pass-through", 3, true, true, 8, 8},
      {"hero touch, no graphic", 3, false, false, 8, 8},
      {"event touch, no graphic", 4, false, false, 9, 8},
  };
  for (const Case& c : cases) {
    SetUp();
    EventPage page = Page(c.trigger, CountInSelf(0), c.graphic);
    if (c.passThrough) page.route.options[MoveRoute::kOptionBits] |= 0x8;
    AddPagedEvent(1, c.eventX / 2, 5, {page}).preciseX = c.eventX;
    CurrentMap.events[0].quarterX = 64 * c.eventX;
    HeroAt(6, 10);
    Input.direction8 = 6;
    bool started = false;
    for (int32_t i = 1; i <= 30 && !started; ++i) {
      Frame();
      // The key is let go once the event asked to start.
      if (CurrentMap.events[0].startRequested) Input.direction8 = 0;
      started = Self(1, 0) > 0;
    }
    EXPECT_TRUE(started) << c.name;
    EXPECT_EQ(PlayerHero.preciseX, c.heroStopsAt) << c.name;
    EXPECT_EQ(PlayerHero.direction, 6) << c.name;
    TearDown();
  }
}

TEST_F(MapEventTest, ATouchingEventStartsWhenItMovesIntoTheHero) {
  EventPage page = Page(4, CountInSelf(0));
  page.route.options[MoveRoute::kMovementType] = 1;
  page.route.options[MoveRoute::kMovementFrequency] = 0;
  page.route.options[MoveRoute::kRouteOptions] = 1;  // repeat
  page.route.steps = {MoveRouteStep{1, {}, ""}};     // left
  AddPagedEvent(1, 5, 5, {page});
  HeroAt(8, 10);
  EXPECT_GT(FramesUntilStarted(1, 5), 0);
  EXPECT_EQ(Event(1).preciseX, 10) << "the hero blocks its step";
}

TEST_F(MapEventTest, CollisionHalfWidthsWidenTheTouch) {
  struct Case {
    int32_t width;
    int32_t heroX;
    int32_t d;
    bool starts;
  };
  // Event at x = 10; the hero steps toward it and the bump test looks at the
  // step's destination.
  const std::vector<Case> cases = {
      {0, 8, 6, true},  {0, 7, 6, false}, {0, 12, 4, true},  {0, 13, 4, false},
      {2, 6, 6, true},  {2, 5, 6, false}, {2, 14, 4, true},  {2, 15, 4, false},
  };
  for (const Case& c : cases) {
    CurrentMap.events.clear();
    CurrentMap.mapData.events.clear();
    EventPage page = Page(3, CountInSelf(0));
    page.extraBytes = {0, static_cast<uint8_t>(c.width), 0};
    MapEventState& e = AddPagedEvent(1, 5, 5, {page});
    HeroAt(c.heroX, 10);
    PlayerHero.StepWithTouch(c.d, true);
    EXPECT_EQ(e.startRequested, c.starts) << "width " << c.width << " from " << c.heroX;
  }
}

TEST_F(MapEventTest, TheDecideKeyReachesAcrossACounterAndRoundTheMapEdge) {
  SetPlainTileFlags(1, MapScene::kCounter);
  struct Case {
    bool counter;
    int32_t eventX;
    bool starts;
  };
  // The hero at x = 4 faces right; in front is x = 5.
  const std::vector<Case> cases = {
      {false, 6, true}, {false, 7, false},                  // the event beside the front position
      {true, 7, true},  {true, 8, true},  {true, 9, false},  // one step, then one more unit
  };
  for (const Case& c : cases) {
    CurrentMap.events.clear();
    CurrentMap.mapData.events.clear();
    SetTile(0, 3, 5, c.counter ? 1 : 0);
    MapEventState& e = AddPagedEvent(1, 0, 5, {Page(0, CountInSelf(0))});
    e.preciseX = c.eventX;
    HeroAt(4, 10, 6);
    EXPECT_EQ(ConfirmTriggerCheck(PlayerHero, TriggerKinds::Of({0})), c.starts) << c.eventX;
    EXPECT_EQ(e.startRequested, c.starts) << c.eventX;
  }

  // At the right edge of a map that does not loop, the hero faces the left
  // edge's column.
  CurrentMap.events.clear();
  CurrentMap.mapData.events.clear();
  MapEventState& left = AddPagedEvent(1, 0, 5, {Page(0, CountInSelf(0))});
  HeroAt(38, 10, 6);
  Input.buttonsPressed[kButtonDecide] = 1;
  Frame();
  Input.buttonsPressed[kButtonDecide] = 0;
  EXPECT_TRUE(left.startRequested || Self(1, 0) > 0);
}

TEST_F(MapEventTest, NoTriggerFiresWhileAnEventRuns) {
  MapEventState& e = AddPagedEvent(1, 2, 5, {Page(0, CountInSelf(0))});
  RootInterpreter.StartOwnEvent(CommandListBuilder().Add({180, 100}).Build(), -1, -1);
  HeroAt(2, 10, 6);
  Input.buttonsPressed[kButtonDecide] = 1;
  Frame();
  EXPECT_FALSE(ConfirmTriggerCheck(PlayerHero, TriggerKinds::Of({0})));
  EXPECT_EQ(e.startRequested, 0);
  EXPECT_EQ(Self(1, 0), 0);
}

TEST_F(MapEventTest, ErasingFadesOverItsFramesAndTheEventStaysGone) {
  MapEventState& e = AddPagedEvent(1, 2, 2, {Page(0, CountInSelf(0))});
  e.StartErase(30);
  e.RequestStart();
  EXPECT_EQ(e.startRequested, 0) << "an event being erased does not start";
  for (int32_t k = 1; k <= 30; ++k) {
    CurrentMap.Update();
    ASSERT_EQ(Event(1).opacity, 255 * (30 - k) / 30) << k;
  }
  EXPECT_EQ(Event(1).pageIndex, 0);
  CurrentMap.Update();
  EXPECT_EQ(Event(1).erased, 1);
  EXPECT_EQ(Event(1).pageIndex, -1);
  EXPECT_EQ(Event(1).opacity, 0);
  Variables.SetVariable(1000010, 5);
  CurrentMap.RefreshPages();
  EXPECT_EQ(Event(1).pageIndex, -1) << "gone for the rest of the visit";
}

TEST_F(MapEventTest, AnAutorunStartsAgainWheneverItEndsWhileItsPageHolds) {
  EventPage page = Page(1, CountAndWait());
  page.conditions.flags[0] = 1 | (3 << 4);  // self 0 <= 2
  page.conditions.leftIds[0] = 1100000;
  page.conditions.rightOperands[0] = 2;
  AddPagedEvent(1, 2, 2, {page});
  Frame();
  EXPECT_EQ(Self(1, 0), 1);
  Frame(2);
  EXPECT_EQ(Self(1, 0), 3) << "once per frame, restarted as soon as it ends";
  Frame(5);
  EXPECT_EQ(Self(1, 0), 3) << "its page no longer holds";
  EXPECT_FALSE(RootInterpreter.IsRunning());
}

TEST_F(MapEventTest, AParallelPageRunsInTheEventsOwnInterpreter) {
  AddPagedEvent(1, 2, 2, {Page(2, CountInSelf(0))});
  // The root is busy for the whole test.
  RootInterpreter.StartOwnEvent(CommandListBuilder().Add({180, 1000}).Build(), -1, -1);
  Frame(4);
  EXPECT_EQ(Self(1, 0), 4);
  EXPECT_EQ(Event(1).parallelRunner.size(), 1u);
  Event(1).StartErase(0);
  Frame(3);
  EXPECT_EQ(Self(1, 0), 4) << "an erased event runs nothing";
  EXPECT_TRUE(Event(1).parallelRunner.empty());
}

TEST_F(MapEventTest, TheEventListRebuiltWhileAParallelEventRuns) {
  // Counts, waits, then counts in a second slot.
  EventCommandList list = CountInSelf(0);
  list.push_back(CommandListBuilder().Add({180, 3}).Build().front());
  for (const EventCommand& c : CountInSelf(1)) list.push_back(c);
  AddPagedEvent(5, 2, 2, {Page(2, list)});
  Frame();
  ASSERT_EQ(Self(5, 0), 1);

  // The list grows in front of the running event, is copied away and back,
  // and reallocates: the runner finds its commands by the event's id.
  AddPagedEvent(1, 4, 4, {Page(0)});
  CurrentMap.events.reserve(CurrentMap.events.capacity() * 4);
  const MapScene snapshot = CurrentMap;
  CurrentMap = MapScene();
  CurrentMap = snapshot;
  ASSERT_EQ(CurrentMap.events[1].id, 5);
  ASSERT_TRUE(CurrentMap.events[1].parallelRunner.front().IsRunning());
  Frame(4);
  EXPECT_EQ(Self(5, 1), 1);
  EXPECT_EQ(Self(5, 0), 2) << "restarted after its end";

  // A new map: the old event's page is no longer there to run.
  EventInterpreter orphan = CurrentMap.events[1].parallelRunner.front();
  CurrentMap.mapId = 2;
  for (int i = 0; i < 5; ++i) orphan.RunFrame();
  EXPECT_FALSE(orphan.IsRunning());
}

TEST_F(MapEventTest, ATouchingEventWalkableOntoStartsWhileTheHeroStandsOnIt) {
  MapEventState& e = AddPagedEvent(1, 3, 3, {Page(4, CountInSelf(0), false)});
  HeroAt(6, 6);
  CurrentMap.Update();
  EXPECT_EQ(e.startRequested, 1);
}

}  // namespace
