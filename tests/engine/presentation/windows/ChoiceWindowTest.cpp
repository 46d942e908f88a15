#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/events/variables/VariableStore.h"
#include "tests/engine/presentation/windows/WindowFixture.h"

namespace {

class ChoiceWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    RootRunner.systemValues17To19[0] = 1;  // decide sound
    RootRunner.systemValues17To19[1] = 2;  // cursor sound
    RootRunner.systemValues17To19[2] = 3;  // cancel sound
  }
  // Opened and past its four frames of delay: taking input.
  void OpenChoices(const std::vector<std::string>& rows, int32_t cancelRow = -1, int32_t extras = 0) {
    PendChoices(rows, cancelRow, extras);
    Frames(5);
    ASSERT_TRUE(choice().open);
    ASSERT_EQ(choice().openDelay, 0);
  }
  static int32_t LastSound() { return sounds().empty() ? -1 : sounds().back() - 2000; }
};

TEST_F(ChoiceWindowTest, TheDefaultWindowIsCentredAtTenTilesAndAroundY170) {
  OpenChoices({"ab", "cd"});
  // Widest row 24 + 26; rows at 0 and 30, 24 high, + 26.
  EXPECT_EQ(choice().width, 50);
  EXPECT_EQ(choice().height, 80);
  EXPECT_EQ(choice().x, 320 - 25);
  EXPECT_EQ(choice().y, 170 - 40);
  EXPECT_EQ(choice().text.originX, 295 + 12 + 2);
  EXPECT_EQ(choice().text.originY, 130 + 12 + 2);
  EXPECT_EQ(SystemStateHub.windowOpen, 1);
  EXPECT_EQ(SystemStateHub.lastChoiceResult, -1) << "published from the first frame that takes input";
  Frame();
  EXPECT_EQ(SystemStateHub.lastChoiceResult, 0);
}

TEST_F(ChoiceWindowTest, KeysMoveOverRowsWithoutHeightAndDeliverRowPlusTwo) {
  OpenChoices({"a", "b", ""});
  EXPECT_EQ(choice().text.lineHeights[2], 0);
  PressDirection(8);
  EXPECT_EQ(choice().row, 1) << "up from row 0 skips row 2";
  EXPECT_EQ(LastSound(), 2);
  PressDirection(2);
  EXPECT_EQ(choice().row, 0) << "down from row 1 wraps past row 2";
  PressDirection(2);
  EXPECT_EQ(SystemStateHub.lastChoiceResult, 1);
  Press(kButtonDecide);
  EXPECT_EQ(Delivered(), 3);
  EXPECT_EQ(LastSound(), 1);
  EXPECT_FALSE(choice().open);
  EXPECT_EQ(SystemStateHub.pendingChoiceText, "");
  EXPECT_EQ(SystemStateHub.choiceWaiter, 0u);
  EXPECT_EQ(SystemStateHub.windowOpen, 0);
  EXPECT_EQ(SystemStateHub.lastChoiceResult, 1) << "the row chosen, until the next update";
  Frame();
  EXPECT_EQ(SystemStateHub.lastChoiceResult, -1);
}

TEST_F(ChoiceWindowTest, CancelExtraKeysAndTheCancelRequest) {
  const struct {
    const char* what;
    int32_t cancelRow, extras;
    void (*act)();
    int32_t delivered, sound;
  } cases[] = {
      {"cancel without a cancel row does nothing", -1, 0, [] { Input.buttonsPressed[kButtonCancel] = 1; }, -1, -1},
      {"cancel with cancel row 2", 2, 0, [] { Input.buttonsPressed[kButtonCancel] = 1; }, 4, 3},
      {"first extra key", -1, 1, [] { Input.buttonsPressed[kButtonSub] = 1; }, 100, 3},
      {"second extra key", -1, 2, [] { Input.buttonsPressed[kButtonFourth] = 1; }, 101, 3},
      {"extra keys not asked for", -1, 0, [] { Input.buttonsPressed[kButtonSub] = 1; }, -1, -1},
      {"cancel-choices request with bit 2", -1, 4, [] { SystemStateHub.closeChoiceRequest = 1; }, 102, -1},
      {"cancel-choices request alone", -1, 0, [] { SystemStateHub.closeChoiceRequest = 1; }, 2, -1},
      {"right click with the mouse", 1, 0, [] { RootRunner.mouseWindowValue = 1; Input.mousePressed[1] = 1; }, 3, 3},
  };
  for (const auto& c : cases) {
    SystemStateHub = SystemState();
    RootRunner.mouseWindowValue = 0;
    sounds().clear();
    OpenChoices({"a", "b", "c"}, c.cancelRow, c.extras);
    c.act();
    Frame();
    EXPECT_EQ(Delivered(), c.delivered) << c.what;
    EXPECT_EQ(LastSound(), c.sound) << c.what;
    EXPECT_EQ(choice().open, c.delivered == -1) << c.what;
    if (choice().open) choice().Close();
  }
}

