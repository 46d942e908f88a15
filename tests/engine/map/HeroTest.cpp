#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/services/InputState.h"
#include "tests/engine/map/LiveMapFixture.h"

namespace {

using Position = std::pair<int32_t, int32_t>;

class HeroTest : public LiveMapTest {
 protected:
  // One step of the hero by the keys: pressed, then walked out (speed 4
  // walks half a tile in 4 frames).
  static void StepByKey(int32_t d) {
    Input.direction8 = d;
    Frame();
    Input.direction8 = 0;
    Frame(3);
  }
  static Position At(const MapCharacter& c) { return {c.preciseX, c.preciseY}; }
};

TEST_F(HeroTest, FourWayControlMakesNoDiagonalSteps) {
  PlayerHero.WarpTo(5, 5);
  CurrentMapSettings.moveDirections = 4;
  Input.direction8 = 9;
  Input.direction4 = 8;
  Frame();
  EXPECT_EQ(At(PlayerHero), Position(10, 9));
  Frame(3);
  CurrentMapSettings.moveDirections = 8;
  Frame();
  EXPECT_EQ(At(PlayerHero), Position(11, 8)) << "eight ways: the diagonal";
}

TEST_F(HeroTest, FollowersStartOnTheHeroAndReplayItsStepsSpacingBehind) {
  RootRunner.followerSpacing = 2;
  PlayerHero.WarpTo(5, 5);
  PlayerHero.ResetFollowers();
  for (const MapCharacter& f : PlayerHero.followers) EXPECT_EQ(At(f), Position(10, 10));
  const std::vector<int32_t> keys = {6, 6, 2, 2, 6, 6};
  std::vector<Position> hero;
  std::vector<Position> first;
  std::vector<Position> second;
  for (const int32_t d : keys) {
    StepByKey(d);
    hero.push_back(At(PlayerHero));
    first.push_back(At(PlayerHero.followers[0]));
    second.push_back(At(PlayerHero.followers[1]));
  }
  EXPECT_EQ(hero, (std::vector<Position>{{11, 10}, {12, 10}, {12, 11}, {12, 12}, {13, 12}, {14, 12}}));
  // The history holds no steps yet: the first two steps move no follower.
  EXPECT_EQ(first, (std::vector<Position>{{10, 10}, {10, 10}, {11, 10}, {12, 10}, {12, 11}, {12, 12}}));
  EXPECT_EQ(second, (std::vector<Position>{{10, 10}, {10, 10}, {10, 10}, {10, 10}, {11, 10}, {12, 10}}));
  EXPECT_EQ(PlayerHero.stepHistory.size(), Hero::kHistoryLength);
  EXPECT_EQ(PlayerHero.followers[0].quarterX, 64 * 12) << "walked, not jumped";

  // Stopped following: they repeat the latest step together.
  PlayerHero.followersInStep = 1;
  StepByKey(8);
  EXPECT_EQ(At(PlayerHero.followers[0]), Position(12, 11));
  EXPECT_EQ(At(PlayerHero.followers[4]), Position(10, 9));
}

TEST_F(HeroTest, FollowersPastTheHistoryOrThePartyListStandStill) {
  RootRunner.followerSpacing = INT16_MAX;
  RootRunner.followerSetting = 3;
  RootRunner.followerValues = {7, -2};
  PlayerHero.WarpTo(5, 5);
  PlayerHero.ResetFollowers();
  for (int i = 0; i < 3; ++i) StepByKey(6);
  for (const MapCharacter& f : PlayerHero.followers) EXPECT_EQ(At(f), Position(10, 10));
  EXPECT_EQ(PlayerHero.followers[0].extraBytes[0], 7);
  EXPECT_EQ(PlayerHero.followers[1].extraBytes[0], 255);
  EXPECT_EQ(PlayerHero.followers[2].extraBytes[0], 3) << "no entry: the hero's extra image";
  EXPECT_EQ(PlayerHero.extraBytes[0], 3);
}

TEST_F(HeroTest, TheViewNeverJumpsWhileTheHeroWalksRoundALoopingMap) {
  UseMap(25, 20);
  CurrentMap.loopX = 1;
  PlayerHero.WarpTo(20, 10);
  PlayerHero.ResetFollowers();
  Input.direction8 = 6;
  bool wrapped = false;
  for (int i = 0; i < 120; ++i) {
    Frame();
    ASSERT_EQ(PlayerHero.ScreenX(false), 320) << "frame " << i;
    ASSERT_LE(PlayerHero.preciseX, 50);
    wrapped = wrapped || PlayerHero.preciseX < 40;
  }
  EXPECT_TRUE(wrapped);
  EXPECT_LT(CurrentMap.scrollX, 4 * 25 * 32) << "the scroll came back with the hero";

  // With the view locked only the hero comes round.
  RootRunner.screenLock = 1;
  const int32_t scroll = CurrentMap.scrollX;
  for (int i = 0; i < 120; ++i) Frame();
  EXPECT_EQ(CurrentMap.scrollX, scroll);
  EXPECT_GE(PlayerHero.preciseX, 0);
  EXPECT_LE(PlayerHero.preciseX, 50);
}

TEST_F(HeroTest, AMapSmallerThanTheScreenKeepsScrollZero) {
  UseMap(12, 9);
  PlayerHero.WarpTo(11, 8);
  EXPECT_EQ(CurrentMap.scrollX, 0);
  EXPECT_EQ(CurrentMap.scrollY, 0);
  for (const int32_t d : {4, 4, 8, 8, 6, 2}) {
    StepByKey(d);
    EXPECT_EQ(CurrentMap.scrollX, 0);
    EXPECT_EQ(CurrentMap.scrollY, 0);
  }
  // On a larger map the hero is centred, held inside the map.
  UseMap(40, 30);
  PlayerHero.WarpTo(20, 28);
  EXPECT_EQ(CurrentMap.scrollX, 4 * 32 * 20 - 38 * 32);
  EXPECT_EQ(CurrentMap.scrollY, 4 * 32 * 30 - 60 * 32);
}

TEST_F(HeroTest, RoutesRunFromTheControlAndHoldThePlayer) {
  PlayerHero.WarpTo(5, 5);
  MoveRoute route;
  route.steps = {MoveRouteStep{3, {}, ""}, MoveRouteStep{3, {}, ""}};
  PlayerHero.ForceMoveRoute(route);
  EXPECT_EQ(At(PlayerHero), Position(10, 9));
  Input.direction8 = 4;
  Frame(4);
  EXPECT_EQ(At(PlayerHero), Position(10, 8)) << "the route, not the keys";
  Frame(4);
  EXPECT_EQ(PlayerHero.forcedRoute, 0);
  Frame();
  EXPECT_EQ(At(PlayerHero), Position(9, 8)) << "the keys again";
}

}  // namespace
