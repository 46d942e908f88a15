#include "runtime/host/input/InputDevices.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "runtime/host/input/InputSource.h"
#include "runtime/host/input/KeyCodes.h"
#include "runtime/host/input/KeyTables.h"
#include "tests/support/FakeInput.h"

namespace {

TEST(KeyTables, ScancodesGiveKeyCodesWithTheJapaneseKeys) {
  struct Case {
    SDL_Scancode scancode;
    int us;
    int japanese;
  } cases[] = {
      {SDL_SCANCODE_Z, kKeyZ, kKeyZ},
      {SDL_SCANCODE_1, kKey1, kKey1},
      {SDL_SCANCODE_0, kKey0, kKey0},
      {SDL_SCANCODE_F11, kKeyF11, kKeyF11},
      {SDL_SCANCODE_RIGHT, kKeyRight, kKeyRight},
      {SDL_SCANCODE_KP_ENTER, kKeyNumpadEnter, kKeyNumpadEnter},
      {SDL_SCANCODE_KP_2, kKeyNumpad2, kKeyNumpad2},
      {SDL_SCANCODE_RCTRL, kKeyRightControl, kKeyRightControl},
      {SDL_SCANCODE_PRINTSCREEN, kKeyPrintScreen, kKeyPrintScreen},
      {SDL_SCANCODE_CAPSLOCK, kKeyCapsLock, kKeyCapsLock},
      // Places whose legends a Japanese layout changes.
      {SDL_SCANCODE_LEFTBRACKET, kKeyLeftBracket, kKeyAt},
      {SDL_SCANCODE_RIGHTBRACKET, kKeyRightBracket, kKeyLeftBracket},
      {SDL_SCANCODE_BACKSLASH, kKeyBackslash, kKeyRightBracket},
      {SDL_SCANCODE_APOSTROPHE, kKeyApostrophe, kKeyColon},
      {SDL_SCANCODE_EQUALS, kKeyEquals, kKeyCircumflex},
      {SDL_SCANCODE_GRAVE, kKeyGrave, kKeyKanji},
      {SDL_SCANCODE_SEMICOLON, kKeySemicolon, kKeySemicolon},
      // Keys only Japanese keyboards have.
      {SDL_SCANCODE_INTERNATIONAL1, kKeyRo, kKeyRo},
      {SDL_SCANCODE_INTERNATIONAL2, kKeyKana, kKeyKana},
      {SDL_SCANCODE_INTERNATIONAL3, kKeyYen, kKeyYen},
      {SDL_SCANCODE_INTERNATIONAL4, kKeyConvert, kKeyConvert},
      {SDL_SCANCODE_INTERNATIONAL5, kKeyNoConvert, kKeyNoConvert},
      {SDL_SCANCODE_F24, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostKeyCodeOfScancode(c.scancode, false), c.us) << SDL_GetScancodeName(c.scancode);
    EXPECT_EQ(HostKeyCodeOfScancode(c.scancode, true), c.japanese) << SDL_GetScancodeName(c.scancode);
  }
}

TEST(KeyTables, NoTwoKeysShareACodeButTheKnownAliases) {
  // One physical key that SDL may report under either of two scancodes.
  const std::set<int> aliases = {SDL_SCANCODE_NONUSHASH, SDL_SCANCODE_LANG1};
  for (const bool japanese : {false, true}) {
    std::map<int, int> scancodeOfCode;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
      const int code = HostKeyCodeOfScancode(scancode, japanese);
      if (code == 0 || aliases.count(scancode)) continue;
      EXPECT_TRUE(scancodeOfCode.emplace(code, scancode).second)
          << "code " << code << " from " << scancode << " and " << scancodeOfCode[code];
    }
  }
}

TEST(KeyTables, ScancodesGiveVirtualKeysByLayout) {
  struct Case {
    SDL_Scancode scancode;
    int us;
    int japanese;
  } cases[] = {
      {SDL_SCANCODE_A, kVirtualA, kVirtualA},
      {SDL_SCANCODE_Z, kVirtualA + 25, kVirtualA + 25},
      {SDL_SCANCODE_1, kVirtual0 + 1, kVirtual0 + 1},
      {SDL_SCANCODE_0, kVirtual0, kVirtual0},
      {SDL_SCANCODE_F12, kVirtualF1 + 11, kVirtualF1 + 11},
      {SDL_SCANCODE_KP_ENTER, kVirtualReturn, kVirtualReturn},
      {SDL_SCANCODE_RSHIFT, kVirtualRightShift, kVirtualRightShift},
      {SDL_SCANCODE_SEMICOLON, kVirtualOem1, kVirtualOemPlus},
      {SDL_SCANCODE_APOSTROPHE, kVirtualOem7, kVirtualOem1},
      {SDL_SCANCODE_LEFTBRACKET, kVirtualOem4, kVirtualOem3},
      {SDL_SCANCODE_EQUALS, kVirtualOemPlus, kVirtualOem7},
      {SDL_SCANCODE_INTERNATIONAL3, 0, kVirtualOem5},
      {SDL_SCANCODE_INTERNATIONAL1, 0, kVirtualOem102},
      {SDL_SCANCODE_GRAVE, kVirtualOem3, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostVirtualKeyOfScancode(c.scancode, false), c.us) << SDL_GetScancodeName(c.scancode);
    EXPECT_EQ(HostVirtualKeyOfScancode(c.scancode, true), c.japanese) << SDL_GetScancodeName(c.scancode);
  }
}

