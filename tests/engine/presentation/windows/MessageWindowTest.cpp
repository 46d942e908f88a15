#include <gtest/gtest.h>

#include <string>

#include "tests/engine/presentation/MessageText.h"
#include "tests/engine/presentation/windows/WindowFixture.h"

namespace {

// The wait cursor's top-left with the default message position: x 320 - 8,
// y the integer part of 14.2 x 32.
constexpr int kCursorX = 312;
constexpr int kCursorY = 454;

class MessageWindowTest : public WindowFixture {
 protected:
  bool CursorShown() const { return BackPixel(kCursorX, kCursorY) != 0; }
  // Opened, past the open delay and revealed at 4 characters a frame.
  void OpenAndReveal(const std::string& text) {
    PendMessage(text);
    Frames(3);
  }
};

TEST_F(MessageWindowTest, OpensOnThePendingTextRevealsWaitsAndClosesOnDecide) {
  PendMessage("abcdef");
  Frame();
  EXPECT_TRUE(message().open);
  EXPECT_EQ(SystemStateHub.windowOpen, 1);
  EXPECT_EQ(message().openDelay, 1) << "system variable 10";
  EXPECT_EQ(message().text.originX, 16);
  EXPECT_EQ(message().text.originY, 9 * 32 + 16);
  Frame();
  EXPECT_EQ(SystemStateHub.messageWindowShown, 1);
  Frame();
  EXPECT_FALSE(message().allShown) << "4 of 6 characters";
  EXPECT_FALSE(CursorShown());
  Frame();
  EXPECT_TRUE(message().allShown);
  EXPECT_EQ(SystemStateHub.messageShown, 1);
  EXPECT_TRUE(CursorShown());
  Frames(5);
  EXPECT_TRUE(message().open) << "waits for the player";
  EXPECT_FALSE(MessageReleased());
  Press(kButtonDecide);
  EXPECT_FALSE(message().open);
  EXPECT_TRUE(MessageReleased());
  EXPECT_EQ(SystemStateHub.pendingMessageText, "");
  EXPECT_EQ(SystemStateHub.messageWaiter, 0u);
  EXPECT_EQ(SystemStateHub.windowOpen, 0);
  EXPECT_FALSE(CursorShown());
  Frame();
  EXPECT_EQ(SystemStateHub.messageWindowShown, 0);
}

TEST_F(MessageWindowTest, TheWaitCursorShowsEachCellForFiveFrames) {
  OpenAndReveal("ab");
  std::vector<std::pair<uint32_t, int>> runs;  // colour, frames
  for (int frame = 0; frame < 22; ++frame) {
    Frame();
    const uint32_t p = BackPixel(kCursorX, kCursorY);
    if (runs.empty() || runs.back().first != p) runs.push_back({p, 0});
    ++runs.back().second;
  }
  ASSERT_GE(runs.size(), 4u);
  for (size_t i = 1; i + 1 < runs.size(); ++i) {
    EXPECT_EQ(runs[i].second, 5) << i;
    EXPECT_EQ(runs[i].first, runs[i - 1].first == 0xFF0000u ? 0x00FF00u : 0xFF0000u) << i;
  }
}

TEST_F(MessageWindowTest, ClosingInputs) {
  const struct {
    const char* what;
    int32_t mouseSetting;
    void (*press)();
    bool closes;
  } cases[] = {
      {"cancel", 0, [] { Input.buttonsPressed[kButtonCancel] = 1; }, true},
      {"a click with the mouse setting 1", 1, [] { Input.mousePressed[0] = 1; }, true},
      {"a click with the mouse setting 0", 0, [] { Input.mousePressed[0] = 1; }, false},
      {"a right click", 1, [] { Input.mousePressed[1] = 1; }, false},
      {"the sub button", 1, [] { Input.buttonsPressed[kButtonSub] = 1; }, false},
  };
  for (const auto& c : cases) {
    RootRunner.mouseWindowValue = c.mouseSetting;
    OpenAndReveal("ab");
    ASSERT_TRUE(message().allShown) << c.what;
    c.press();
    Frame();
    EXPECT_EQ(!message().open, c.closes) << c.what;
    if (message().open) message().Close();
  }
}

TEST_F(MessageWindowTest, AKeyWaitShowsTheCursorAndDecideGoesOnWithTheText) {
  OpenAndReveal("a" + Code(kCodeKeyWait) + "bcdefgh");
  EXPECT_TRUE(message().text.waitingForKey) << "set by the frame's draw";
  Frame();
  EXPECT_TRUE(message().allShown);
  EXPECT_TRUE(CursorShown());
  Frames(10);
  EXPECT_EQ(message().text.penX, 12) << "held after the first character";
  Press(kButtonDecide);
  EXPECT_TRUE(message().open) << "decide ends the wait, not the message";
  Frames(2);
  EXPECT_EQ(message().text.penX, 12 * 8);
  Press(kButtonDecide);
  EXPECT_FALSE(message().open);
}

TEST_F(MessageWindowTest, AutoCloseCodeAndCloseRequest) {
  OpenAndReveal("ab" + Code(kCodeAutoClose));
  Frame();
  EXPECT_FALSE(message().open) << "closes by itself once everything is shown";
  EXPECT_TRUE(MessageReleased());

  SystemStateHub = SystemState();
  PendMessage("abcdefghijklmnopqrstuvwxyz");
  Frames(3);
  ASSERT_TRUE(message().open);
  SystemStateHub.autoCloseMessage = 1;  // the close-message command
  Frame();
  EXPECT_FALSE(message().open) << "at once, revealed or not";
  EXPECT_EQ(SystemStateHub.autoCloseMessage, 0);
}

TEST_F(MessageWindowTest, PositionsFromTheSystemValues) {
  RootRunner.systemValues0To4[1] = 40;
  RootRunner.systemValues0To4[2] = 300;
  RootRunner.messageWindowY = 100;
  OpenAndReveal("ab");
  EXPECT_EQ(message().text.originX, 40);
  EXPECT_EQ(message().text.originY, 300);
  // The cursor's y: min(14.5 t, message y + offset) = 400 below 464.
  EXPECT_NE(BackPixel(kCursorX, 400), 0u);
  EXPECT_EQ(BackPixel(kCursorX, kCursorY), 0u);
}

TEST_F(MessageWindowTest, OnTheSmallGridTheCursorAndOriginAreDoubled) {
  TileUnit = 16;
  RootRunner = RootEventRunner();
  RootRunner.messageFontSize = 12;
  OpenAndReveal("ab");
  EXPECT_EQ(message().text.originX, 16);
  EXPECT_EQ(message().text.originY, 152 * 2);
  // x = 160 - 8, y = integer part of 14.2 x 16 = 227; drawn doubled (its
  // lowest rows pass the screen's bottom).
  EXPECT_NE(BackPixel(152 * 2, 227 * 2), 0u);
  EXPECT_NE(BackPixel(152 * 2 + 31, 479), 0u);
  EXPECT_EQ(BackPixel(152 * 2 + 32, 227 * 2), 0u);
  EXPECT_EQ(BackPixel(152 * 2 - 1, 227 * 2), 0u);
}

TEST_F(MessageWindowTest, WithoutAWaitCursorImageTheWindowStillWorks) {
  SystemDatabase.typeData[10] = MakeTypeData({2000, 1000}, 0);
  message().LoadWaitCursor();
  EXPECT_FALSE(message().cursorLoaded);
  OpenAndReveal("ab");
  EXPECT_TRUE(message().allShown);
  Press(kButtonDecide);
  EXPECT_FALSE(message().open);
}

}  // namespace
