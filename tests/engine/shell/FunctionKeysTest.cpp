#include "engine/shell/FunctionKeys.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/events/LiveGameHooks.h"
#include "engine/shell/FrameSkip.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "tests/engine/shell/ShellTestFixture.h"
#include "tests/support/TestDirectory.h"

namespace {

class FunctionKeysTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Settings = PlayerSettings();
    ResetFunctionKeyState();
  }
  void TearDown() override {
    input.OnKeyboardRead(nullptr);
    SetLiveGameHooks(nullptr);
    Settings = PlayerSettings();
    ResetFunctionKeyState();
    ShellTest::TearDown();
  }

  // One pass of the frame loop's key work with exactly these keys held.
  void Press(int key) {
    input.ReleaseAllKeys();
    input.PressKey(key);
    UpdateInput();
    FunctionKeys();
    input.ReleaseAllKeys();
    UpdateInput();
  }

  static double FittedScale() {
    int width = 0, height = 0;
    GetDesktopMetrics(&width, &height, nullptr);
    const double sx = width / 640.0, sy = height / 480.0;
    return (sy + 0.1 > sx ? sx : sy) - 0.04;
  }
};

constexpr int kKeyF4 = kKeyF1 + 3, kKeyF5 = kKeyF1 + 4, kKeyF8 = kKeyF1 + 7;

TEST_F(FunctionKeysTest, F5CyclesTheFrameSkipFromTheFirstModeWhateverTheSettingsFileSaid) {
  for (const int32_t fromFile : {0, 2}) {
    ResetFunctionKeyState();
    SetFrameSkip(fromFile);
    for (const int32_t expected : {1, 2, 0, 1}) {
      Press(kKeyF5);
      EXPECT_EQ(RootRunner.frameSkipMode, expected) << "file " << fromFile;
      EXPECT_EQ(Settings.frameSkip, expected);
    }
  }
  EXPECT_FLOAT_EQ(RootRunner.drawCreditPerFrame, 0.5f);
}

TEST_F(FunctionKeysTest, F8TogglesTheDebugLinesAndAppliesTheF5ModeAgain) {
  Press(kKeyF5);
  Press(kKeyF5);
  ASSERT_EQ(RootRunner.frameSkipMode, 2);
  // A frame-skip change of the game's own: F8 puts the F5 mode back.
  SetFrameSkip(0);
  Press(kKeyF8);
  EXPECT_EQ(SystemStateHub.debugLineFlag, 1);
  EXPECT_EQ(RootRunner.frameSkipMode, 2);
  EXPECT_FLOAT_EQ(RootRunner.drawCreditPerFrame, 0.34f);
  Press(kKeyF8);
  EXPECT_EQ(SystemStateHub.debugLineFlag, 0);
}

TEST_F(FunctionKeysTest, F4CyclesTheWindowSizeAndSoftwareModeSkipsTheHalfSize) {
  struct Case {
    int32_t softMode;
    double scales[4];
  } cases[] = {
      {0, {FittedScale(), 0.5, 1.0, FittedScale()}},
      {1, {FittedScale(), 1.0, FittedScale(), 1.0}},
  };
  for (const Case& c : cases) {
    ResetFunctionKeyState();
    Settings.softMode = c.softMode;
    for (const double scale : c.scales) {
      Press(kKeyF4);
      EXPECT_DOUBLE_EQ(GetWindowScale(), scale) << "soft " << c.softMode;
    }
  }
  RootRunner.mouseCursorShown = 0;
  Press(kKeyF4);
  EXPECT_EQ(IsMouseCursorShown(), 0) << "the runner's cursor setting is applied again";
}

TEST_F(FunctionKeysTest, F12ReturnsToTheTitle) {
  Press(kKeyF12);
  EXPECT_EQ(SystemStateHub.gameState, 0);
}

TEST_F(FunctionKeysTest, PlayTimeStepsOncePerThousandMillisecondsWithoutDrifting) {
  clock.AdvanceOnEveryTickRead(0);
  clock.SetMs(5000);
  RootRunner.playSeconds = 7;
  FrameCounter(true);
  // Passes of 17 ms for 3.4 s: three whole seconds, however the passes fall.
  for (int pass = 1; pass <= 200; ++pass) {
    clock.AdvanceMs(17);
    FrameCounter(true);
  }
  EXPECT_EQ(RootRunner.playSeconds, 10);
  EXPECT_EQ(RootRunner.millisecondsOfSecond, 400);
  // 30 passes counted in each half second: 60 frames a second.
  EXPECT_EQ(RootRunner.framesPerSecond, 60);
  clock.AdvanceMs(599);
  EXPECT_EQ(FrameCounter(false), 60) << "reading does not count";
  EXPECT_EQ(RootRunner.playSeconds, 10);
  EXPECT_EQ(RootRunner.millisecondsOfSecond, 999);
  clock.AdvanceMs(1);
  FrameCounter(false);
  EXPECT_EQ(RootRunner.playSeconds, 11);
  EXPECT_EQ(RootRunner.millisecondsOfSecond, 0);
}

TEST_F(FunctionKeysTest, PrintScreenSavesTheBackScreenAsAPngNamedByTheLocalTime) {
  LiveGameHooks live = CurrentLiveGameHooks();
  live.localTime = [](std::tm& out) {
    out = std::tm{};
    out.tm_year = 2026 - 1900;
    out.tm_mon = 11;
    out.tm_mday = 9;
    out.tm_hour = 6;
    out.tm_min = 5;
    out.tm_sec = 4;
  };
  SetLiveGameHooks(&live);
  SetDrawTarget(kBackScreen);
  MemImg& back = gScreen.back;
  for (int y = 0; y < back.height; ++y) {
    for (int x = 0; x < back.width; ++x) {
      StorePixelBytes(back.pixels + static_cast<size_t>(y) * back.store->pitch + static_cast<size_t>(x) * 4, 4,
                      (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) | 0x5A);
    }
  }
  // The notice waits for a key: Print Screen is let go, then Enter pressed.
  int firstRead = -1;
  input.OnKeyboardRead([this, &firstRead](int reads) {
    if (firstRead < 0) firstRead = reads;
    if (reads - firstRead == 3) input.ReleaseAllKeys();
    if (reads - firstRead == 6) input.PressKey(kKeyReturn);
  });
  input.PressKey(kKeyPrintScreen);
  UpdateInput();
  FunctionKeys();
  input.OnKeyboardRead(nullptr);

  const std::string path = dir.File("ScreenShot_2026_1209_06_05_04.png");
  GraphImage image = {};
  ASSERT_EQ(LoadImageFile(path.c_str(), nullptr, 0, 0, 0, &image), 0) << path;
  ASSERT_EQ(image.width, 640);
  ASSERT_EQ(image.height, 480);
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const uint32_t expected = (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) | 0x5A;
      differing += (GetGraphImagePixelPacked(image, x, y) & 0xFFFFFF) != expected;
    }
  }
  EXPECT_EQ(differing, 0);
  FreeGraphImage(&image);
  // The notice is drawn over the screen after the file is written.
  EXPECT_NE(BackPixel(5, 200), (5u << 16) | (200u << 8) | 0x5A);

  // With ScreenShotFlag 0 Print Screen does nothing.
  ASSERT_EQ(std::remove(path.c_str()), 0);
  Settings.screenShot = 0;
  input.ReleaseAllKeys();
  UpdateInput();
  input.PressKey(kKeyPrintScreen);
  UpdateInput();
  FunctionKeys();
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
