#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/engine/events/ScreenFixture.h"

namespace {

using Tone = std::array<int16_t, 3>;

Tone CurrentTone() { return {RootRunner.currentTone[0], RootRunner.currentTone[1], RootRunner.currentTone[2]}; }

uint32_t Red(uint32_t rgb) { return rgb >> 16; }
uint32_t Blue(uint32_t rgb) { return rgb & 0xFF; }

class ScreenEffectsTest : public ScreenTest {};

TEST_F(ScreenEffectsTest, ToneMovesFromStartToTargetByTheFrameStep) {
  struct Case {
    uint8_t framesPerSecond;
    int32_t frames;
    std::vector<Tone> shown;  // after each update until the change ends
  } cases[] = {
      {60, 0, {{100, 0, -60}, {-255, 0, 0}}},
      {60, 3, {{100, 0, -60}, {11, 0, -45}, {-78, 0, -30}, {-167, 0, -15}, {-255, 0, 0}}},
      {30, 3, {{100, 0, -60}, {-78, 0, -30}, {-255, 0, 0}}},
      {20, 3, {{100, 0, -60}, {-167, 0, -15}, {-255, 0, 0}}},
      // A total of 0 frames: once, straight to the target.
      {60, -1, {{-255, 0, 0}}},
  };
  for (const Case& c : cases) {
    GameInformation.settingBytes[GameInfo::kFramesPerSecond] = c.framesPerSecond;
    RootRunner = RootEventRunner();
    RootRunner.currentTone[0] = 100;
    RootRunner.currentTone[2] = -60;
    RootRunner.SetToneTarget(-255, 0, 0, c.frames);
    std::vector<Tone> shown;
    for (int frame = 0; frame < 10 && RootRunner.toneCounter >= 0; ++frame) {
      RootRunner.UpdateTone();
      shown.push_back(CurrentTone());
    }
    EXPECT_EQ(shown, c.shown) << int{c.framesPerSecond} << " " << c.frames;
    EXPECT_EQ(RootRunner.toneCounter, -1);
  }
}

TEST_F(ScreenEffectsTest, TotalsOfZeroOrLessFromASaveCountAsOne) {
  // A saved game may bring any counter and total.
  for (int16_t total : {0, -1, -300}) {
    RootRunner = RootEventRunner();
    RootRunner.startTone[0] = 10;
    RootRunner.targetTone[0] = 20;
    RootRunner.toneCounter = 2;
    RootRunner.toneTotal = total;
    RootRunner.flashColor[1] = 255;
    RootRunner.flashCounter = 3;
    RootRunner.flashTotal = total;
    RootRunner.UpdateTone();
    EXPECT_EQ(RootRunner.currentTone[0], 20 + (10 - 20) * 2) << total;
    EXPECT_EQ(RootRunner.flashCounter, 2);
    FillScreen(0x000000);
    RootRunner.DrawFlash();
    EXPECT_EQ(BackPixel(100, 100), 0x00FF00u) << "a full flash: " << total;
  }
}

TEST_F(ScreenEffectsTest, TintDarkensBeforeAndAddsAfter) {
  const int grey = SolidGraphic(640, 480, 0x646464);
  struct Case {
    Tone tone;
    uint32_t before;  // the grey drawn after the before phase
    uint32_t after;   // then the after phase over it
  } cases[] = {
      {{-255, 0, 0}, 0x006464, 0x006464},
      {{50, -20, 0}, 0x645C64, 0x965C64},
      {{10, 10, 10}, 0x646464, 0x6E6E6E},  // all positive: the brightness stays
      {{0, 0, 0}, 0x646464, 0x646464},
  };
  for (const Case& c : cases) {
    for (size_t i = 0; i < 3; ++i) RootRunner.currentTone[i] = c.tone[i];
    SetDrawBrightness(255, 255, 255);
    RootRunner.DrawTint(RootEventRunner::TintPhase::kBefore);
    SetBlendMode(0, 255);
    DrawGraphicAt(0, 0, grey, 0);
    EXPECT_EQ(BackPixel(5, 5), c.before) << c.tone[0] << " " << c.tone[1];
    RootRunner.DrawTint(RootEventRunner::TintPhase::kAfter);
    EXPECT_EQ(BackPixel(5, 5), c.after) << c.tone[0] << " " << c.tone[1];
    RootRunner.DrawTint(RootEventRunner::TintPhase::kReset);
    SetBlendMode(0, 255);
    DrawGraphicAt(0, 0, grey, 0);
    EXPECT_EQ(BackPixel(5, 5), 0x646464u) << "reset gives the brightness back";
  }
}

TEST_F(ScreenEffectsTest, FlashFadesWithItsCounter) {
  RootRunner.SetFlash(255, 255, 255, 30);
  EXPECT_EQ(RootRunner.flashCounter, 31);
  std::vector<uint32_t> reds;
  int drawn = 0;
  for (int frame = 0; frame < 40; ++frame) {
    RootRunner.UpdateTone();
    FillScreen(0x000000);
    RootRunner.DrawFlash();
    if (BackPixel(320, 240) != 0) ++drawn;
    reds.push_back(Red(BackPixel(320, 240)));
  }
  EXPECT_EQ(drawn, 30);
  EXPECT_GT(reds[0], 240u);
  for (size_t i = 1; i < reds.size(); ++i) EXPECT_LE(reds[i], reds[i - 1]) << i;
  EXPECT_EQ(RootRunner.flashCounter, 0);
}

TEST_F(ScreenEffectsTest, APlainTransitionFadesTheCapturedPictureOut) {
  FillScreen(0xFF0000);
  ASSERT_TRUE(SystemStateHub.FreezeScreen());
  EXPECT_EQ(SystemStateHub.screenFrozen, 1);
  SystemStateHub.transitionTotal = 4;
  SystemStateHub.transitionWait = 1;
  ASSERT_TRUE(SystemStateHub.StartTransition());
  EXPECT_EQ(SystemStateHub.screenFrozen, 0);
  EXPECT_EQ(SystemStateHub.transitionCounter, 4);
  EXPECT_FALSE(SystemStateHub.StartTransition()) << "one runs";
  EXPECT_FALSE(SystemStateHub.FreezeScreen());

  std::vector<uint32_t> reds;
  for (int frame = 0; frame < 8 && SystemStateHub.transitionActive; ++frame) {
    FillScreen(0x0000FF);  // the live picture
    SystemStateHub.DrawTransition();
    reds.push_back(Red(BackPixel(320, 240)));
    SystemStateHub.CountDownTransition();
  }
  ASSERT_EQ(reds.size(), 6u) << "counters 4 to 0 draw, -1 ends";
  EXPECT_EQ(reds[0], 0xFFu);
  for (size_t i = 1; i < 5; ++i) EXPECT_LT(reds[i], reds[i - 1]);
  EXPECT_EQ(reds[4], 0u);
  EXPECT_EQ(Blue(BackPixel(320, 240)), 0xFFu) << "nothing drawn as it ends";
  EXPECT_EQ(SystemStateHub.transitionWait, 0);

  // Idle, the counter keeps falling to -10; a start sets it to the total.
  for (int frame = 0; frame < 20; ++frame) SystemStateHub.CountDownTransition();
  EXPECT_EQ(SystemStateHub.transitionCounter, -10);
  GameInformation.settingBytes[GameInfo::kFramesPerSecond] = 20;
  ASSERT_TRUE(SystemStateHub.StartTransition());
  EXPECT_EQ(SystemStateHub.transitionCounter, 4);
  SystemStateHub.CountDownTransition();
  EXPECT_EQ(SystemStateHub.transitionCounter, 1) << "by the frame step";
}

TEST_F(ScreenEffectsTest, ATransitionOfNoFramesIsNeverDrawn) {
  FillScreen(0xFF0000);
  SystemStateHub.transitionTotal = 0;
  ASSERT_TRUE(SystemStateHub.StartTransition());
  FillScreen(0x0000FF);
  SystemStateHub.DrawTransition();
  EXPECT_EQ(BackPixel(320, 240), 0x0000FFu);
  EXPECT_EQ(SystemStateHub.transitionActive, 0);
  // Nor when the counter was left below 0.
  SystemStateHub.transitionTotal = 5;
  ASSERT_TRUE(SystemStateHub.StartTransition());
  SystemStateHub.transitionCounter = -1;
  SystemStateHub.DrawTransition();
  EXPECT_EQ(BackPixel(320, 240), 0x0000FFu);
  EXPECT_EQ(SystemStateHub.transitionActive, 0);
}

TEST_F(ScreenEffectsTest, ATransitionThroughItsImageUncoversByTheMask) {
  WriteHalfMask("mask.bmp");
  SystemStateHub.transitionImage = LoadGraphicFileForced("mask.bmp");
  ASSERT_GT(SystemStateHub.transitionImage, 0);
  SystemStateHub.plainFade = 0;

  FillScreen(0xFF0000);
  SystemStateHub.transitionTotal = 2;
  ASSERT_TRUE(SystemStateHub.StartTransition());
  std::vector<std::pair<uint32_t, uint32_t>> halves;  // left, right
  while (SystemStateHub.transitionActive) {
    FillScreen(0x0000FF);
    SystemStateHub.DrawTransition();
    halves.emplace_back(BackPixel(100, 240), BackPixel(540, 240));
    SystemStateHub.CountDownTransition();
  }
  // Red is the captured picture, blue the live one.
  auto redOrBlue = [](uint32_t rgb) {
    if (Red(rgb) > 0xF0 && Blue(rgb) == 0) return 'r';
    return Blue(rgb) > 0xF0 && Red(rgb) == 0 ? 'b' : '?';
  };
  std::string shown;
  for (const auto& [left, right] : halves) shown += std::string{redOrBlue(left), redOrBlue(right), ' '};
  EXPECT_EQ(shown, "rr br bb bb ") << "captured, the dark half live, all live, ended";
}

TEST_F(ScreenEffectsTest, TheFrozenMapStandsInForTheMap) {
  FillScreen(0x123456);
  CaptureScreenToGraphic(0, 0, 640, 480, SystemStateHub.frozenMapGraphic);
  FillScreen(0x000000);
  SetBlendMode(2, 255);
  SystemStateHub.DrawFrozenMap();
  EXPECT_EQ(BackPixel(639, 479), 0x123456u) << "drawn plain, whatever the mode before";
}

TEST_F(ScreenEffectsTest, AFreshHubTakesTheOldOnesGraphicsAway) {
  const int before = GetGraphicCount();
  SystemStateHub.transitionImage = SolidGraphic(8, 8, 0xFFFFFF);
  SystemStateHub.gameState = 0;
  SystemStateHub.screenFrozen = 1;
  const int32_t oldCaptured = SystemStateHub.capturedScreen;
  ResetSystemStateHub();
  EXPECT_EQ(GetGraphicCount(), before);
  EXPECT_NE(SystemStateHub.capturedScreen, oldCaptured);
  int w = 0;
  int h = 0;
  ASSERT_EQ(GetGraphicSize(SystemStateHub.frozenMapGraphic, &w, &h), 0);
  EXPECT_EQ(w * 1000 + h, 640480);
  EXPECT_EQ(SystemStateHub.transitionImage, 0);
  EXPECT_EQ(SystemStateHub.screenFrozen, 0);
  EXPECT_EQ(GetGraphicSize(oldCaptured, &w, &h), -1);

  // After a load every graphic went away: both are made again.
  DeleteAllGraphics(0);
  SystemStateHub.RecreateTransitionSurfaces();
  EXPECT_EQ(GetGraphicSize(SystemStateHub.capturedScreen, &w, &h), 0);
  EXPECT_EQ(GetGraphicCount(), 2);
}

TEST_F(ScreenEffectsTest, ResetClearsTheWindowsAndWaiters) {
  SystemState& hub = SystemStateHub;
  hub.pendingMessageText = "m";
  hub.SetMessageWaiter(1, 7);
  hub.SetChoiceWaiter(3, 7);
  hub.releasedMessageWaiter = 7;
  hub.choiceCount = 2;
  hub.cancelChoice = 1;
  hub.reservedCommonEvent = 4;
  hub.windowOpen = 1;
  hub.lastChoiceResult = 2;
  hub.waitForScroll = 1;
  hub.closeChoiceRequest = 1;
  hub.transitionTotal = 9;
  hub.Reset();
  SystemState fresh;
  fresh.capturedScreen = hub.capturedScreen;
  fresh.frozenMapGraphic = hub.frozenMapGraphic;
  fresh.transitionTotal = 9;
  EXPECT_EQ(hub.pendingMessageText, fresh.pendingMessageText);
  EXPECT_EQ(hub.messageWaiterMode, -1);
  EXPECT_EQ(hub.messageWaiter, 0u);
  EXPECT_EQ(hub.choiceWaiterLevel, -1);
  EXPECT_EQ(hub.releasedMessageWaiter, 0u);
  EXPECT_EQ(hub.reservedCommonEvent, -1);
  EXPECT_EQ(hub.windowOpen, 0);
  EXPECT_EQ(hub.lastChoiceResult, -1);
  EXPECT_EQ(hub.waitForScroll + hub.closeChoiceRequest + hub.choiceCount + hub.cancelChoice, 0);
  EXPECT_EQ(hub.transitionTotal, 9) << "not a field of the reset";
}

}  // namespace
