#include <gtest/gtest.h>

#include <vector>

#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/services/EngineRandom.h"
#include "tests/engine/map/LiveMapFixture.h"

namespace {

constexpr uint8_t kRepeat = 1;
constexpr uint8_t kSkip = 2;

MoveRoute Route(std::vector<MoveRouteStep> steps, uint8_t flags = 0) {
  MoveRoute route;
  route.steps = std::move(steps);
  route.options[MoveRoute::kRouteOptions] = flags;
  return route;
}

MoveRouteStep Step(uint8_t code, std::vector<int32_t> arguments = {}) { return {code, std::move(arguments), ""}; }

class MoveRouteTest : public LiveMapTest {
 protected:
  // An event with a graphic on tile (x, y), moving on nothing of its own.
  static MapEventState& Walker(int32_t id, int32_t x, int32_t y) { return AddPagedEvent(id, x, y, {Page(0)}); }
  static void Updates(int32_t n) {
    for (int32_t i = 0; i < n; ++i) CurrentMap.Update();
  }
};

TEST_F(MoveRouteTest, ABlockedMoveIsTriedAgainUnlessTheRouteSkipsIt) {
  SetPlainTileFlags(1, MapScene::kAllEdges);
  SetTile(0, 3, 4, 1);  // the wall below tile (3, 3)
  for (const uint8_t flags : {uint8_t{0}, kSkip}) {
    CurrentMap.events.clear();
    CurrentMap.mapData.events.clear();
    Walker(1, 3, 3).ForceMoveRoute(Route({Step(0), Step(0)}, flags));
    Updates(20);
    const MapEventState& e = Event(1);
    EXPECT_EQ(e.preciseY, 6);
    if (flags == kSkip) {
      EXPECT_EQ(e.forcedRoute, 0) << "ended";
    } else {
      EXPECT_EQ(e.forcedRoute, 1) << "never ends";
      EXPECT_EQ(e.routeIndex, 0);
    }
  }
}

TEST_F(MoveRouteTest, SettingsChangeAtOnceAndAWaitHoldsTheNextStep) {
  MapEventState& e = Walker(1, 5, 5);
  e.ForceMoveRoute(Route({Step(29, {5}), Step(31, {1}), Step(32), Step(34), Step(47, {30}), Step(3)}));
  EXPECT_EQ(e.moveSpeed, 5);
  EXPECT_EQ(e.animSpeed, 1);
  EXPECT_EQ(e.stepAnim, 1);
  EXPECT_EQ(e.walkAnim, 1);
  EXPECT_EQ(e.waitFrames, 30);
  EXPECT_EQ(e.preciseY, 10) << "the step up waits";
  Updates(30);
  EXPECT_EQ(Event(1).preciseY, 10);
  Updates(1);
  EXPECT_EQ(Event(1).preciseY, 9) << "up after 30 frames";
}

TEST_F(MoveRouteTest, ArgumentsAddressTheCharactersOwnVariables) {
  MapEventState& e = Walker(7, 2, 2);
  e.ForceMoveRoute(Route({Step(28, {1100005, 42}), Step(55, {1100005, 1100005}), Step(28, {9190000, 12})}));
  EXPECT_EQ(Variables.GetVariable(1000075), 84) << "self variable 5 of event 7, doubled";
  EXPECT_EQ(Event(7).preciseX, 24) << "its tile x among the map-event slots";
  EXPECT_EQ(CurrentMap.pageRefresh, 1);
  EXPECT_TRUE(errorLines.empty());

  // Common self variables belong to common events: refused, read as 0.
  Event(7).quarterX = 64 * 24;  // standing on its new place
  Event(7).ForceMoveRoute(Route({Step(28, {1100001, 1600003})}));
  ASSERT_EQ(errorLines.size(), 3u);
  EXPECT_EQ(errorLines[0], "[動作指定]ではコモンセルフ変数を利用できません。");
  EXPECT_EQ(Variables.GetVariable(1000071), 0);
}

TEST_F(MoveRouteTest, ARepeatingTurnTurnsOncePerCall) {
  MapEventState& e = Walker(1, 5, 5);
  e.direction = 2;
  e.ForceMoveRoute(Route({Step(22)}, kRepeat));  // right 90
  EXPECT_EQ(e.direction, 1) << "eight-direction sheets turn by 45 degrees";
  e.RunMoveRoute();  // the end of the route: back to the start
  EXPECT_EQ(e.direction, 1);
  e.RunMoveRoute();
  EXPECT_EQ(e.direction, 4);
  EXPECT_EQ(e.forcedRoute, 1) << "a repeating route never ends by itself";
}

TEST_F(MoveRouteTest, AForcedRouteKeepsTheOwnRouteAsideAndASecondReplacesIt) {
  MapEventState& e = Walker(1, 5, 5);
  e.route = Route({Step(8), Step(9), Step(10)});
  e.routeIndex = 2;
  e.ForceMoveRoute(Route({Step(11), Step(47, {100})}));
  EXPECT_EQ(e.direction, 8);
  EXPECT_EQ(e.savedRouteIndex, 2);
  // A second forced route replaces the first; the own route stays aside.
  e.ForceMoveRoute(Route({Step(9)}));
  EXPECT_EQ(e.savedRoute.steps.size(), 3u);
  e.RunMoveRoute();
  EXPECT_EQ(e.forcedRoute, 0);
  EXPECT_EQ(e.route.steps.size(), 3u);
  EXPECT_EQ(e.routeIndex, 2);
  EXPECT_TRUE(e.savedRoute.steps.empty());

  // Without an own route the same holds: the first forced route is not
  // taken for one.
  e.route = MoveRoute{};
  e.ForceMoveRoute(Route({Step(47, {100}), Step(8)}));
  e.ForceMoveRoute(Route({Step(10)}));
  e.RunMoveRoute();
  EXPECT_EQ(e.forcedRoute, 0);
  EXPECT_TRUE(e.route.steps.empty());
}

TEST_F(MoveRouteTest, LongRoutesKeepTheirPlaceAndANegativeIndexHasEnded) {
  MapEventState& e = Walker(1, 5, 5);
  std::vector<MoveRouteStep> steps(40000, Step(42));
  steps.push_back(Step(0));
  e.ForceMoveRoute(Route(steps));
  EXPECT_EQ(e.routeIndex, 40001);
  EXPECT_EQ(e.preciseY, 11) << "all the instant steps, then the move";
  Updates(10);
  EXPECT_EQ(Event(1).forcedRoute, 0);

  MapEventState& other = Walker(2, 8, 8);
  other.route = Route({Step(0)});
  other.routeIndex = -5;
  other.RunMoveRoute();
  EXPECT_EQ(other.preciseY, 16);
  EXPECT_EQ(other.routeIndex, -5);
}

TEST_F(MoveRouteTest, MovingTowardTheHeroIsRandomFromAfar) {
  // Each case: the hero's distance; what the move toward the hero must
  // equal for the same random value.
  struct Case {
    int32_t heroX;
    bool random;
  };
  for (const Case c : {Case{2 + 25, true}, Case{2 + 19, false}}) {
    for (uint32_t seed = 0; seed < 24; ++seed) {
      CurrentMap.events.clear();
      CurrentMap.mapData.events.clear();
      PlayerHero.PlaceCharacter(0, 0);
      PlayerHero.preciseX = c.heroX;
      PlayerHero.preciseY = 20;
      MapEventState& e = Walker(1, 1, 10);
      MapEventState expected = e;
      EngineRandom(kRandomSet, seed);
      const uint32_t r = EngineRandom(kRandomStep) % 6;
      EngineRandom(kRandomSet, seed);
      if (c.random) {
        expected.RandomStepWithTouch();
      } else {
        EngineRandom(kRandomStep);
        r < 4 ? expected.StepTowardHeroWithTouch() : r == 4 ? expected.RandomStepWithTouch() : expected.StepForwardWithTouch();
      }
      EngineRandom(kRandomSet, seed);
      e.MoveTowardHero();
      EXPECT_EQ(e.preciseX, expected.preciseX) << c.heroX << " " << seed;
      EXPECT_EQ(e.preciseY, expected.preciseY) << c.heroX << " " << seed;
    }
  }
}

TEST_F(MoveRouteTest, AnEventsOwnRouteRunsAfterItsIdleInterval) {
  EventPage page = Page(0);
  page.route = Route({Step(3)}, kRepeat);
  page.route.options[MoveRoute::kMovementType] = 1;
  page.route.options[MoveRoute::kMovementFrequency] = 1;  // more than 20 idle frames
  page.route.options[MoveRoute::kMovementSpeed] = 6;
  page.route.options[MoveRoute::kOptionBits] = 2;
  AddPagedEvent(1, 5, 5, {page});
  Updates(20);
  EXPECT_EQ(Event(1).preciseY, 10);
  Updates(1);
  EXPECT_EQ(Event(1).preciseY, 9);
}

}  // namespace
