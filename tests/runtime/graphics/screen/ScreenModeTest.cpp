#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/screen/ScreenModeChange.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/system/Clock.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

using ScreenModeTest = GraphicsFixture;

TEST_F(ScreenModeTest, AModeSetBeforeStartUpIsTheModeStartUpSets) {
  EXPECT_EQ(SetScreenMode(800, 600, 32, -1), 0);
  EXPECT_EQ(gScreen.back.width, 0);
  Start(0);
  EXPECT_EQ(gScreen.back.width, 800);
  EXPECT_EQ(gScreen.back.height, 600);
  EXPECT_EQ(gScreen.back.store->pixelType, MemImgXrgb8888);
  EXPECT_EQ(GetScreenDepth(), 32);
}

TEST_F(ScreenModeTest, WithoutAModeTheScreensAre640By480At16Bits) {
  Start(0);
  EXPECT_EQ(gScreen.back.width, 640);
  EXPECT_EQ(gScreen.back.store->pixelType, MemImgRgb565);
  EXPECT_EQ(GetScreenDepth(), 16);
  EXPECT_EQ(IsSoftwareScreens(), 1);
  EXPECT_EQ(IsDirectDrawOn(), 0);
}

TEST_F(ScreenModeTest, RefusedAndSameModeRequestsKeepEveryGraphic) {
  Start(32);
  const int g = CreateBlankGraphic(16, 16, 1);
  struct Case {
    int width, height, depth;
  } refused[] = {{0, 480, 32}, {640, -2, 32}, {640, 480, 24}, {40000, 480, 32}, {32767, 32767, 32}};
  for (const Case& c : refused) {
    EXPECT_EQ(SetScreenMode(c.width, c.height, c.depth, -1), -1) << c.width << "x" << c.height << "x" << c.depth;
  }
  EXPECT_EQ(SetScreenMode(640, 480, 32, -1), 0);
  EXPECT_EQ(SetScreenMode(-1, -1, -1, -1), 0);
  EXPECT_NE(GetGraphicRecord(g), nullptr);
  EXPECT_EQ(GetGraphicCount(), 1);
  // A new mode deletes them and makes new screens.
  EXPECT_EQ(SetScreenMode(320, 240, 16, -1), 0);
  EXPECT_EQ(GetGraphicRecord(g), nullptr);
  EXPECT_EQ(gScreen.back.width, 320);
  EXPECT_EQ(gScreen.back.store->pixelType, MemImgRgb565);
  int w = 0;
  int h = 0;
  GetGraphicSize(kBackScreen, &w, &h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(gDrawState.drawRegion.right, 320);
}

bool OnlyTheOldMode(int width, int, int, int) { return width == 640; }
bool OnlyTheFallback(int width, int height, int depth, int refresh) {
  return width == 640 && height == 480 && depth == 16 && refresh == 0;
}

TEST_F(ScreenModeTest, AFullScreenModeTheDisplayRefusesFallsBack) {
  gPlatform.windowMode = 0;
  Start(32);
  HostSetDisplayModeFilter(OnlyTheOldMode);
  EXPECT_EQ(SetScreenMode(800, 600, 32, -1), -1);
  int w = 0;
  GetScreenSize(&w, nullptr);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(gScreen.back.width, 640);
  HostSetDisplayModeFilter(OnlyTheFallback);
  EXPECT_EQ(SetScreenMode(800, 600, 32, 75), -2);
  int h = 0;
  int d = 0;
  GetScreenMetrics(&w, &h, &d);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(d, 16);
}

TEST_F(ScreenModeTest, ASecondModeChangeWaitsUntil2060MsAfterTheFirst) {
  Start(32);
  clock.AdvanceOnEveryTickRead(0);
  ASSERT_EQ(SetScreenMode(320, 240, 32, -1), 0);
  const uint32_t first = gScreen.lastModeChangeMs;
  ASSERT_EQ(SetScreenMode(400, 300, 32, -1), 0);
  EXPECT_EQ(gScreen.lastModeChangeMs - first, 2060u);
}

TEST_F(ScreenModeTest, SoftwareModeIsEnteredOnceAndStays) {
  Start(32);
  EXPECT_EQ(EnableHardwareDrawing(1), 0);
  EXPECT_EQ(IsSoftwareScreens(), 1);
  EXPECT_EQ(IsDirectDrawOn(), 0);
  EXPECT_EQ(GetDrawTarget(), kFrontScreen);
}

TEST_F(ScreenModeTest, WithoutAGlContextTheHardwarePathFallsBackToSoftwareModeWithItsLogLines) {
  // Hardware drawing asked for on a driver that gives no GL context: the
  // display's surfaces are made in memory, the 3D device is missing, and
  // the screen device starts again in software mode.
  HostForceHardwareDrawing(1);
  Start(32);
  HostForceHardwareDrawing(-1);
  EXPECT_EQ(IsSoftwareScreens(), 1);
  EXPECT_EQ(IsDirectDrawOn(), 0);
  const std::vector<std::string> lines = LogLines();
  const std::vector<std::string> expected = {
      "DirectDraw 関連の初期化を行います",
      "\tPrimaryBuffer : SYSTEMMEMORY  ",
      "\tDirect3D 関連の初期化を行います",
      "\tＤｉｒｅｃｔ３Ｄオブジェクトを取得します",
      "\tDirect3Dオブジェクトの作成に失敗しました",
      "ソフトウエアレンダリングモードに変更します",
      "DirectDraw 関連の初期化を行います",
      "\t\tPrimaryBuffer : SYSTEMMEMORY( MEMIMG ) BaskBuffer : SYSTEMMEMORY( MEMIMG ) ",
      "\tグラフィック管理系の初期化を行います",
      "\t\t３Ｄグラフィック描画機能は使用しません",
      "DirectDraw 関連の初期化は正常に終了しました",
  };
  size_t at = 0;
  for (const std::string& line : lines) {
    if (at < expected.size() && line.find(expected[at]) != std::string::npos) ++at;
  }
  EXPECT_EQ(at, expected.size()) << "missing from the log in order: " << (at < expected.size() ? expected[at] : "");
}

}  // namespace
