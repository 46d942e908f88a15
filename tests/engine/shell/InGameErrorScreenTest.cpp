#include "engine/shell/InGameErrorScreen.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/engine/shell/ShellTestFixture.h"

namespace {

class InGameErrorScreenTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    SetDrawTarget(kBackScreen);
    // A wait that never ends is stopped by closing the window (a pass
    // takes some 16 ms): the game state then tells.
    const uint32_t deadline = GetTickMs() + 60000;
    clock.OnSleep([this, deadline](uint32_t now) {
      if (now > deadline && !closed_) {
        closed_ = true;
        events.Push(HostMessageId::Close);
      }
    });
  }

  // Calls act(pass) at the start of every pass of a wait (counted from 1
  // from this call on).
  void OnPass(std::function<void(int pass)> act) {
    // Keyboard reads of one pass of the screen's wait, in the mode now.
    int reads = 0;
    input.OnKeyboardRead([&reads](int) { ++reads; });
    UpdateLiveInput();
    readsPerPass_ = reads;
    ASSERT_GT(readsPerPass_, 0);
    reads_ = 0;
    act_ = std::move(act);
    input.OnKeyboardRead([this](int) {
      const int read = reads_++;
      if (read % readsPerPass_ != 0) return;
      const int pass = read / readsPerPass_ + 1;
      act_(pass);
    });
  }
  int Passes() const { return reads_ / readsPerPass_; }

  // A white picture, as the last drawn frame left it.
  void DrawWhiteFrame() {
    ClearDrawTarget();
    SetBlendMode(0, 255);
    DrawRectangle(0, 0, 640, 480, PackColor(255, 255, 255), 1);
  }

  int reads_ = 0;
  int readsPerPass_ = 1;
  std::function<void(int)> act_;
  bool closed_ = false;
};

TEST_F(InGameErrorScreenTest, ADecideHeldFromBeforeNeedsMoreThanTenPasses) {
  input.PressKey(kKeyReturn);
  UpdateInput();
  ASSERT_EQ(Input.buttonsHeld[kButtonDecide], 1);
  OnPass([](int) {});
  const ReplayLog recording = GameReplay;
  ShowInGameErrorScreen("held", "", "");
  EXPECT_EQ(Passes(), 11);
  EXPECT_EQ(SystemStateHub.gameState, 1);
  EXPECT_EQ(GameReplay, recording) << "a wait adds no frames to the recording";

  // The left button likewise.
  input.ReleaseAllKeys();
  input.SetMouseButtons(1);
  UpdateInput();
  OnPass([](int) {});
  ShowInGameErrorScreen("clicked", "", "");
  EXPECT_EQ(Passes(), 11);
  input.SetMouseButtons(0);
}

TEST_F(InGameErrorScreenTest, EmptyLinesStillShowTheBandAndWait) {
  DrawWhiteFrame();
  OnPass([this](int pass) {
    if (pass == 5) input.PressKey(kKeyReturn);
  });
  ShowInGameErrorScreen("", "", "");
  EXPECT_EQ(Passes(), 5);
  const uint32_t band = BackPixel(320, 240);
  EXPECT_NE(band, 0xFFFFFFu);
  EXPECT_GT((band >> 8) & 0xFF, band >> 16) << "a dark green band";
  EXPECT_LT(band >> 16, 0x40u);
  EXPECT_EQ(BackPixel(320, 191), 0xFFFFFFu);
  EXPECT_EQ(BackPixel(320, 288), 0xFFFFFFu);
  for (int x = 0; x < 200; ++x) ASSERT_EQ(BackPixel(x, 205), band) << "no text on the first line";

  // Its lines are drawn in white over the band.
  input.ReleaseAllKeys();
  UpdateInput();
  DrawWhiteFrame();
  OnPass([this](int pass) {
    if (pass == 2) input.PressKey(kKeyReturn);
  });
  ShowInGameErrorScreen("ERROR", "", "");
  bool text = false;
  for (int x = 10; x < 80 && !text; ++x) {
    for (int y = 200; y < 214 && !text; ++y) text = BackPixel(x, y) != band;
  }
  EXPECT_TRUE(text);
}

