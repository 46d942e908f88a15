#include <gtest/gtest.h>

#include <climits>

#include "engine/data/GameInfo.h"
#include "engine/map/MapScene.h"
#include "tests/engine/map/MapTestFixture.h"

namespace {

using MapViewTest = MapTest;

TEST_F(MapViewTest, ManualScrollStopsAtTheMapEdges) {
  UseMap(30, 20);
  MapScene& map = CurrentMap;
  map.ScrollRight(100000);
  EXPECT_EQ(map.scrollX, 4 * 30 * 32 - 80 * 32);
  map.ScrollDown(100000);
  EXPECT_EQ(map.scrollY, 4 * 20 * 32 - 60 * 32);
  map.ScrollLeft(INT32_MAX);
  map.ScrollUp(INT32_MAX);
  EXPECT_EQ(map.scrollX, 0);
  EXPECT_EQ(map.scrollY, 0);
  map.ScrollRight(INT32_MAX);
  EXPECT_EQ(map.scrollX, 4 * 30 * 32 - 80 * 32) << "no overflow past the edge";
}

TEST_F(MapViewTest, MapsSmallerThanTheScreenDoNotScroll) {
  for (const auto& [w, h] : {std::pair{10, 5}, std::pair{19, 14}, std::pair{20, 15}}) {
    UseMap(w, h);
    CurrentMap.scrollX = 0;
    CurrentMap.scrollY = 0;
    CurrentMap.ScrollRight(64);
    CurrentMap.ScrollDown(64);
    EXPECT_EQ(CurrentMap.scrollX, 0) << w;
    EXPECT_EQ(CurrentMap.scrollY, 0) << h;
  }
}

TEST_F(MapViewTest, LoopingScrollAddsAndSubtractsWithoutWrapping) {
  UseMap(25, 18);
  CurrentMap.loopX = 1;
  CurrentMap.loopY = 1;
  CurrentMap.ScrollLeft(100);
  EXPECT_EQ(CurrentMap.scrollX, -100);
  // What games read of a character: the screen x without the loop wrap
  // follows the scroll (a modulo scroll would put this one at -727).
  MapCharacter c;
  c.PlaceCharacter(1, 0);
  EXPECT_EQ(c.ScreenX(false), 73);
  CurrentMap.ScrollUp(5);
  EXPECT_EQ(CurrentMap.scrollY, -5);
  CurrentMap.ScrollDown(10);
  EXPECT_EQ(CurrentMap.scrollY, 5);
  for (int i = 0; i < 3; ++i) CurrentMap.ScrollRight(INT32_MAX);
  EXPECT_EQ(CurrentMap.scrollX, INT32_MAX) << "saturated, never undefined";
  for (int i = 0; i < 3; ++i) CurrentMap.ScrollUp(INT32_MAX);
  EXPECT_EQ(CurrentMap.scrollY, INT32_MIN);
}

TEST_F(MapViewTest, ScrollRequestAtSpeed8CompletesInOneUpdate) {
  UseMap(40, 40);
  CurrentMap.RequestScroll(0, 640, 8);
  EXPECT_TRUE(CurrentMap.IsScrolling());
  CurrentMap.Update();
  EXPECT_FALSE(CurrentMap.IsScrolling());
  EXPECT_EQ(CurrentMap.scrollY, 640);
  EXPECT_EQ(CurrentMap.scrollX, 0);
}

TEST_F(MapViewTest, ScrollRequestStepsAlongTheDiagonal) {
  UseMap(100, 100);
  CurrentMap.RequestScroll(300, -400, 0);  // length 500, f = 2: steps 1 and 1
  EXPECT_EQ(CurrentMap.scrollRequest, (ScrollRequest{6, 8, 300, 400, 1, 1}));
  CurrentMap.scrollY = 1000;
  CurrentMap.RequestScroll(300, -400, 3);  // f = 16: steps 9 and 12
  EXPECT_EQ(CurrentMap.scrollRequest.stepX, 9);
  EXPECT_EQ(CurrentMap.scrollRequest.stepY, 12);
  int frames = 0;
  while (CurrentMap.IsScrolling() && frames < 100) {
    CurrentMap.Update();
    ++frames;
  }
  EXPECT_EQ(frames, 34);
  EXPECT_EQ(CurrentMap.scrollX, 300);
  EXPECT_EQ(CurrentMap.scrollY, 600);
}

TEST_F(MapViewTest, EmptyAndExtremeScrollRequests) {
  UseMap(100, 100);
  CurrentMap.RequestScroll(0, 0, 3);
  EXPECT_FALSE(CurrentMap.IsScrolling());
  EXPECT_EQ(CurrentMap.scrollRequest, ScrollRequest{});
  CurrentMap.RequestScroll(INT32_MIN, INT32_MIN, INT32_MAX);
  EXPECT_EQ(CurrentMap.scrollRequest.remainingX, INT32_MAX);
  EXPECT_GT(CurrentMap.scrollRequest.stepX, 0);
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.scrollX, 0);
  CurrentMap.RequestScroll(5, 0, INT32_MIN);
  EXPECT_EQ(CurrentMap.scrollRequest.stepX, 1) << "a step of less than one is one";
  EXPECT_EQ(CurrentMap.scrollRequest.stepY, 1);
}