TEST_F(ChoiceWindowTest, NoChoicesClosesAsCancelled) {
  PendChoices({"a"}, 1);
  SystemStateHub.choiceCount = 0;
  Frames(6);
  EXPECT_FALSE(choice().open);
  EXPECT_EQ(Delivered(), 3);
}

TEST_F(ChoiceWindowTest, MoreChoicesThanRowsReadMissingEntriesAsZero) {
  PendChoices({"a", "b"});
  SystemStateHub.choiceCount = 4;
  RootRunner.mouseWindowValue = 1;
  Frames(5);
  for (int i = 0; i < 3; ++i) PressDirection(2);
  EXPECT_EQ(choice().row, 1) << "rows 2 and 3 have no height";
  Input.mouseX = 320;
  Input.mouseY = 300;
  Frame();
  EXPECT_EQ(choice().row, 1);
}

TEST_F(ChoiceWindowTest, TheMousePointsAtRowsAndClicksChoose) {
  RootRunner.mouseWindowValue = 1;
  OpenChoices({"ab", "cd", "ef"});
  // Row 1 spans y 130 + 30 + 13 to that + 24, x 304 to 347 (open).
  Input.mouseX = 320;
  Input.mouseY = 180;
  Frame();
  EXPECT_EQ(choice().row, 1);
  Input.mouseY = 300;
  Frame();
  EXPECT_EQ(choice().row, 1) << "outside every row the row stays";
  Input.mousePressed[0] = 1;
  Frame();
  EXPECT_EQ(Delivered(), 3);
  EXPECT_EQ(LastSound(), 1);
}

TEST_F(ChoiceWindowTest, TheFirstRowComesFromSystemVariableSeven) {
  RootRunner.choiceCursor = 5;
  OpenChoices({"a", "b", "c"});
  EXPECT_EQ(choice().row, 2) << "clamped";
  EXPECT_EQ(RootRunner.choiceCursor, 0);
  choice().Close();
  RootRunner.choiceCursor = 1;
  OpenChoices({"a", "", "c"});
  EXPECT_EQ(choice().row, 2) << "on to the next row with a height";
}

TEST_F(ChoiceWindowTest, FadeModes) {
  // A point of the frame's top-left corner and one of the cursor box's.
  auto frameShown = [] { return BackPixel(296, 131) != 0; };
  auto cursorShown = [] { return (BackPixel(306, 143) >> 16) != 0; };  // white over the blue frame

  RootRunner.choiceFrame = 0;
  PendChoices({"ab", "cd"});
  for (int frame = 0; frame < 10; ++frame) {
    Frame();
    EXPECT_EQ(choice().alpha, 0);
    EXPECT_FALSE(frameShown());
  }
  EXPECT_TRUE(cursorShown()) << "drawn at once";
  choice().Close();

  RootRunner.choiceFrame = 1;
  PendChoices({"ab", "cd"});
  Frames(5);
  std::vector<int32_t> alphas;
  EXPECT_FALSE(frameShown());
  for (int frame = 0; frame < 5; ++frame) {
    Frame();
    alphas.push_back(choice().alpha);
    EXPECT_TRUE(frameShown());
    EXPECT_EQ(cursorShown(), choice().alpha == 255) << frame;
  }
  EXPECT_EQ(alphas, (std::vector<int32_t>{64, 128, 192, 255, 255}));
  EXPECT_TRUE(cursorShown());
  EXPECT_EQ(BackPixel(296, 131), 0x0000FFu);
}

TEST_F(ChoiceWindowTest, AMessageWithChoicesShowsNoWaitCursorAndBothCloseInOneFrame) {
  PendMessage("abcdefgh");
  PendChoices({"yes", "no"}, -1, 0, true);
  Frames(3);
  EXPECT_TRUE(message().open);
  EXPECT_FALSE(choice().open) << "waits for the whole message";
  Frame();
  EXPECT_EQ(SystemStateHub.messageShown, 1);
  EXPECT_FALSE(message().allShown) << "no wait cursor";
  Frame();
  EXPECT_TRUE(choice().open);
  EXPECT_EQ(choice().openDelay, 1) << "the message's open delay";
  Press(kButtonDecide);
  EXPECT_TRUE(choice().open) << "still in its delay";
  Frame();
  Press(kButtonDecide);
  EXPECT_FALSE(choice().open);
  EXPECT_FALSE(message().open) << "closed later in the same frame";
  EXPECT_EQ(Delivered(), 2);
  EXPECT_TRUE(MessageReleased());
  VariableStore store(&RootRunner);
  EXPECT_EQ(store.GetVariable(9000020), 0) << "system variable 20: the row chosen";
  EXPECT_EQ(store.GetVariable(9000012), 1) << "system variable 12 until the next update";
  Frame();
  EXPECT_EQ(store.GetVariable(9000012), 0);
  EXPECT_EQ(store.GetVariable(9000020), -1);
  EXPECT_EQ(SystemStateHub.pendingMessageText, "");
  EXPECT_EQ(SystemStateHub.windowOpen, 0);
  EXPECT_EQ(SystemStateHub.choiceWithMessage, 0);
  EXPECT_EQ(SystemStateHub.closeMessageWithChoice, 0);
}

}  // namespace
