#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/host/system/Clock.h"
#include "runtime/host/window/Cursor.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/window/WindowProcedure.h"
#include "tests/runtime/platform/system/LayerFixture.h"

namespace {

using ::testing::ElementsAreArray;

// A running layer in window mode at the given scale.
class MainWindowTest : public LayerFixture {
 protected:
  void Start(double scale = 1.0) {
    SetWindowScale(scale);
    ASSERT_EQ(LayerInit(), 0);
    logLinesAtStart_ = LogLines().size();
  }
  std::vector<std::string> NewLogLines() const {
    const std::vector<std::string> all = LogLines();
    return std::vector<std::string>(all.begin() + static_cast<long>(logLinesAtStart_), all.end());
  }
  const IntRect& Client() const { return gPlatform.window.clientRect; }

 private:
  size_t logLinesAtStart_ = 0;
};

TEST_F(MainWindowTest, CloseMakesTheNextPumpReportTheEnd) {
  Start();
  EXPECT_EQ(PumpMessages(), 0);
  events.Push(HostMessageId::Close);
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_EQ(IsEndRequested(), 1);
  EXPECT_FALSE(HostWindowExists());
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_EQ(LayerEnd(), 0);
  // The window was gone already: its close lines appear once.
  const std::vector<std::string> lines = NewLogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "ウインドウを閉じようとしています"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "ソフトを終了する準備が整いました"), 1);
}

TEST_F(MainWindowTest, WheelNotchesCountOnePerMessageBySign) {
  Start();
  struct Case {
    std::vector<int> rotations;
    int notches;
  } cases[] = {
      {{120, 120, 120, -120}, 2},
      {{360}, 1},        // a fast turn in one message counts once
      {{0, -240}, -2},   // no rotation counts as down
      {{}, 0},
  };
  for (const Case& c : cases) {
    for (int r : c.rotations) events.Push(HostMessageId::MouseWheel, r);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(TakeMouseWheel(), c.notches);
    EXPECT_EQ(TakeMouseWheel(), 0);
  }
}

TEST_F(MainWindowTest, MousePositionIsDividedByTheScaleAndTruncated) {
  Start(2.0);
  struct Case {
    int dx, dy;  // from the client origin, in screen pixels
    int x, y;
  } cases[] = {{101, 51, 50, 25}, {0, 0, 0, 0}, {-3, 1279, -1, 639}, {1279, 959, 639, 479}};
  for (const Case& c : cases) {
    HostSetCursorPos(Client().left + c.dx, Client().top + c.dy);
    int x = -99;
    int y = -99;
    GetMousePosition(&x, &y);
    EXPECT_EQ(x, c.x) << c.dx;
    EXPECT_EQ(y, c.y) << c.dy;
  }
  GetMousePosition(nullptr, nullptr);
}

TEST_F(MainWindowTest, SetMousePositionClampsToTheScreenAndAddsTheClientOrigin) {
  Start(2.0);
  SetMousePosition(-5, 10000);
  int x = 0;
  int y = 0;
  HostGetCursorPos(&x, &y);
  EXPECT_EQ(x, Client().left);
  EXPECT_EQ(y, Client().top + 480);  // the scale is not applied
  SetMousePosition(640, 0);
  HostGetCursorPos(&x, &y);
  EXPECT_EQ(x, Client().left + 640);
}

TEST_F(MainWindowTest, MouseMessagesMoveTheCursor) {
  Start();
  events.Push(HostMessageId::MouseMove, 30, 40);
  EXPECT_EQ(PumpMessages(), 0);
  int x = 0;
  int y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
}

TEST_F(MainWindowTest, MovingTheWindowMovesTheClientRectangle) {
  Start();
  const int width = Client().right - Client().left;
  events.Push(HostMessageId::Move, 200, -10);
  EXPECT_EQ(PumpMessages(), 0);
  IntRect r;
  GetClientScreenRect(&r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, -10);
  EXPECT_EQ(r.right, 200 + width);
  EXPECT_EQ(r.bottom, -10 + 480);
}

TEST_F(MainWindowTest, WhileInactiveThePumpWaitsForTheActivation) {
  Start();
  events.Push(HostMessageId::Activate, 0);
  events.Push(HostMessageId::ActivateApp, 0);
  // More than one batch: a pump that did not wait would return after five.
  for (int i = 0; i < 6; ++i) events.Push(HostMessageId::Paint);
  events.Push(HostMessageId::ActivateApp, 1);
  events.Push(HostMessageId::Activate, 1);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(events.Pending(), 0);
  EXPECT_EQ(IsAppActive(), 1);
}

TEST_F(MainWindowTest, InTheBackgroundThePumpReturnsWhileInactive) {
  SetRunInBackground(1);
  Start();
  events.Push(HostMessageId::ActivateApp, 0);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(IsAppActive(), 0);
}

TEST_F(MainWindowTest, PassesGoOnWhileMessagesKeepComing) {
  Start();
  for (int i = 0; i < 12; ++i) events.Push(HostMessageId::Paint);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(events.Pending(), 0);
}

TEST_F(MainWindowTest, ActivationIsIgnoredWhileTheWindowIsMade) {
  events.Push(HostMessageId::Activate, 0);
  Start();
  EXPECT_EQ(events.Pending(), 0);
  EXPECT_EQ(IsAppActive(), 1);
}

TEST_F(MainWindowTest, ChangeWindowModeToTheSameModeOnlyLogs) {
  Start();
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_THAT(NewLogLines(), ElementsAreArray({"ChangeWindowMode実行 "}));
}

