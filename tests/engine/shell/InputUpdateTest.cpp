#include "engine/shell/InputUpdate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/events/variables/KeyConfig.h"
#include "tests/engine/shell/ShellTestFixture.h"

namespace {

class InputUpdateTest : public ShellTest {
 protected:
  void Hold(std::initializer_list<int> keys) {
    input.ReleaseAllKeys();
    for (int key : keys) input.PressKey(key);
    UpdateInput();
  }
};

TEST_F(InputUpdateTest, TheLatestPressWinsOnEachAxis) {
  Hold({kKeyLeft});
  EXPECT_EQ(Input.direction4, 4);
  EXPECT_EQ(Input.pressedDirection, 4);
  Hold({kKeyLeft, kKeyRight});
  EXPECT_EQ(Input.direction4, 6) << "the newer press";
  EXPECT_EQ(Input.direction8, 6);
  EXPECT_EQ(Input.pressedDirection, 6);
  Hold({kKeyLeft, kKeyRight});
  EXPECT_EQ(Input.direction4, 6);
  EXPECT_EQ(Input.pressedDirection, 0);
  Hold({kKeyLeft});
  EXPECT_EQ(Input.direction4, 4) << "left is still held";
  EXPECT_EQ(Input.changedDirection8, 4);
  Hold({});
  EXPECT_EQ(Input.direction4, 0);
  EXPECT_EQ(Input.direction8, 0);

  // Keys pressed in one frame: each axis separately; on one axis the later
  // of the pair (down, right) wins.
  struct Case {
    std::vector<int> keys;
    int32_t direction4, direction8;
  } cases[] = {
      {{kKeyUp, kKeyLeft}, 8, 7},      {{kKeyUp, kKeyRight}, 8, 9},      {{kKeyDown, kKeyLeft}, 2, 1},
      {{kKeyDown, kKeyRight}, 2, 3},   {{kKeyUp, kKeyDown}, 2, 2},       {{kKeyLeft, kKeyRight}, 6, 6},
      {{kKeyNumpad8, kKeyNumpad4}, 8, 7}, {{kKeyNumpad2}, 2, 2},
  };
  for (const Case& c : cases) {
    input.ReleaseAllKeys();
    for (int key : c.keys) input.PressKey(key);
    UpdateInput();
    EXPECT_EQ(Input.direction4, c.direction4) << c.keys[0] << " " << c.keys.back();
    EXPECT_EQ(Input.direction8, c.direction8) << c.keys[0] << " " << c.keys.back();
    EXPECT_EQ(Input.direction8Repeat, c.direction8) << "a new direction";
    Hold({});
  }
}

TEST_F(InputUpdateTest, KeyRepeatCountsInFramesOfTheGamesRate) {
  struct Case {
    uint8_t framesPerSecond;
    int32_t delay, interval;
    std::vector<int> directionFrames;  // frames 1..30 holding down with a direction repeat
    std::vector<int> decideFrames;     // frames 1..30 holding Enter with a decide repeat
  } cases[] = {
      {60, 16, 5, {1, 16, 21, 26}, {16, 21, 26}},
      {30, 16, 5, {1, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30}, {8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30}},
      {20, 16, 5, {}, {}},  // every frame from 5: filled in below
      {60, 0, 0, {}, {}},   // every frame
  };
  for (int f = 1; f <= 30; ++f) {
    if (f == 1 || f >= 5) cases[2].directionFrames.push_back(f);
    if (f >= 5) cases[2].decideFrames.push_back(f);
    cases[3].directionFrames.push_back(f);
    cases[3].decideFrames.push_back(f);
  }
  for (const Case& c : cases) {
    GameInformation.settingBytes[GameInfo::kFramesPerSecond] = c.framesPerSecond;
    RootRunner.inputRepeat[0] = c.delay;
    RootRunner.inputRepeat[1] = c.interval;
    std::vector<int> direction, decide;
    for (int f = 1; f <= 30; ++f) {
      Hold({kKeyDown, kKeyReturn});
      if (Input.direction4Repeat == 2) direction.push_back(f);
      if (Input.decideRepeat) decide.push_back(f);
    }
    EXPECT_EQ(direction, c.directionFrames) << int{c.framesPerSecond} << " " << c.delay;
    EXPECT_EQ(decide, c.decideFrames) << int{c.framesPerSecond} << " " << c.delay;
    Hold({});
  }
}

TEST_F(InputUpdateTest, ButtonsWithTheirConfiguredAndFixedKeys) {
  struct Case {
    int key;
    int button;
  } cases[] = {
      {kKeyZ, kButtonDecide},       {kKeyReturn, kButtonDecide}, {kKeySpace, kButtonDecide},
      {kKeyX, kButtonCancel},       {kKeyEscape, kButtonCancel}, {kKeyNumpad0, kButtonCancel},
      {kKeyBack, kButtonCancel},    {kKeyInsert, kButtonCancel}, {kKeyC, kButtonSub},
      {kKeyLeftShift, kButtonSub},  {kKeyRightShift, kButtonSub},
  };
  for (const Case& c : cases) {
    Hold({c.key});
    for (int b = 0; b < 4; ++b) {
      EXPECT_EQ(Input.buttonsHeld[static_cast<size_t>(b)], b == c.button) << c.key << " " << b;
      EXPECT_EQ(Input.buttonsPressed[static_cast<size_t>(b)], b == c.button) << c.key << " " << b;
    }
    Hold({c.key});
    EXPECT_EQ(Input.buttonsPressed[static_cast<size_t>(c.button)], 0) << "held, not pressed again";
    Hold({});
  }

  // A key moved to another button leaves its old one.
  SetKeyConfig(100 + kKeyA, kCancelButton, 1);
  Hold({kKeyA});
  EXPECT_EQ(Input.buttonsHeld[kButtonCancel], 1);
  Hold({kKeyX});
  EXPECT_EQ(Input.buttonsHeld[kButtonCancel], 0);
}

TEST_F(InputUpdateTest, ConfiguredCodesOutsideTheKeyboardReadNothing) {
  // Decide repeating every frame puts 1s in the record right after the
  // keyboard state, where code 356 would read.
  RootRunner.inputRepeat[0] = 0;
  RootRunner.inputRepeat[1] = 0;
  for (int32_t code : {0, 99, 356, 999, -1000, INT32_MAX}) {
    SetKeyConfig(code, kCancelButton, 1);
    SetKeyConfig(code, kSubButton, 1);
    ASSERT_EQ(GetKeyConfig(kSubButton, 1), code);
    for (int frame = 0; frame < 4; ++frame) {
      Hold({kKeyReturn, kKeyA});
      EXPECT_EQ(Input.buttonsHeld[kButtonDecide], 1);
      EXPECT_EQ(Input.buttonsHeld[kButtonCancel], 0) << code;
      EXPECT_EQ(Input.buttonsHeld[kButtonSub], 0) << code;
    }
    Hold({});
  }
}

TEST_F(InputUpdateTest, MousePositionIsClampedAndScaled) {
  struct Case {
    int32_t tileUnit;
    double windowScale;
    int x, y;
    int32_t mouseX, mouseY;
  } cases[] = {
      {32, 1.0, 700, -50, 640, -10}, {32, 1.0, 100, 200, 100, 200}, {32, 1.0, 0, 0, 0, 0},
      {32, 2.0, 100, 200, 51, 101},  {16, 1.0, 100, 51, 50, 26},     {16, 1.0, -30, 900, 0, 240},
  };
  for (const Case& c : cases) {
    TileUnit = c.tileUnit;
    ASSERT_EQ(SetWindowScale(c.windowScale), 0);
    MoveMouse(10, 10);
    UpdateInput();
    const int32_t fromX = Input.mouseX;
    const int32_t fromY = Input.mouseY;
    MoveMouse(c.x, c.y);
    UpdateInput();
    EXPECT_EQ(Input.mouseX, c.mouseX) << c.x << " " << c.windowScale;
    EXPECT_EQ(Input.mouseY, c.mouseY) << c.y << " " << c.windowScale;
    EXPECT_EQ(Input.mouseMoveX, c.mouseX - fromX);
    EXPECT_EQ(Input.mouseMoveY, c.mouseY - fromY);
  }
  SetWindowScale(1.0);

  input.SetMouseButtons(1 | 4);  // left and right
  UpdateInput();
  EXPECT_EQ(Input.mouseHeld, (std::array<uint8_t, 3>{1, 1, 0}));
  EXPECT_EQ(Input.mousePressed, (std::array<uint8_t, 3>{1, 1, 0}));
  UpdateInput();
  EXPECT_EQ(Input.mousePressed, (std::array<uint8_t, 3>{0, 0, 0}));
  input.SetMouseButtons(0);
}

TEST_F(InputUpdateTest, FunctionKeysAndModifiersHaveEdges) {
  struct Case {
    int key;
    size_t slot;
  } cases[] = {{kKeyF1 + 3, 0}, {kKeyF1 + 4, 1}, {kKeyF1 + 8, 2}, {kKeyF1 + 7, 3}, {kKeyF12, 4}, {kKeyPrintScreen, 5}};
  for (const Case& c : cases) {
    Hold({c.key});
    EXPECT_EQ(Input.functionKeys[c.slot], (std::array<uint8_t, 2>{1, 1})) << c.key;
    Hold({c.key});
    EXPECT_EQ(Input.functionKeys[c.slot], (std::array<uint8_t, 2>{1, 0})) << c.key;
    Hold({});
    EXPECT_EQ(Input.functionKeys[c.slot], (std::array<uint8_t, 2>{0, 0})) << c.key;
  }
  Hold({kKeyRightControl, kKeyLeftShift});
  EXPECT_EQ(Input.ctrlHeld + Input.ctrlPressed + Input.shiftHeld + Input.shiftPressed, 4);
  Hold({kKeyRightControl, kKeyLeftShift});
  EXPECT_EQ(Input.ctrlPressed + Input.shiftPressed, 0);
  Hold({});
}

TEST_F(InputUpdateTest, AnInactiveWindowGivesNoButtonsButTheKeyboardAndFunctionKeys) {
  events.Push(HostMessageId::ActivateApp, 0);
  PumpMessages();
  ASSERT_EQ(IsAppActive(), 0);
  input.SetMouseButtons(1);
  Hold({kKeyLeft, kKeyReturn, kKeyF12});
  EXPECT_EQ(Input.direction4, 0);
  EXPECT_EQ(Input.buttonsHeld[kButtonDecide], 0);
  EXPECT_EQ(Input.mouseHeld[0], 0);
  EXPECT_EQ(Input.keyboard[kKeyLeft], 1);
  EXPECT_EQ(Input.functionKeys[4], (std::array<uint8_t, 2>{1, 1}));

  events.Push(HostMessageId::ActivateApp, 1);
  PumpMessages();
  Hold({kKeyLeft, kKeyReturn, kKeyF12});
  EXPECT_EQ(Input.direction4, 4);
  EXPECT_EQ(Input.buttonsPressed[kButtonDecide], 1);
  EXPECT_EQ(Input.mousePressed[0], 1);
  input.SetMouseButtons(0);
}

// What the game sees of one frame.
struct GameView {
  std::array<uint8_t, 4> directionKeys, buttonsHeld, buttonsPressed;
  int32_t direction8, direction4Repeat;
  bool operator==(const GameView&) const = default;
};

GameView ViewOf(const InputState& in) {
  return {in.directionKeys, in.buttonsHeld, in.buttonsPressed, in.direction8, in.direction4Repeat};
}

TEST_F(InputUpdateTest, PlaybackGivesTheGameWhatWasRecorded) {
  const std::vector<std::vector<int>> script = {
      {kKeyRight}, {kKeyRight}, {kKeyRight, kKeyUp}, {kKeyZ}, {kKeyZ}, {}, {kKeyX, kKeyLeftShift},
      {kKeyDown, kKeyLeft}, {kKeyDown, kKeyLeft, kKeySpace}, {}, {}, {}};
  std::vector<GameView> recorded;
  for (const std::vector<int>& keys : script) {
    input.ReleaseAllKeys();
    for (int key : keys) input.PressKey(key);
    UpdateInput();
    recorded.push_back(ViewOf(Input));
  }
  GameReplay.FlushRun();

  static int endScreens;
  endScreens = 0;
  SetErrorScreenHandler([](const std::string& line1, const std::string&, const std::string&) {
    EXPECT_EQ(line1, "リプレイデータが終了しました");
    ++endScreens;
  });
  ReplayPlaying = true;
  // The player's own keys only steer the playback.
  input.ReleaseAllKeys();
  input.PressKey(kKeyLeft);
  input.PressKey(kKeyReturn);
  std::vector<GameView> played;
  for (size_t f = 0; f < script.size(); ++f) {
    UpdateInput();
    played.push_back(ViewOf(Input));
    EXPECT_EQ(Input.liveButtonsHeld[kButtonDecide], 1);
  }
  EXPECT_EQ(played, recorded);
  EXPECT_EQ(endScreens, 0);
  EXPECT_FALSE(ReplayEnded);

  UpdateInput();
  EXPECT_TRUE(ReplayEnded);
  EXPECT_EQ(ViewOf(Input).buttonsHeld, (std::array<uint8_t, 4>{}));
  for (int f = 0; f < 3; ++f) UpdateInput();
  EXPECT_EQ(endScreens, 1) << "an ended replay updates nothing";
  input.ReleaseAllKeys();
}

}  // namespace
