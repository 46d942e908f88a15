#pragma once
// Keyboard, mouse and joypads. Keys are read as 256 states by key code
// (runtime/host/KeyCodes.h); up to 8 joypads give pad input bits, and a key
// map lets keys stand in for joypad inputs. The layer starts input right
// after its window exists; input that was ended starts again at the next
// read.

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

// The reads below wait while the window is inactive; when input is not
// started they start it and return 0 without reading.

// 1 down, 0 up (and for a code outside 0..255).
int IsKeyDown(int key);
// flags: 1 keys and joypads, 4 mouse buttons (over the active window's
// client area). The first key code down (Caps Lock, Kana and Kanji aside),
// -1 for a joypad or mouse button, 0 for none.
int IsAnyInputDown(int flags);
// 1 or 0 per key code into 256 bytes. 0.
int GetAllKeyStates(unsigned char* states);
// type: a joypad number from 1, plus kPadWithKeyboard for the keyboard as
// well; kPadWithKeyboard alone is the keyboard through the first map.
int GetPadInputBits(int type);

// Bit k - 1 for the k-th button (left, right, middle, ...).
int GetMouseButtons();

// Waits, pumping, until nothing is down, then until something is; returns
// the last IsAnyInputDown(7).
int WaitAnyKey();
