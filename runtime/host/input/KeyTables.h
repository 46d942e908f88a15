#pragma once
// From the window system's scancodes (SDL's, by key position) to the
// layer's key codes and to virtual keys. Most keys sit in the same place on
// every keyboard; the punctuation keys of a Japanese layout carry other
// legends than the same places of a US one, and read as the Japanese keys
// (at, colon, circumflex, kanji) when the layout is Japanese. The keys that
// only Japanese keyboards have (yen, ro, kana, convert, no-convert) read as
// themselves under any layout.

#include <cstdint>

// 0 for a scancode with no key code.
int HostKeyCodeOfScancode(int scancode, bool japaneseLayout);
// 0 for a scancode with no virtual key. The two Shift, Control and Alt keys
// give their left and right virtual keys; the window system's keyboard state
// also sets the plain Shift, Control and Alt keys for them.
int HostVirtualKeyOfScancode(int scancode, bool japaneseLayout);