// The input system started on the fake source; stopped again at the end.
class HostInputTest : public ::testing::Test {
 protected:
  void TearDown() override { HostInputSystemStop(); }

  HostInputDevice* Joypad(int axisCount = 2) {
    const int index = input.AddJoypad("Pad", axisCount);
    EXPECT_EQ(HostInputSystemStart(7), 0);
    HostInputDevice* pad = HostCreateJoypadDevice(index);
    EXPECT_NE(pad, nullptr);
    return pad;
  }

  FakeInput input;
};

TEST_F(HostInputTest, NoDevicesWithoutTheInputSystem) {
  input.SetStartResult(7, 0x1234);
  EXPECT_EQ(HostInputSystemStart(7), 0x1234);
  EXPECT_EQ(HostCreateKeyboardDevice(), nullptr);
  EXPECT_EQ(HostCreateMouseDevice(), nullptr);
  EXPECT_EQ(HostAttachedJoypadCount(), 0);
  EXPECT_EQ(HostInputSystemStart(8), 0);
  EXPECT_NE(HostCreateKeyboardDevice(), nullptr);
}

TEST_F(HostInputTest, KeyboardReadsByKeyCodeOnceAcquired) {
  ASSERT_EQ(HostInputSystemStart(7), 0);
  HostInputDevice* keyboard = HostCreateKeyboardDevice();
  HostEvent* event = HostCreateEvent(false);
  ASSERT_TRUE(HostSetNotification(keyboard, event));
  uint8_t states[256];
  EXPECT_FALSE(HostReadKeyboard(keyboard, states));
  ASSERT_TRUE(HostAcquire(keyboard));

  input.SetJapaneseLayout(true);
  input.SetScancode(SDL_SCANCODE_APOSTROPHE, true);
  input.SetScancode(SDL_SCANCODE_Z, true);
  EXPECT_TRUE(HostIsEventSet(event));
  ASSERT_TRUE(HostReadKeyboard(keyboard, states));
  for (int code = 0; code < 256; ++code) {
    EXPECT_EQ(states[code], code == kKeyColon || code == kKeyZ ? 0x80 : 0) << code;
  }

  HostUnacquire(keyboard);
  EXPECT_FALSE(HostReadKeyboard(keyboard, states));
  HostSetNotification(keyboard, nullptr);
  HostResetEvent(event);
  input.SetScancode(SDL_SCANCODE_Z, false);
  EXPECT_FALSE(HostIsEventSet(event));
  HostReleaseDevice(keyboard);
  HostDestroyEvent(event);
}

