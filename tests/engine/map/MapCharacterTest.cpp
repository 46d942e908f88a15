#include <gtest/gtest.h>

#include <climits>

#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "tests/engine/map/MapTestFixture.h"

namespace {

using MapCharacterTest = MapTest;

TEST_F(MapCharacterTest, SettingsShapeNewCharacters) {
  MapSettings s;
  s.sheetDirections = 4;
  s.stepSetting = 1;
  s.tallByDefault = true;
  s.sheetPatterns = 5;
  const MapCharacter c(s);
  EXPECT_EQ(c.eightDirSheet, 0);
  EXPECT_EQ(c.stepSize, 2);
  EXPECT_EQ(c.tall, 1);
  EXPECT_EQ(c.animCentre, 2);
  EXPECT_EQ(c.basePattern, 2);
  const MapCharacter plain;
  EXPECT_EQ(plain.eightDirSheet, 1);
  EXPECT_EQ(plain.stepSize, 1);
  EXPECT_EQ(plain.basePattern, 1);
}

TEST_F(MapCharacterTest, PlacingPastTheEdgeShowsTheErrorAndClamps) {
  UseMap(12, 9);
  MapCharacter c;
  c.talkDirection = 4;
  c.PlaceCharacter(12, 3);
  ASSERT_EQ(errorLines.size(), 3u);
  EXPECT_EQ(errorLines[0], "エラー：キャラクターをマップ外[X12 Y3](Map1)に場所移動させようとしました");
  EXPECT_EQ(errorLines[1], "強制的にマップ内におさめます、このマップ最大位置は[11,8]です");
  EXPECT_EQ(errorLines[2], "");
  EXPECT_EQ(c.preciseX, 22);
  EXPECT_EQ(c.preciseY, 6);
  EXPECT_EQ(c.quarterX, 22 * 64);
  EXPECT_EQ(c.talkDirection, 0);
  errorLines.clear();
  c.PlaceCharacter(-13, INT32_MAX);
  EXPECT_EQ(errorLines.size(), 3u);
  EXPECT_EQ(c.preciseX, -2) << "negative tiles are not checked: the remainder keeps the sign";
  EXPECT_EQ(c.preciseY, 16);
}

struct ScreenCase {
  int32_t tileUnit;
  int32_t preciseX;
  int32_t preciseY;
  int32_t scrollX;
  int32_t scrollY;
  int32_t height;
  int32_t screenX;
  int32_t screenY;
  int32_t screenYBase;
};

TEST_F(MapCharacterTest, ScreenPositionsAtBothTileUnits) {
  const ScreenCase cases[] = {
      {32, 0, 0, 0, 0, 0, 16, 32, 32},
      {16, 0, 0, 0, 0, 0, 8, 16, 16},
      {32, 3, 5, 64, 128, 10, 16 + 48 - 16, 32 + 80 - 32 - 10, 32 + 80 - 32},
      {16, 3, 5, 64, 128, 10, 8 + 24 - 16, 16 + 40 - 32 - 10, 16 + 40 - 32},
  };
  for (const ScreenCase& k : cases) {
    CurrentMapSettings.tileUnit = k.tileUnit;
    UseMap(30, 30);
    CurrentMap.scrollX = k.scrollX;
    CurrentMap.scrollY = k.scrollY;
    MapCharacter c;
    c.PlaceCharacter(0, 0);
    c.preciseX = k.preciseX;
    c.preciseY = k.preciseY;
    c.quarterX = 2 * k.tileUnit * k.preciseX;
    c.quarterY = 2 * k.tileUnit * k.preciseY;
    c.height = k.height;
    EXPECT_EQ(c.ScreenX(false), k.screenX) << k.tileUnit;
    EXPECT_EQ(c.ScreenY(false), k.screenY) << k.tileUnit;
    EXPECT_EQ(c.ScreenYBase(false), k.screenYBase) << k.tileUnit;
  }
}

TEST_F(MapCharacterTest, ScreenPositionWrapsOnLoopingMaps) {
  UseMap(25, 20);
  CurrentMap.loopX = 1;
  CurrentMap.scrollX = 64 * 40;  // 20 tiles to the right
  MapCharacter c;
  c.PlaceCharacter(1, 0);
  c.shakeOffsetX = 3;
  EXPECT_EQ(c.ScreenX(false), (128 - 2560) / 4 + 16 + 3);
  EXPECT_EQ(c.ScreenX(true), (128 - 2560) / 4 + 16 + 25 * 32 + 3);
  EXPECT_EQ(c.ScreenY(true), c.ScreenY(false)) << "y does not loop";
  c.quarterX = INT32_MIN;
  EXPECT_GE(c.ScreenX(true), 0) << "however far left";
}

TEST_F(MapCharacterTest, JumpArcPeaksHalfway) {
  UseMap(20, 15);
  MapCharacter c;
  c.jumpHalf = 10;
  for (const auto& [count, arc] : {std::pair{20, 0}, std::pair{10, 60}, std::pair{0, 0}, std::pair{15, 45}}) {
    c.jumpCount = count;
    EXPECT_EQ(c.JumpArc(), arc) << count;
  }
  CurrentMapSettings.tileUnit = 16;
  c.jumpCount = 10;
  EXPECT_EQ(c.JumpArc(), 30);
  c.jumpHalf = INT32_MAX;
  c.jumpCount = INT32_MAX;
  EXPECT_EQ(c.JumpArc(), INT32_MAX) << "the square in 64 bits, the arc held to 32";
  c.jumpCount = 0;
  EXPECT_EQ(c.JumpArc(), 0);
}

TEST_F(MapCharacterTest, StandingCharacterReturnsToItsBasePatternAndStays) {
  UseMap(20, 15);
  MapCharacter c;
  c.PlaceCharacter(2, 2);
  c.pattern = 2;
  c.animSpeed = 1;  // interval 6
  std::vector<int16_t> seen;
  for (int i = 0; i < 30; ++i) {
    c.UpdateMovement();
    seen.push_back(c.pattern);
  }
  EXPECT_EQ(seen[5], 2);
  EXPECT_EQ(seen[6], 1) << "at the first change after standing still";
  for (size_t i = 6; i < seen.size(); ++i) EXPECT_EQ(seen[i], 1) << i;
}

TEST_F(MapCharacterTest, StepAnimationCyclesThroughThePatterns) {
  UseMap(20, 15);
  for (const auto& [patterns, expected] :
       {std::pair{3, std::vector<int16_t>{2, 1, 0, 1, 2}}, std::pair{5, std::vector<int16_t>{3, 4, 3, 2, 1, 0, 1, 2}}}) {
    CurrentMapSettings.sheetPatterns = patterns;
    MapCharacter c;
    c.PlaceCharacter(2, 2);
    c.stepAnim = 1;
    c.animSpeed = 0;  // interval 0: every frame with a counter above 0
    std::vector<int16_t> seen;
    for (size_t i = 0; i < expected.size(); ++i) {
      c.UpdateMovement();
      seen.push_back(c.pattern);
    }
    EXPECT_EQ(seen, expected) << patterns;
  }
}

TEST_F(MapCharacterTest, AnimationSpeedOutsideTheTableIsClamped) {
  UseMap(20, 15);
  for (int16_t speed : {int16_t{-5}, int16_t{7}, int16_t{32767}, int16_t{-32768}}) {
    MapCharacter c;
    c.PlaceCharacter(2, 2);
    c.stepAnim = 1;
    c.animSpeed = speed;
    for (int i = 0; i < 200; ++i) c.UpdateMovement();
    EXPECT_GE(c.pattern, 0) << speed;
    EXPECT_LE(c.pattern, 2) << speed;
  }
}

TEST_F(MapCharacterTest, ShakeSwingsOutAndBackOnEachSide) {
  UseMap(20, 15);
  MapCharacter c;
  c.StartShake(8, 0, 2, 3);
  // The last frame of the last swing already shows the shake ended.
  std::vector<int32_t> seen;
  for (int i = 0; i < 14; ++i) {
    c.UpdateMovement();
    seen.push_back(c.shakeOffsetX);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{0, -3, -6, -8, -5, -2, 0, 3, 6, 8, 5, 0, 0, 0}));
  c.StartShake(INT32_MAX, INT32_MIN, 3, INT32_MAX);
  EXPECT_EQ(c.shakeTimer, INT32_MAX);
  for (int i = 0; i < 5; ++i) c.UpdateMovement();
  c.shakeTimer = INT32_MIN;  // as a damaged record could hold
  c.UpdateMovement();
  EXPECT_EQ(c.shakeTimer, INT32_MAX) << "a new swing starts, twice the period held to 32 bits";
  c.StartShake(1, 1, 1, -4);
  EXPECT_EQ(c.shakePeriod, 1);
  EXPECT_EQ(c.shakeTimer, 2);
}

