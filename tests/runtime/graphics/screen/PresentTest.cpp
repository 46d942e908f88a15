#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/host/system/Clock.h"
#include "runtime/platform/window/WindowProcedure.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

using PresentTest = GraphicsFixture;

// A back screen with a pattern that shows every pixel's place.
void DrawPattern() {
  SetDrawTarget(kBackScreen);
  GraphImage image = {};
  ASSERT_EQ(CreateXrgbGraphImage(640, 480, &image), 0);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) SetGraphImagePixel(&image, x, y, x & 0xFF, y & 0xFF, (x ^ y) & 0xFF, 255);
  }
  const int g = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  ASSERT_EQ(DrawGraphicAt(0, 0, g, 0), 0);
  DeleteGraphic(g);
}

uint32_t Pattern(int x, int y) {
  return static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x ^ y) & 0xFF));
}

TEST_F(PresentTest, APresentShowsTheBackImage) {
  Start(32);
  DrawPattern();
  const int presents = presenter.presents;
  EXPECT_EQ(FlipScreen(), 0);
  EXPECT_EQ(presenter.presents, presents + 1);
  EXPECT_EQ(presenter.destWidth, 640);
  EXPECT_EQ(presenter.destHeight, 480);
  for (int y = 0; y < 480; y += 7) {
    for (int x = 0; x < 640; x += 5) ASSERT_EQ(presenter.WindowPixel(x, y), Pattern(x, y)) << x << "," << y;
  }
  EXPECT_EQ(gScreen.presented, 1);
}

TEST_F(PresentTest, AtScaleTwoEachPixelBecomesTwoByTwo) {
  SetWindowScale(2.0);
  Start(32);
  DrawPattern();
  EXPECT_EQ(PresentScreen(), 0);
  EXPECT_EQ(presenter.destWidth, 1280);
  EXPECT_EQ(presenter.destHeight, 960);
  for (int y = 0; y < 960; y += 3) {
    for (int x = 0; x < 1280; x += 7) ASSERT_EQ(presenter.WindowPixel(x, y), Pattern(x / 2, y / 2)) << x << "," << y;
  }
}

TEST_F(PresentTest, PresentingTheFrontScreenOnlyWaitsForTheBlank) {
  Start(32);
  SetDrawTarget(kFrontScreen);
  const int presents = presenter.presents;
  const uint32_t before = HostTickMs();
  EXPECT_EQ(FlipScreen(), 0);
  EXPECT_EQ(presenter.presents, presents);
  EXPECT_LE(HostTickMs() - before, 40u);
}

TEST_F(PresentTest, PresentsArePacedByTheBlankUnlessVsyncIsOff) {
  Start(32);
  SetDrawTarget(kBackScreen);
  // Each frame's work takes 2 ms; ten paced presents then take ten frames
  // of 60 Hz.
  clock.AdvanceOnEveryTickRead(0);
  uint32_t before = HostTickMs();
  for (int i = 0; i < 10; ++i) {
    clock.AdvanceMs(2);
    PresentScreen();
  }
  EXPECT_GE(HostTickMs() - before, 150u);
  EXPECT_LE(HostTickMs() - before, 180u);
  SetWaitVsync(0);
  before = HostTickMs();
  for (int i = 0; i < 10; ++i) {
    clock.AdvanceMs(2);
    PresentScreen();
  }
  EXPECT_EQ(HostTickMs() - before, 20u);
}

TEST_F(PresentTest, WaitingForTheBlankEndsWhenTheWindowIsGone) {
  Start(32);
  clock.AdvanceOnEveryTickRead(0);
  events.Push(HostMessageId::Close);
  EXPECT_EQ(WaitVerticalBlank(100), -1);
  // It stopped at the first pump that saw the end, long before 100 frames.
  EXPECT_EQ(IsEndRequested(), 1);
}

TEST_F(PresentTest, APaintPresentsTheBackScreenWithoutWaiting) {
  Start(32);
  SetDrawTarget(kBackScreen);
  DrawPattern();
  clock.AdvanceOnEveryTickRead(0);
  const uint32_t before = HostTickMs();
  const int presents = presenter.presents;
  HostMessage paint;
  paint.id = HostMessageId::Paint;
  MainWindowProc(paint);
  EXPECT_EQ(presenter.presents, presents + 1);
  EXPECT_EQ(HostTickMs(), before);
  EXPECT_EQ(GetWaitVsync(), 1);
}

int gRestores = 0;
void CountRestore() { ++gRestores; }

TEST_F(PresentTest, FullScreenDeactivationAndReactivationRunTheRestoreOnce) {
  gPlatform.windowMode = 0;
  Start(32);
  SetGraphicsRestoreHandler(CountRestore);
  gRestores = 0;
  const int g = CreateBlankGraphic(8, 8, 1);
  ASSERT_EQ(IsFullScreenModeSet(), 1);
  HostMessage activate;
  activate.id = HostMessageId::Activate;
  activate.p1 = 0;
  MainWindowProc(activate);
  EXPECT_EQ(IsAppActive(), 0);
  EXPECT_EQ(gScreen.displayObject, 0);
  EXPECT_EQ(gRestores, 0);
  activate.p1 = 1;
  MainWindowProc(activate);
  EXPECT_EQ(gRestores, 1);
  EXPECT_EQ(gScreen.displayObject, 1);
  EXPECT_EQ(IsFullScreenModeSet(), 1);
  // Graphics and screens stay usable.
  EXPECT_GE(GetGraphicRecord(g) ? 1 : 0, 1);
  SetDrawTarget(kBackScreen);
  EXPECT_EQ(DrawGraphicAt(0, 0, g, 0), 0);
  EXPECT_EQ(FlipScreen(), 0);
}

TEST_F(PresentTest, AWorkableDisplayChangeRestores) {
  Start(32);
  SetGraphicsRestoreHandler(CountRestore);
  gRestores = 0;
  events.Push(HostMessageId::DisplayChange, 32, 1920, 1080);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(gRestores, 1);
  EXPECT_EQ(IsWindowClosing(), 0);
  // The same mode again changes nothing.
  int w = 0;
  int h = 0;
  int d = 0;
  GetScreenMetrics(&w, &h, &d);
  events.Push(HostMessageId::DisplayChange, d, w, h);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(gRestores, 1);
}

}  // namespace