TEST_F(HostInputTest, MouseButtonsComeLeftRightMiddle) {
  ASSERT_EQ(HostInputSystemStart(7), 0);
  HostInputDevice* mouse = HostCreateMouseDevice();
  ASSERT_TRUE(HostAcquire(mouse));
  input.SetMouseButtons(SDL_BUTTON_RMASK | SDL_BUTTON_X1MASK);
  HostMouseState state;
  ASSERT_TRUE(HostReadMouse(mouse, &state));
  const uint8_t expected[8] = {0, 0x80, 0, 0x80, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(state.buttons[i], expected[i]) << i;
}

TEST_F(HostInputTest, AxesFollowTheirRangeAndDeadZone) {
  HostInputDevice* pad = Joypad();
  ASSERT_TRUE(HostSetAxisRange(pad, HostAxis::X, -1000, 1000));
  ASSERT_TRUE(HostSetAxisDeadZone(pad, HostAxis::X, 2500));
  EXPECT_FALSE(HostSetAxisDeadZone(pad, HostAxis::X, 10001));
  EXPECT_FALSE(HostSetAxisRange(pad, HostAxis::X, 5, 4));
  ASSERT_TRUE(HostAcquire(pad));
  struct Case {
    int16_t raw;
    int32_t x;  // -1000..1000, a quarter dead
    int32_t y;  // the default range 0..65535, no dead zone
  } cases[] = {
      {0, 0, 32768},          {8191, 0, 40959},     {-8191, 0, 24576},      {16384, 333, 49152},
      {-16384, -333, 16383},  {32767, 1000, 65535}, {-32768, -1000, 0},     {-32767, -1000, 0},
      {8192, 0, 40960},       {9000, 33, 41768},    {-9000, -33, 23767},
  };
  for (const Case& c : cases) {
    input.SetAxis(0, 0, c.raw);
    input.SetAxis(0, 1, c.raw);
    HostJoypadState state;
    ASSERT_TRUE(HostPollJoypad(pad));
    ASSERT_TRUE(HostReadJoypad(pad, &state));
    EXPECT_EQ(state.x, c.x) << c.raw;
    EXPECT_EQ(state.y, c.y) << c.raw;
  }
}

TEST_F(HostInputTest, HatsButtonsAndAGoneJoypad) {
  HostInputDevice* pad = Joypad();
  HostEvent* event = HostCreateEvent(false);
  HostSetNotification(pad, event);
  ASSERT_TRUE(HostAcquire(pad));
  input.SetButton(0, 31, true);
  EXPECT_TRUE(HostIsEventSet(event));
  const uint8_t hats[] = {0, 1, 3, 2, 6, 4, 12, 8, 9};
  const uint32_t povs[] = {0xFFFFFFFFu, 0, 4500, 9000, 13500, 18000, 22500, 27000, 31500};
  for (size_t i = 0; i < sizeof hats; ++i) {
    input.SetHat(0, 1, hats[i]);
    HostJoypadState state;
    ASSERT_TRUE(HostReadJoypad(pad, &state));
    EXPECT_EQ(state.pov[1], povs[i]) << int(hats[i]);
    EXPECT_EQ(state.pov[0], 0xFFFFFFFFu);
    EXPECT_EQ(state.buttons[31], 0x80);
    EXPECT_EQ(state.buttons[0], 0);
  }
  input.Unplug(0);
  HostJoypadState state;
  EXPECT_FALSE(HostReadJoypad(pad, &state));
  HostUnacquire(pad);
  EXPECT_FALSE(HostAcquire(pad));
  HostSetNotification(pad, nullptr);
  HostDestroyEvent(event);
}

TEST_F(HostInputTest, RumbleAndItsStop) {
  HostInputDevice* pad = Joypad();
  HostJoypadRumble(pad, 0x8000, 0xFFFF, 500);
  HostStopEffects(pad);
  HostStopEffects(nullptr);
  ASSERT_EQ(input.Rumbles().size(), 2u);
  EXPECT_EQ(input.Rumbles()[0].low, 0x8000);
  EXPECT_EQ(input.Rumbles()[0].high, 0xFFFF);
  EXPECT_EQ(input.Rumbles()[0].ms, 500u);
  EXPECT_EQ(input.Rumbles()[1].ms, 0u);
  EXPECT_EQ(input.Rumbles()[1].high, 0);
}

TEST_F(HostInputTest, VirtualKeyStatesAndPlainJoysticksNeedNoInputSystem) {
  input.SetScancode(SDL_SCANCODE_LSHIFT, true);
  input.SetScancode(SDL_SCANCODE_KP_ENTER, true);
  input.SetMouseButtons(SDL_BUTTON_MMASK);
  uint8_t states[256];
  HostGetVirtualKeyStates(states);
  for (int key = 0; key < 256; ++key) {
    const bool down = key == kVirtualLeftShift || key == kVirtualShift || key == kVirtualReturn ||
                      key == kVirtualMiddleButton;
    EXPECT_EQ(states[key], down ? 0x80 : 0) << key;
  }

  input.AddJoypad("two axes", 2);
  input.AddJoypad("four axes", 4);
  HostJoystickCaps caps;
  ASSERT_TRUE(HostJoystickGetCaps(0, &caps));
  EXPECT_FALSE(caps.hasZ);
  ASSERT_TRUE(HostJoystickGetCaps(1, &caps));
  EXPECT_TRUE(caps.hasZ && caps.hasR);
  EXPECT_FALSE(HostJoystickGetCaps(2, &caps));

  input.SetAxis(1, 0, -32768);
  input.SetAxis(1, 3, 32767);
  input.SetButton(1, 2, true);
  HostJoystickPosition position;
  ASSERT_TRUE(HostJoystickGetPosition(1, &position));
  EXPECT_EQ(position.x, 0u);
  EXPECT_EQ(position.y, 0x8000u);
  EXPECT_EQ(position.r, 0xFFFFu);
  EXPECT_EQ(position.buttons, 4u);
}

TEST(SdlInputSourceTest, AJoypadNameTooLongIsCutAtACharacterBoundary) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  std::string utf8;
  for (int i = 0; i < 200; ++i) utf8 += "\xe3\x82\xa2";  // 400 bytes in CP932
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = 2;
  desc.nbuttons = 4;
  desc.name = utf8.c_str();
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  ASSERT_GE(device, 0) << SDL_GetError();

  HostSetInputSource(nullptr);
  const HostInputSource* sdl = HostCurrentInputSource();
  ASSERT_EQ(sdl->start(8, nullptr), 0);
  ASSERT_EQ(sdl->joypadCount(), 1);
  char name[260];
  ASSERT_TRUE(sdl->joypadName(0, name, sizeof name));
  std::string whole;  // 129 characters fit in 259 bytes
  for (int i = 0; i < 129; ++i) whole += "\x83\x41";
  EXPECT_EQ(std::string(name), whole);
  sdl->stop();
  SDL_JoystickDetachVirtual(device);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
