#include "runtime/platform/input/InputDevices.h"

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/host/window/Cursor.h"
#include "runtime/host/system/HostEvent.h"
#include "runtime/host/input/KeyCodes.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "tests/runtime/platform/system/LayerFixture.h"

namespace {

using ::testing::ElementsAreArray;

class InputDevicesTest : public LayerFixture {
 protected:
  void Start() {
    ASSERT_EQ(LayerInit(), 0);
    logLinesAtStart_ = LogLines().size();
  }
  std::vector<std::string> NewLogLines() const {
    const std::vector<std::string> all = LogLines();
    return std::vector<std::string>(all.begin() + static_cast<long>(logLinesAtStart_), all.end());
  }
  bool Logged(const std::string& line) const {
    const std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // Neither version of the input system starts.
  void WithoutInputSystem() {
    input.SetStartResult(7, static_cast<int32_t>(0x80040154));
    input.SetStartResult(8, -1);
  }

 private:
  size_t logLinesAtStart_ = 0;
};

TEST_F(InputDevicesTest, PadBitsFromKeysAloneWhenNoJoypadIsAttached) {
  Start();
  EXPECT_EQ(GetPadInputBits(1), 0);
  EXPECT_EQ(GetPadInputBits(0x1001), 0);
  input.PressKey(kKeyZ);
  input.PressKey(kKeyRight);
  EXPECT_EQ(GetPadInputBits(0x1001), 0x14);
  EXPECT_EQ(GetPadInputBits(0x1000), 0x14);  // the keyboard alone reads the first map
  EXPECT_EQ(GetPadInputBits(1), 0);
  EXPECT_EQ(GetPadInputBits(0x1002), 0);     // the second map is empty
  EXPECT_EQ(GetPadInputBits(0x1009), 0);     // no map exists for a ninth joypad
  EXPECT_EQ(GetPadInputBits(-1), 0);

  input.ReleaseAllKeys();
  struct Case {
    int key;
    int bits;
  } cases[] = {{kKeyNumpad2, kPadDown}, {kKeyDown, kPadDown},   {kKeyNumpad4, kPadLeft}, {kKeyLeft, kPadLeft},
               {kKeyNumpad6, kPadRight}, {kKeyNumpad8, kPadUp}, {kKeyUp, kPadUp},       {kKeyX, 0x20},
               {kKeyC, 0x40},           {kKeyA, 0x80},         {kKeyS, 0x100},         {kKeyD, 0x200},
               {kKeyQ, 0x400},          {kKeyW, 0x800},        {kKeyEscape, 0x1000},   {kKeySpace, 0x2000},
               {kKeyV, 0}};
  for (const Case& c : cases) {
    input.PressKey(c.key);
    EXPECT_EQ(GetPadInputBits(0x1001), c.bits) << c.key;
    input.ReleaseKey(c.key);
  }
}

TEST_F(InputDevicesTest, JoypadAxesAndButtonsAloneAndWithKeys) {
  input.AddJoypad("Pad One");
  input.AddJoypad("Pad Two");
  Start();
  EXPECT_EQ(gPlatform.input.joypadCount, 2);
  input.SetAxis(0, 0, -32768);
  input.SetAxis(0, 1, 32767);
  input.SetButton(0, 0, true);
  input.SetButton(0, 23, true);
  input.SetButton(0, 24, true);  // only 24 buttons make bits
  EXPECT_EQ(GetPadInputBits(1), kPadLeft | kPadDown | 0x10 | (1 << 27));
  input.PressKey(kKeyX);
  EXPECT_EQ(GetPadInputBits(0x1001), kPadLeft | kPadDown | 0x10 | 0x20 | (1 << 27));
  // Inside the dead zone a stick reads as centred.
  input.SetAxis(0, 0, 6000);
  input.SetAxis(0, 1, -8000);
  EXPECT_EQ(GetPadInputBits(1), 0x10 | (1 << 27));
  input.SetAxis(1, 0, 32767);
  input.SetAxis(1, 1, -32768);
  EXPECT_EQ(GetPadInputBits(2), kPadRight | kPadUp);
  EXPECT_EQ(GetPadInputBits(3), 0);  // no third joypad
  EXPECT_EQ(GetPadInputBits(0x1002), kPadRight | kPadUp);
}

TEST_F(InputDevicesTest, AJoypadThatGoesKeepsItsLastState) {
  input.AddJoypad("Pad");
  Start();
  input.SetAxis(0, 0, 32767);
  EXPECT_EQ(GetPadInputBits(1), kPadRight);
  input.Unplug(0);
  input.SetAxis(0, 0, -32768);
  EXPECT_EQ(GetPadInputBits(1), kPadRight);
}

TEST_F(InputDevicesTest, JoypadsAreFoundWithTheirNamesUpToEightAndReleasedAtTheEnd) {
  for (int i = 0; i < 9; ++i) input.AddJoypad("Pad" + std::to_string(i));
  Start();
  EXPECT_EQ(gPlatform.input.joypadCount, 8);
  const std::vector<std::string> lines = LogLines();
  const auto first = std::find(lines.begin(), lines.end(), "ジョイパッドの初期化... ");
  ASSERT_NE(first, lines.end());
  EXPECT_EQ(*(first + 1), "入力装置を見つけました");
  EXPECT_EQ(*(first + 2), "デバイスの登録名:Pad0デバイスの製品登録名:Pad0ジョイパッドの追加は正常に終了しました");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "入力装置を見つけました"), 8);
  EXPECT_EQ(InputEnd(), 0);
  EXPECT_EQ(gPlatform.input.joypadCount, 0);
  ASSERT_EQ(input.Rumbles().size(), 8u);  // each joypad's effects are stopped
  for (const FakeInput::Rumble& r : input.Rumbles()) EXPECT_EQ(r.ms, 0u);
  EXPECT_FALSE(input.Started());
}

