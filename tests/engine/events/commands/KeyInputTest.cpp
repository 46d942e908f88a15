#include <gtest/gtest.h>

#include <vector>

#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/services/InputState.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

constexpr int32_t kTarget = 2000000;
constexpr int32_t kAfter = 2000001;

int gPadBits = 0;
int FakePad(int) { return gPadBits; }

class KeyInputTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    Input = InputState();
    gPadBits = 0;
    SetPadBitsReader(FakePad);
  }
  void TearDown() override {
    SetPadBitsReader(nullptr);
    Input = InputState();
    InterpreterTest::TearDown();
  }

  // Key input, then a marker command that sets variable 1 to 1.
  void Start(int32_t flags, int32_t code = 0) {
    std::vector<int32_t> arguments = {123, kTarget, flags};
    if (flags & 0x1000) arguments.push_back(code);
    V(0) = -7;
    V(1) = 0;
    interpreter.StartOwnEvent(CommandListBuilder().Add(arguments).Variable(kAfter, 1, 0, 0, 0).Build(), -1, 0);
    interpreter.RunFrame();
  }
  static void Press(GameButton b) {
    Input.buttonsHeld[static_cast<size_t>(b)] = 1;
    Input.buttonsPressed[static_cast<size_t>(b)] = 1;
  }
  static void Hold(GameButton b) {
    Input.buttonsHeld[static_cast<size_t>(b)] = 1;
    Input.buttonsPressed[static_cast<size_t>(b)] = 0;
  }
};

TEST_F(KeyInputTest, BasicKeysWithoutWaitingInTheirOrder) {
  struct Case {
    int32_t flags;
    std::vector<GameButton> held;
    std::vector<Direction> directions;
    int32_t direction4, direction8;
    int32_t stored;
  } cases[] = {
      {0x70 | 2, {}, {}, 0, 0, 0},  // nothing pressed stores 0
      {0x10 | 2, {kButtonDecide}, {kRight}, 6, 6, 10},  // decide before the direction
      {0x10 | 0x20, {kButtonCancel, kButtonDecide}, {}, 0, 0, 10},
      {0x20 | 0x40, {kButtonSub, kButtonCancel}, {}, 0, 0, 11},
      {0x40, {kButtonSub}, {}, 0, 0, 12},
      {0x20, {kButtonDecide}, {}, 0, 0, 0},
      {1, {}, {kUp, kLeft}, 8, 7, 8},
      {2, {}, {kUp, kLeft}, 8, 7, 7},
      {3, {}, {kUp}, 8, 8, 8},
      {4, {}, {kUp}, 8, 8, 0},
      {5, {}, {kLeft}, 4, 4, 4},
      {6, {}, {kRight}, 6, 6, 6},
      {7, {}, {kUp, kDown}, 8, 8, 8},  // up wins over down
      {7, {}, {kDown}, 2, 2, 2},
      {8, {}, {kLeft, kRight}, 6, 6, 6},  // right wins over left
      {9, {}, {kLeft}, 4, 4, 0},
  };
  for (const Case& c : cases) {
    Input = InputState();
    for (GameButton b : c.held) Hold(b);
    for (Direction d : c.directions) Input.directionKeys[static_cast<size_t>(d)] = 1;
    Input.direction4 = c.direction4;
    Input.direction8 = c.direction8;
    Start(c.flags);
    EXPECT_EQ(V(0), c.stored) << "flags " << c.flags;
    EXPECT_EQ(V(1), 1) << "goes on in the same frame";
  }
}

TEST_F(KeyInputTest, WaitingTakesNewPressesOnly) {
  Hold(kButtonDecide);  // held at the start: does not count
  Start(0x80 | 0x10);
  EXPECT_EQ(V(0), -7);
  EXPECT_TRUE(interpreter.waitingForKeyInput);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  Press(kButtonDecide);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 10);
  EXPECT_EQ(V(1), 0);  // the next line runs in the next frame
  interpreter.RunFrame();
  EXPECT_EQ(V(1), 1);

  // Directions while waiting: a new press, or the key held on a repeat frame.
  Input = InputState();
  Start(0x80 | 3);
  Input.directionKeys[kUp] = 1;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  Input.direction4Repeat = 8;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 8);

  Input = InputState();
  Start(0x80 | 1);
  Input.direction4 = 4;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  Input.direction4Repeat = 4;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 4);
}