TEST_F(MainWindowTest, ChangeWindowModeSwitchesToFullScreenAndBack) {
  Start(2.0);
  EXPECT_EQ(ChangeWindowMode(0), 0);
  EXPECT_EQ(IsWindowMode(), 0);
  EXPECT_EQ(GetWindowScale(), 1.0);
  EXPECT_EQ(HostWindowGetStyle(), HostWindowStyle::FullScreen);
  EXPECT_EQ(gPlatform.window.cursorShown, 0);
  IntRect r;
  GetClientScreenRect(&r);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(r.bottom, 480);
  // In full screen the cursor position is the screen position.
  HostSetCursorPos(123, 45);
  int x = 0;
  int y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 45);

  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_EQ(GetWindowScale(), 2.0);
  EXPECT_EQ(gPlatform.window.cursorShown, 1);
  EXPECT_EQ(gPlatform.window.modeChanging, 0);
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right - client.left, 1280);
  // The screen is made again for each mode; its own lines are indented.
  std::vector<std::string> outer;
  for (const std::string& line : NewLogLines()) {
    if (line.empty() || line[0] != '\t') outer.push_back(line);
  }
  EXPECT_THAT(outer, ElementsAreArray({
                         "ChangeWindowMode実行 ",
                         "ウインドウモードフラグが倒されました",
                         "ウインドウスタイルをフルスクリーンモード用に変更します... 完了",
                         "画面モード変更処理を開始します",
                         "画面モード変更処理は正常に終了しました",
                         "ChangeWindowMode実行 ",
                         "ウインドウモードフラグが立てられました",
                         "ウインドウスタイルをウインドウモード用に変更します... 完了",
                         "画面モード変更処理を開始します",
                         "画面モード変更処理は正常に終了しました",
                     }));
}

TEST_F(MainWindowTest, ScaleSettings) {
  SetWindowScale(0.0);
  EXPECT_EQ(gPlatform.windowScale, 1.0);
  SetWindowScale(-2.0);
  EXPECT_EQ(gPlatform.windowScale, 1.0);
  SetWindowScale(1.5);
  EXPECT_EQ(GetWindowScale(), 1.5);
  gPlatform.windowMode = 0;
  EXPECT_EQ(GetWindowScale(), 1.0);
  gPlatform.windowMode = 1;
  Start(1.5);
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right - client.left, 960);
  EXPECT_EQ(client.bottom - client.top, 720);
  SetWindowScale(1.0);
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right - client.left, 640);
}

TEST_F(MainWindowTest, UnworkableDisplayChangesCloseTheWindowOnce) {
  Start();
  HostMessage change;
  change.id = HostMessageId::DisplayChange;
  for (const auto& [depth, width, height] : {std::tuple{24, 1920, 1080}, std::tuple{8, 1920, 1080},
                                             std::tuple{32, 320, 200}}) {
    change.p1 = depth;
    change.p2 = width;
    change.p3 = height;
    MainWindowProc(change);
  }
  EXPECT_EQ(gPlatform.window.displayChangeSeen, 0);
  EXPECT_EQ(IsWindowClosing(), 1);
  EXPECT_EQ(PumpMessages(), -1);
  const std::vector<std::string> lines = NewLogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します"),
            3);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "ウインドウを閉じようとしています"), 1);
}

TEST_F(MainWindowTest, WorkableDisplayChangeIsNoted) {
  Start();
  events.Push(HostMessageId::DisplayChange, 32, 1920, 1080);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(gPlatform.window.displayChangeSeen, 1);
  EXPECT_EQ(IsWindowClosing(), 0);
}

TEST_F(MainWindowTest, ShowMouseCursorKeepsTheRequestAndShowsOnlyForOne) {
  Start();
  ShowMouseCursor(2);
  EXPECT_EQ(IsMouseCursorShown(), 2);
  EXPECT_EQ(gPlatform.window.cursorShown, 0);
  ShowMouseCursor(1);
  EXPECT_EQ(gPlatform.window.cursorShown, 1);
}

TEST_F(MainWindowTest, WaitMillisecondsPumpsUntilTheTimeHasPassed) {
  Start();
  const uint32_t start = HostTickMs();
  EXPECT_EQ(WaitMilliseconds(30), 0);
  EXPECT_GE(HostTickMs() - start, 30u);
  events.Push(HostMessageId::Close);
  EXPECT_EQ(WaitMilliseconds(100000), 0);  // ends with the window
  EXPECT_EQ(IsEndRequested(), 1);
}

TEST(KeyRingCodes, TypedCharactersAndEditingKeys) {
  struct CharCase {
    int in, out;
  } chars[] = {{0x0A, 0x0D}, {0x0D, 0x0D}, {0x08, 0x08}, {0x09, 0x09}, {0x10, 0x10}, {0x1B, 0x1B},
               {0x01, -1},   {0x1F, -1},   {0x20, 0x20}, {0x82, 0x82}, {0xFF, 0xFF}};
  for (const CharCase& c : chars) EXPECT_EQ(KeyRingCodeOfChar(c.in), c.out) << c.in;
  EXPECT_EQ(KeyRingCodeOfKey(kHostKeyDelete), 0x10);
  EXPECT_EQ(KeyRingCodeOfKey(kHostKeyLeft), 0x1D);
  EXPECT_EQ(KeyRingCodeOfKey(kHostKeyRight), 0x1C);
  EXPECT_EQ(KeyRingCodeOfKey(kHostKeyUp), 0x1E);
  EXPECT_EQ(KeyRingCodeOfKey(kHostKeyDown), 0x1F);
  EXPECT_EQ(KeyRingCodeOfKey(kHostKeyOther), -1);
}

}  // namespace