TEST_F(InputDevicesTest, AJoypadWhoseEventCannotBeMadeIsDropped) {
  input.AddJoypad("Pad");
  HostSetEventCreationFailureCountdown(1);  // the joypad's event is the first
  Start();
  EXPECT_EQ(gPlatform.input.joypadCount, 0);
  EXPECT_TRUE(Logged("デバイスの登録名:Padデバイスの製品登録名:Padジョイパッドイベントのセットアップが失敗しました"));
  EXPECT_EQ(GetPadInputBits(1), 0);
}

TEST_F(InputDevicesTest, AKeyboardWithoutItsEventIsStillRead) {
  HostSetEventCreationFailureCountdown(1);  // the keyboard's event is the first
  Start();
  EXPECT_TRUE(Logged("キーボードデバイスの初期化... キーボードイベントのセットアップが失敗しました"));
  input.PressKey(kKeyZ);
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
}

TEST_F(InputDevicesTest, KeysReadAsOneOrZero) {
  Start();
  input.PressKey(kKeyZ);
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
  EXPECT_EQ(IsKeyDown(kKeyX), 0);
  EXPECT_EQ(IsKeyDown(-1), 0);
  EXPECT_EQ(IsKeyDown(256), 0);
  unsigned char states[256];
  EXPECT_EQ(GetAllKeyStates(states), 0);
  for (int code = 0; code < 256; ++code) EXPECT_EQ(states[code], code == kKeyZ ? 1 : 0) << code;
}

TEST_F(InputDevicesTest, WindowSystemStatesOverrideTheLegendKeys) {
  input.SetJapaneseLayout(true);
  Start();
  // Enter on the numeric pad is also Enter in the window system's state.
  input.SetScancode(SDL_SCANCODE_KP_ENTER, true);
  EXPECT_EQ(IsKeyDown(kKeyNumpadEnter), 1);
  EXPECT_EQ(IsKeyDown(kKeyReturn), 1);
  input.ReleaseAllKeys();
  struct Case {
    SDL_Scancode scancode;
    int key;
  } cases[] = {{SDL_SCANCODE_APOSTROPHE, kKeyColon}, {SDL_SCANCODE_LEFTBRACKET, kKeyAt},
               {SDL_SCANCODE_SEMICOLON, kKeySemicolon}, {SDL_SCANCODE_INTERNATIONAL3, kKeyYen},
               {SDL_SCANCODE_INTERNATIONAL1, kKeyBackslash}, {SDL_SCANCODE_RIGHTBRACKET, kKeyLeftBracket},
               {SDL_SCANCODE_EQUALS, kKeyCircumflex}};
  for (const Case& c : cases) {
    input.SetScancode(c.scancode, true);
    EXPECT_EQ(IsKeyDown(c.key), 1) << c.key;
    input.SetScancode(c.scancode, false);
    EXPECT_EQ(IsKeyDown(c.key), 0) << c.key;
  }
}