TEST_F(KeyInputTest, MouseButtonsAsDecideAndCancel) {
  struct Case {
    int32_t leftSwitch, rightSwitch;
    int32_t flags;
    size_t mouse;
    int32_t stored;
  } cases[] = {
      {1, 0, 0x10, 0, 10}, {0, 0, 0x10, 0, 0}, {0, 1, 0x20, 1, 11}, {0, 0, 0x20, 1, 0},
      {1, 1, 0x20, 0, 0},  // left is no cancel
      {1, 1, 0x40, 0, 0},  // and no sub
  };
  for (const Case& c : cases) {
    Input = InputState();
    RootRunner.keyInputValues[0] = c.leftSwitch;
    RootRunner.keyInputValues[1] = c.rightSwitch;
    Input.mouseHeld[c.mouse] = 1;
    Start(c.flags);
    EXPECT_EQ(V(0), c.stored) << c.flags << " " << c.mouse;
  }
  // Waiting: the mouse button counts when newly pressed.
  Input = InputState();
  RootRunner.keyInputValues[0] = 1;
  Input.mouseHeld[0] = 1;
  Start(0x80 | 0x10);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  Input.mousePressed[0] = 1;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 10);
}

TEST_F(KeyInputTest, KeyboardAnyKeyAndOneKey) {
  Input.keyboard[30] = 1;  // A
  Start(0x100);
  EXPECT_EQ(V(0), 130);
  Input.keyboard[30] = 0;
  Input.keyboard[28] = 1;  // Enter is left to the buttons
  Start(0x100);
  EXPECT_EQ(V(0), 0);
  Input.keyboard[157] = 1;  // right Ctrl answers as 157 itself
  Start(0x100);
  EXPECT_EQ(V(0), 157);
  Input.keyboard[157] = 0;
  Start(0x100 | 0x1000, 128);  // one key: Enter asked for by its code
  EXPECT_EQ(V(0), 128);
  Start(0x100 | 0x1000, 130);
  EXPECT_EQ(V(0), 0);

  // Waiting, a key held at the start does not count until released and
  // pressed again; another key does.
  Input = InputState();
  Input.keyboard[30] = 1;
  Start(0x180);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  Input.keyboard[30] = 0;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  Input.keyboard[30] = 1;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 130);

  Input = InputState();
  Input.keyboard[30] = 1;
  Start(0x180);
  Input.keyboard[31] = 1;
  Input.keyboard[30] = 0;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 131);
}

TEST_F(KeyInputTest, PadAnyButtonAndOneButton) {
  gPadBits = 0x20;
  Start(0x200);
  EXPECT_EQ(V(0), 302);
  Start(0x200 | 0x1000, 302);
  EXPECT_EQ(V(0), 302);
  Start(0x200 | 0x1000, 301);
  EXPECT_EQ(V(0), 0);
  gPadBits = 0x40000;
  Start(0x200 | 0x1000, 315);
  EXPECT_EQ(V(0), 315);
  Start(0x200 | 0x1000, 316);
  EXPECT_EQ(V(0), 0);

  gPadBits = 0x10;  // held at the start
  Start(0x280);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  gPadBits = 0;
  interpreter.RunFrame();
  gPadBits = 0x10;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 301);
}

TEST_F(KeyInputTest, AnOpenTextEntryHoldsTheWait) {
  Start(0x80 | 0x10);
  RootRunner.textEntryResult = 1;
  Press(kButtonDecide);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), -7);
  EXPECT_TRUE(interpreter.waitingForKeyInput);
  RootRunner.textEntryResult = 0;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 10);
}

}  // namespace
