#include "engine/services/InputState.h"

#include <gtest/gtest.h>

namespace {

int gPadBits = 0;
int FakePad(int) { return gPadBits; }

class InputStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Input = InputState();
    gPadBits = 0;
    SetPadBitsReader(FakePad);
  }
  void TearDown() override {
    SetPadBitsReader(nullptr);
    Input = InputState();
  }
};

TEST_F(InputStateTest, KeyboardQueryRememberAndSuppress) {
  int32_t last = 0;
  EXPECT_EQ(KeyboardKeyQuery(false, false, last, -1), 0);
  Input.keyboard[44] = 1;  // Z
  Input.keyboard[57] = 1;  // Space is left to the buttons
  EXPECT_EQ(KeyboardKeyQuery(false, false, last, -1), 144);
  EXPECT_EQ(last, 0);
  EXPECT_EQ(KeyboardKeyQuery(true, false, last, -1), 144);
  EXPECT_EQ(last, 44);
  EXPECT_EQ(KeyboardKeyQuery(false, true, last, -1), 0);  // still the last key
  Input.keyboard[16] = 1;  // Q comes first in code order
  EXPECT_EQ(KeyboardKeyQuery(false, true, last, -1), 116);
  EXPECT_EQ(last, 0);
  Input.keyboard.fill(0);
  last = 30;
  EXPECT_EQ(KeyboardKeyQuery(false, true, last, -1), 0);
  EXPECT_EQ(last, 0);  // nothing down clears the last key
  // One key asked: the last key plays no part.
  Input.keyboard[200] = 1;
  last = 200;
  EXPECT_EQ(KeyboardKeyQuery(false, true, last, 300), 300);
  EXPECT_EQ(KeyboardKeyQuery(false, false, last, 355), 0);
  EXPECT_EQ(KeyboardKeyQuery(false, false, last, 99), 0);  // not a key code: any key (200 is past the scan)
}

TEST_F(InputStateTest, PadQuery) {
  int32_t last = 0;
  gPadBits = 0x1 | 0x8;  // directions are no buttons
  EXPECT_EQ(PadButtonQuery(false, false, last, -1), 0);
  gPadBits = 0x80 | 0x100;
  EXPECT_EQ(PadButtonQuery(true, false, last, -1), 304);
  EXPECT_EQ(last, 304);
  EXPECT_EQ(PadButtonQuery(false, true, last, -1), 0);
  EXPECT_EQ(PadButtonQuery(false, true, last, 305), 305);
  EXPECT_EQ(last, 0);
  EXPECT_EQ(PadButtonQuery(false, false, last, 300), 0);
  EXPECT_EQ(PadButtonQuery(false, false, last, 320), 0);
  last = 304;
  EXPECT_EQ(PadButtonQuery(false, false, last, 304), 304);  // neither flag: the last is cleared first
}

TEST_F(InputStateTest, ResetClearsTheMovementsRepeatsAndKeys) {
  Input.mouseWheel = 3;
  Input.decideRepeat = 1;
  Input.cancelHoldCount = 9;
  Input.keyboard[5] = 1;
  Input.effectiveDirections[2] = 1;
  Input.functionKeys[5] = {1, 1};
  Input.mouseX = 7;
  Input.Reset();
  EXPECT_EQ(Input.mouseWheel, 0);
  EXPECT_EQ(Input.decideRepeat, 0);
  EXPECT_EQ(Input.cancelHoldCount, 0);
  EXPECT_EQ(Input.keyboard[5], 0);
  EXPECT_EQ(Input.effectiveDirections[2], 0);
  EXPECT_EQ(Input.functionKeys[5][0], 0);
  EXPECT_EQ(Input.mouseX, 7);
}

}  // namespace
