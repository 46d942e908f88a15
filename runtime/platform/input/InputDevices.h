#pragma once
// Keyboard, mouse and joypads. Keys are read as 256 states by key code
// (runtime/host/KeyCodes.h); up to 8 joypads give pad input bits, and a key
// map lets keys stand in for joypad inputs. The layer starts input right
// after its window exists; input that was ended starts again at the next
// read.

#include "runtime/Movan.h"

// Pad input bits.
constexpr int kPadDown = 0x1;
constexpr int kPadLeft = 0x2;
constexpr int kPadRight = 0x4;
constexpr int kPadUp = 0x8;
constexpr int kPadFirstButtonBit = 4;  // button n sets bit n + 3
// Added to a joypad number: the keyboard through the key map as well.
constexpr int kPadWithKeyboard = 0x1000;

// 0; 1 when the keyboard's notification could not be set up. Device
// failures end the layer (fatal exit).
int InputInit();
int InputEnd();
// Finds the attached joypads again. 0.
int InitJoypads();
int ReleaseJoypads();
// The window's activation changed: joypads are exclusive while it is active.
int ReacquireInputDevices();

// 1 when the key states were read anew; at most once per millisecond unless
// the keyboard signalled new data.
int RefreshKeyStates();
// Joypad index 0..7; at most once per millisecond unless it signalled.
void PollJoypad(int index);
