#pragma once
// How the engine sees the player: the game's buttons (decide, cancel, sub
// and a fourth), directions in 4 and 8 ways with key repeat, the mouse, the
// function keys the shell answers and the whole keyboard. The shell's frame
// update refreshes it; the key-input command reads it through the two
// queries below.
//
// Key codes as events see them: a keyboard key is its DirectInput code + 100
// (100..355); a pad button is 301..315 for the pad bits 0x10 << (code - 301).

#include <array>
#include <cstdint>

struct InputState {
  std::array<uint8_t, 3> mouseLastFrame{};  // left, right, middle
  std::array<uint8_t, 4> directionKeys{};   // up, down, left, right held
  uint8_t ctrlHeld = 0, shiftHeld = 0;
  uint8_t ctrlPressed = 0, shiftPressed = 0;
  std::array<uint8_t, 4> directionPressed{};
  std::array<uint8_t, 4> effectiveDirections{};
  std::array<uint8_t, 3> mouseHeld{};
  std::array<uint8_t, 3> mousePressed{};
  int32_t mouseX = 0, mouseY = 0;
  int32_t direction8 = 0;
  int32_t direction4 = 0;
  int32_t pressedDirection = 0;
  int32_t direction4Repeat = 0;
  int32_t changedDirection8 = 0;
  int32_t direction8Repeat = 0;
  int32_t mouseWheel = 0;
  int32_t mouseMoveX = 0, mouseMoveY = 0;
  std::array<uint8_t, 4> liveButtonsHeld{};  // decide, cancel, sub, fourth
  std::array<uint8_t, 4> liveButtonsPressed{};
  std::array<uint8_t, 4> buttonsHeld{};  // as the game sees them
  std::array<uint8_t, 4> buttonsPressed{};
  // F4, F5, F9, F8, F12, Print Screen: held, new press.
  std::array<std::array<uint8_t, 2>, 6> functionKeys{};
  int32_t previousMouseX = 0, previousMouseY = 0;
  std::array<uint8_t, 256> keyboard{};  // by DirectInput key code, 1 while down
  int32_t decideRepeat = 0, cancelRepeat = 0;
  int32_t decideHoldCount = 0, cancelHoldCount = 0;

  void Reset();
};

enum GameButton : int32_t { kButtonDecide = 0, kButtonCancel = 1, kButtonSub = 2, kButtonFourth = 3 };
enum Direction : int32_t { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

extern InputState Input;

// The key tests of the key-input command. code: one key to test (100..355 a
// keyboard key; 300..320 a pad code), any other value for any key. Results
// are key codes or 0. lastKey is the caller's memory of the key found last
// (the DirectInput code for the keyboard, the pad code for the pad): with
// remember set a key found is remembered and not delivered again while it
// stays the last; with suppress set a key equal to the last is not
// delivered.
int32_t KeyboardKeyQuery(bool remember, bool suppress, int32_t& lastKey, int32_t code);
int32_t PadButtonQuery(bool remember, bool suppress, int32_t& lastKey, int32_t code);

// Where the pad query reads the first pad's bits (the layer's pad input by
// default; tests replace it). Null restores the default.
void SetPadBitsReader(int (*reader)(int type));