TEST_F(MapViewTest, ShakeSwingsAndEndsOnItsWayThroughZero) {
  UseMap(20, 15);
  CurrentMap.StartShake(2, 3, 1, 30);  // horizontal: amplitude 4, speed 8
  EXPECT_EQ(CurrentMap.shake.amplitudeX, 4);
  EXPECT_EQ(CurrentMap.shake.speedX, 8);
  EXPECT_EQ(CurrentMap.shake.framesLeftX, 31);
  int32_t lowest = 0;
  int32_t highest = 0;
  for (int i = 0; i < 31; ++i) {
    CurrentMap.Update();
    lowest = std::min(lowest, CurrentMap.shakeOffsetX);
    highest = std::max(highest, CurrentMap.shakeOffsetX);
    EXPECT_EQ(CurrentMap.shakeOffsetY, 0);
  }
  EXPECT_GT(highest, 0);
  EXPECT_LT(lowest, 0);
  EXPECT_LE(highest, 2 * 4 + 2);
  // The accumulator steps by 4 x 8 x 64 / 10 = 204 a frame and turns past
  // 4 x 128: offsets are 32 x accumulator / 2048.
  EXPECT_EQ(CurrentMap.shake.framesLeftX, 0);
  for (int i = 0; i < 20 && CurrentMap.shake.accumulatorX != 0; ++i) CurrentMap.Update();
  EXPECT_EQ(CurrentMap.shake.accumulatorX, 0);
  EXPECT_EQ(CurrentMap.shakeOffsetX, 0);
}

TEST_F(MapViewTest, StopShakeAndHugeExponentsStayDefined) {
  UseMap(20, 15);
  CurrentMap.StartShake(40, 40, 0, INT32_MAX);
  EXPECT_EQ(CurrentMap.shake.framesLeftY, INT32_MAX);
  EXPECT_GT(CurrentMap.shake.amplitudeY, 0);
  for (int i = 0; i < 50; ++i) CurrentMap.Update();
  CurrentMap.StopShake();
  for (int i = 0; i < 200 && CurrentMap.shake.accumulatorY != 0; ++i) CurrentMap.Update();
  EXPECT_EQ(CurrentMap.shakeOffsetY, 0);
  CurrentMap.StartShake(-3, -1, 0, 5);
  EXPECT_EQ(CurrentMap.shake.amplitudeY, 0) << "2^-3 floors to 0";
}

TEST_F(MapViewTest, FrameRateAbove60StillStepsByOne) {
  GameInfo info;
  info.settingBytes[GameInfo::kFramesPerSecond] = 120;
  EXPECT_EQ(MapSettings::FromGameInfo(info).frameStep, 1);
  info.settingBytes[GameInfo::kFramesPerSecond] = 20;
  EXPECT_EQ(MapSettings::FromGameInfo(info).frameStep, 3);
  info.settingBytes[GameInfo::kTileSize] = 16;
  EXPECT_EQ(MapSettings::FromGameInfo(info).tileUnit, 16);
}

TEST_F(MapViewTest, ZoomGlidesAndStartsFromWhereItStood) {
  UseMap(20, 15);
  CurrentMap.StartZoom(100, 50, 200, 4);
  EXPECT_EQ(CurrentMap.zoom.startCentreX, 100) << "an unzoomed view jumps to the new centre";
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.zoom.zoom, 125);
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.zoom.zoom, 150);
  CurrentMap.StartZoom(0, 0, 100, 2);  // from 150, gliding back from centre (100, 50)
  EXPECT_EQ(CurrentMap.zoom.startZoom, 150);
  EXPECT_EQ(CurrentMap.zoom.startCentreX, 100);
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.zoom.zoom, 125);
  EXPECT_EQ(CurrentMap.zoom.centreX, 50);
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.zoom.zoom, 100);
  EXPECT_EQ(CurrentMap.zoom.startZoom, 100);
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.zoom.centreY, 0);
  CurrentMap.StartZoom(1, 2, 300, 0);
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.zoom.zoom, 300) << "no frames: at once";
}

TEST_F(MapViewTest, FrameCounterWraps) {
  UseMap(20, 15);
  CurrentMap.frameCounter = MapScene::kFrameCounterPeriod - 1;
  CurrentMap.Update();
  EXPECT_EQ(CurrentMap.frameCounter, 0);
  CurrentMap.frameCounter = INT32_MAX;
  CurrentMap.Update();
  EXPECT_GE(CurrentMap.frameCounter, 0);
}

}  // namespace