TEST_F(InputDevicesTest, AnyInputIgnoresTheLockKeys) {
  input.SetJapaneseLayout(true);
  input.AddJoypad("Pad");
  Start();
  EXPECT_EQ(IsAnyInputDown(7), 0);
  input.PressKey(kKeyCapsLock);
  input.PressKey(kKeyKana);
  input.PressKey(kKeyKanji);
  EXPECT_EQ(IsAnyInputDown(7), 0);
  input.PressKey(kKeyX);
  input.PressKey(kKeyRight);
  EXPECT_EQ(IsAnyInputDown(7), kKeyX);  // the first code that is down
  input.ReleaseAllKeys();
  input.SetButton(0, 5, true);
  EXPECT_EQ(IsAnyInputDown(7), -1);
  EXPECT_EQ(IsAnyInputDown(4), 0);
}

TEST_F(InputDevicesTest, AnyInputCountsTheMouseOnlyOverTheActiveWindow) {
  Start();
  const IntRect client = gPlatform.window.clientRect;
  input.SetMouseButtons(SDL_BUTTON_LMASK);
  HostSetCursorPos(client.left + 10, client.top + 10);
  EXPECT_EQ(IsAnyInputDown(4), -1);
  EXPECT_EQ(IsAnyInputDown(1), 0);
  HostSetCursorPos(client.right, client.top + 10);
  EXPECT_EQ(IsAnyInputDown(7), 0);
}

TEST_F(InputDevicesTest, MouseButtonBits) {
  Start();
  input.SetMouseButtons(SDL_BUTTON_RMASK | SDL_BUTTON_MMASK | SDL_BUTTON_X2MASK);
  EXPECT_EQ(GetMouseButtons(), 2 | 4 | 16);
  InputEnd();  // without devices the window system's buttons count
  input.SetMouseButtons(SDL_BUTTON_LMASK | SDL_BUTTON_X2MASK);
  EXPECT_EQ(GetMouseButtons(), 1);
}

TEST_F(InputDevicesTest, AReadAfterTheEndStartsInputAgainAndReadsNothing) {
  Start();
  input.PressKey(kKeyZ);
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
  EXPECT_EQ(InputEnd(), 0);
  EXPECT_THAT(NewLogLines(), ElementsAreArray({"DirectInput 関連の終了処理... 完了"}));
  EXPECT_FALSE(input.Started());
  EXPECT_EQ(IsKeyDown(kKeyZ), 0);
  EXPECT_TRUE(input.Started());
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
  unsigned char states[256];
  states[kKeyZ] = 7;
  InputEnd();
  EXPECT_EQ(GetAllKeyStates(states), 0);
  EXPECT_EQ(states[kKeyZ], 7);
  InputEnd();
  EXPECT_EQ(GetPadInputBits(0x1001), 0);
  EXPECT_EQ(GetPadInputBits(0x1001), 0x10);
}

TEST_F(InputDevicesTest, KeysAreReadAgainOnlyWhenTimeMovesOrTheKeyboardSignals) {
  Start();
  clock.AdvanceOnEveryTickRead(0);
  RefreshKeyStates();
  EXPECT_EQ(RefreshKeyStates(), 0);
  input.PressKey(kKeyZ);  // the keyboard signals new data
  EXPECT_EQ(RefreshKeyStates(), 1);
  EXPECT_EQ(RefreshKeyStates(), 0);
  clock.AdvanceMs(1);
  EXPECT_EQ(RefreshKeyStates(), 1);
}