TEST_F(InGameErrorScreenTest, ErrorsInARowEachWait) {
  // The key that acknowledged the first is still down when the second
  // starts: it is no new press there.
  OnPass([this](int pass) {
    if (pass == 3) input.PressKey(kKeyReturn);
    if (pass == 6) input.ReleaseAllKeys();
    if (pass == 8) input.PressKey(kKeyReturn);
  });
  ShowInGameErrorScreen("first", "", "");
  const int first = Passes();
  ShowInGameErrorScreen("second", "", "");
  EXPECT_EQ(first, 3);
  EXPECT_EQ(Passes(), 8);
  EXPECT_EQ(SystemStateHub.gameState, 1);
}

TEST_F(InGameErrorScreenTest, ClosingTheWindowEndsTheGame) {
  OnPass([](int) {});
  events.Push(HostMessageId::Close);
  ShowInGameErrorScreen("closed", "", "");
  EXPECT_EQ(SystemStateHub.gameState, -1);
  EXPECT_EQ(Passes(), 0);
  // Later errors of the same frame do not wait on a window that is gone.
  ShowInGameErrorScreen("again", "", "");
  EXPECT_EQ(SystemStateHub.gameState, -1);
}

TEST_F(InGameErrorScreenTest, TheEndOfAReplayShowsOneScreenAndReadsThePlayer) {
  InstallInGameErrorScreen();
  static int screens;
  screens = 0;
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    ++screens;
    ShowInGameErrorScreen(a, b, c);
  });
  GameReplay = ReplayLog::Blank();
  GameReplay.AddSeedRecord(1);
  GameReplay.codes.push_back(2);
  GameReplay.values.push_back(0x10);  // decide
  ReplayPlaying = true;
  OnPass([this](int pass) {
    if (pass == 5) input.PressKey(kKeyReturn);
  });
  for (int frame = 0; frame < 6; ++frame) UpdateInput();
  EXPECT_EQ(screens, 1);
  EXPECT_EQ(SystemStateHub.gameState, 1) << "the player's decide ends it";
  EXPECT_TRUE(ReplayEnded);
  EXPECT_EQ(GameReplay.framesPlayed, 3);
  EXPECT_EQ(Input.buttonsHeld[kButtonDecide], 0) << "the frame that ended gives no input";
}

TEST_F(InGameErrorScreenTest, AFailedSeedCheckShowsOnceAndPlaybackGoesOn) {
  static int screens;
  screens = 0;
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    ++screens;
    ShowInGameErrorScreen(a, b, c);
  });
  GameReplay = ReplayLog::Blank();
  for (int i = 0; i < 10; ++i) GameReplay.AddSeedRecord(1);
  GameReplay.codes.push_back(ReplayLog::kSeedCheck);
  GameReplay.values.push_back(12345);
  GameReplay.codes.push_back(3);
  GameReplay.values.push_back(0x01);  // up
  ReplayPlaying = true;
  OnPass([this](int pass) {
    if (pass == 3) input.PressKey(kKeyReturn);
  });
  for (int frame = 0; frame < 3; ++frame) {
    UpdateInput();
    EXPECT_EQ(Input.directionKeys[kUp], 1);
  }
  EXPECT_EQ(screens, 1);
  EXPECT_EQ(SystemStateHub.gameState, 1);
  EXPECT_FALSE(ReplayEnded);
  input.ReleaseAllKeys();
}

TEST_F(InGameErrorScreenTest, WithoutAWindowTheLinesGoToTheLog) {
  OnPass([](int) {});
  LayerEnd();
  ShowInGameErrorScreen("no window", "", "");
  EXPECT_EQ(Passes(), 0);
  EXPECT_EQ(SystemStateHub.gameState, 1);
}

}  // namespace