TEST_F(MapCharacterTest, EffectCountsDownByOne) {
  UseMap(20, 15);
  CurrentMapSettings.frameStep = 3;
  MapCharacter c;
  c.SetEffect(0x646464, 2);
  EXPECT_EQ(c.effectDuration, 2);
  c.UpdateMovement();
  EXPECT_EQ(c.effectTimer, 1);
  c.UpdateMovement();
  c.UpdateMovement();
  EXPECT_EQ(c.effectTimer, 0);
}

TEST_F(MapCharacterTest, TalkFacingTurnsToTheHeroAndBack) {
  UseMap(20, 15);
  hero_.PlaceCharacter(5, 2);
  MapCharacter c;
  c.PlaceCharacter(2, 2);
  c.direction = 2;
  c.BeginTalkFacing();
  EXPECT_EQ(c.direction, 6);
  EXPECT_EQ(c.talkDirection, 2);
  c.BeginTalkFacing();
  EXPECT_EQ(c.talkDirection, 2) << "once";
  c.EndTalkFacing();
  EXPECT_EQ(c.direction, 2);
  EXPECT_EQ(c.talking, 0);
}

TEST_F(MapCharacterTest, SmallQueries) {
  UseMap(20, 15);
  MapCharacter c;
  EXPECT_EQ(c.CollisionWidth(0), 0) << "one extra byte: no widths";
  c.extraBytes = {0, 3, 5};
  EXPECT_EQ(c.CollisionWidth(0), 3);
  EXPECT_EQ(c.CollisionWidth(1), 5);
  EXPECT_EQ(c.DrawPriority(), 0);
  c.alwaysAbove = 1;
  EXPECT_EQ(c.DrawPriority(), 999);
  c.pattern = 0;
  c.animCounter = 5;
  c.talkDirection = 4;
  c.ResetAnimation();
  EXPECT_EQ(c.pattern, c.basePattern);
  EXPECT_EQ(c.animCounter, 0);
  EXPECT_EQ(c.talkDirection, 0);
  c.walkAnim = 0;
  c.pattern = 0;
  c.ResetAnimation();
  EXPECT_EQ(c.pattern, 0) << "no animation option: the pattern stays";
  c.talking = 1;
  c.talkDirection = 8;
  c.directionFixed = 1;
  c.EndTalkFacing();
  EXPECT_EQ(c.direction, 2) << "a fixed direction does not turn back";
  EXPECT_EQ(c.talking, 0);
}

TEST_F(MapCharacterTest, MovingAndWasMoving) {
  UseMap(20, 15);
  MapCharacter c;
  c.PlaceCharacter(2, 2);
  EXPECT_FALSE(c.IsMoving());
  ASSERT_TRUE(c.StepRight(false));
  EXPECT_TRUE(c.IsMoving());
  EXPECT_TRUE(c.WasMoving());
  for (int i = 0; i < 4; ++i) c.UpdateMovement();
  EXPECT_FALSE(c.IsMoving());
  EXPECT_TRUE(c.WasMoving()) << "once more after the walk ended";
  EXPECT_FALSE(c.WasMoving());
}

TEST_F(MapCharacterTest, WrapOnLoopingMapOnlyWhileStanding) {
  UseMap(10, 10);
  CurrentMap.loopX = 1;
  MapCharacter c;
  c.preciseX = 20;
  c.quarterX = 19 * 64;
  c.WrapOnLoopingMap();
  EXPECT_EQ(c.preciseX, 20) << "still walking";
  c.quarterX = 20 * 64;
  c.WrapOnLoopingMap();
  EXPECT_EQ(c.preciseX, 0);
  EXPECT_EQ(c.quarterX, 0);
}

}  // namespace