TEST_F(InputDevicesTest, WithoutTheInputSystemTheWindowSystemsStatesAndJoysticksServe) {
  WithoutInputSystem();
  input.AddJoypad("Stick", 4);
  Start();
  const std::vector<std::string> lines = LogLines();
  const auto first = std::find(lines.begin(), lines.end(), "DirectInput関係初期化処理");
  ASSERT_NE(first, lines.end());
  EXPECT_EQ(std::vector<std::string>(first, first + 6), std::vector<std::string>({
                                                            "DirectInput関係初期化処理",
                                                            "DirectInput7 の取得中... 取得に失敗。",
                                                            "エラーコード 0x80040154",
                                                            "DirectInput8 の取得を試みます...取得に失敗。DirectInput を使用しません。",
                                                            "パッドの数は 1 個です",
                                                            "入力関連の初期化をしました",
                                                        }));
  EXPECT_EQ(gPlatform.input.joypadCount, 8);
  EXPECT_EQ(IsAnyInputDown(7), 0);

  // Only the keys of the window system's tables read: not the arrows.
  input.SetScancode(SDL_SCANCODE_RETURN, true);
  input.PressKey(kKeyF12);
  input.PressKey(kKeyLeft);
  EXPECT_EQ(IsKeyDown(kKeyReturn), 1);
  EXPECT_EQ(IsKeyDown(kKeyNumpadEnter), 1);
  EXPECT_EQ(IsKeyDown(kKeyF12), 1);
  EXPECT_EQ(IsKeyDown(kKeyLeft), 0);
  EXPECT_EQ(GetPadInputBits(0x1001), 0);

  // Plain joystick axes run 0..0xFFFF with a wide centre.
  struct Case {
    uint16_t position;
    int32_t value;
  } cases[] = {{0x0000, -1000}, {0x3000, -500}, {0x6000, 0},   {0x7FFF, 0},
               {0x8000, 0},     {0xA000, 0},    {0xA001, 0},   {0xD000, 500}, {0xFFFF, 999}};
  for (const Case& c : cases) {
    input.SetAxis(0, 0, static_cast<int16_t>(c.position - 0x8000));
    input.SetAxis(0, 3, static_cast<int16_t>(c.position - 0x8000));
    GetPadInputBits(1);
    EXPECT_EQ(gPlatform.input.joypads[0].state.x, c.value) << c.position;
    EXPECT_EQ(gPlatform.input.joypads[0].state.rotationZ, c.value) << c.position;
  }
  input.SetButton(0, 2, true);
  EXPECT_EQ(GetPadInputBits(1), kPadRight | 0x40);
  EXPECT_EQ(GetPadInputBits(2), 0);  // missing joysticks read as zero
}

TEST_F(InputDevicesTest, OnceWithoutTheInputSystemAlwaysWithout) {
  WithoutInputSystem();
  Start();
  input.SetStartResult(7, 0);
  input.SetStartResult(8, 0);
  InputEnd();
  EXPECT_EQ(IsKeyDown(kKeyZ), 0);
  EXPECT_FALSE(input.Started());
  EXPECT_EQ(gPlatform.input.system, kInputWithoutSystem);
  const std::vector<std::string> lines = NewLogLines();
  EXPECT_EQ(lines.front(), "入力関連の終了処理... 完了");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "DirectInput関係初期化処理"), 0);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "入力関連の初期化をしました"), 1);
}

TEST_F(InputDevicesTest, TheSecondVersionServesWhenTheFirstFails) {
  input.SetStartResult(7, -5);
  Start();
  EXPECT_EQ(gPlatform.input.version8, 1);
  EXPECT_TRUE(Logged("DirectInput8 の取得を試みます...成功"));
  input.PressKey(kKeyZ);
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
}

TEST_F(InputDevicesTest, WaitAnyKeyWaitsForAReleaseThenForAPress) {
  Start();
  input.PressKey(kKeyZ);
  input.OnKeyboardRead([this](int reads) {
    if (reads == 6) input.ReleaseAllKeys();
    if (reads == 20) input.PressKey(kKeyX);
    if (reads == 1000) events.Push(HostMessageId::Close);  // never hang on a fault
  });
  EXPECT_EQ(WaitAnyKey(), kKeyX);
  input.OnKeyboardRead(nullptr);
}

TEST_F(InputDevicesTest, WaitAnyKeyEndsWithTheWindow) {
  Start();
  events.Push(HostMessageId::Close);
  EXPECT_EQ(WaitAnyKey(), 0);
}

TEST_F(InputDevicesTest, ReadsWaitWhileTheWindowIsInactive) {
  Start();
  input.PressKey(kKeyZ);
  gPlatform.window.active = 0;
  events.Push(HostMessageId::Paint);
  events.Push(HostMessageId::ActivateApp, 1);
  events.Push(HostMessageId::Activate, 1);
  EXPECT_EQ(IsKeyDown(kKeyZ), 1);
  EXPECT_EQ(events.Pending(), 0);
  EXPECT_EQ(IsAppActive(), 1);
}

}  // namespace
