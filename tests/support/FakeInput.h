#pragma once
// Keyboard, mouse and joypads without devices: while it lives, the input
// devices read their raw data from here. Starts with a US layout, nothing
// pressed and no joypad; the input system starts in either version.

#include <cstdint>
#include <functional>
#include <utility>
#include <string>
#include <vector>

class FakeInput {
 public:
  FakeInput();
  ~FakeInput();
  FakeInput(const FakeInput&) = delete;
  FakeInput& operator=(const FakeInput&) = delete;

  void SetJapaneseLayout(bool japanese);
  // By the window system's scancode.
  void SetScancode(int scancode, bool down);
  // The key that gives this key code under the current layout.
  void PressKey(int keyCode);
  void ReleaseKey(int keyCode);
  void ReleaseAllKeys();
  // Bits 0-4: left, middle, right, back, forward.
  void SetMouseButtons(uint32_t bits);

  // A new joypad, found when the input system starts; returns its index.
  int AddJoypad(const std::string& name, int axisCount = 2);
  void SetAxis(int pad, int axis, int16_t value);
  void SetButton(int pad, int button, bool pressed);
  // Bits: 1 up, 2 right, 4 down, 8 left.
  void SetHat(int pad, int hat, uint8_t bits);
  // The joypad is gone: reads of it fail.
  void Unplug(int pad);

  // Starting the input system in this version gives this result (0 works).
  void SetStartResult(int version, int32_t result);
  bool Started() const;

  struct Rumble {
    int pad;
    uint16_t low;
    uint16_t high;
    uint32_t ms;
  };
  const std::vector<Rumble>& Rumbles() const;

  // Called before each read of the keyboard, with the number of reads so far
  // (the first call gets 0): lets a test change the keys while code waits.
  void OnKeyboardRead(std::function<void(int reads)> hook);
};
