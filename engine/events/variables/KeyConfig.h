#pragma once
// The key configuration: which keyboard key and which pad button act as the
// decide, cancel and sub buttons. It lives in a root runner's key codes;
// a null record means the global root runner.
//
// Key codes as events see them: a keyboard key is its DirectInput code + 100
// (100..355); a pad button is 301..315 for the pad bits 0x10 << (code - 301).

#include <cstdint>
#include <string>

#include "engine/events/variables/RootEventRunner.h"

enum ConfigButton : int32_t { kDecideButton = 0, kCancelButton = 1, kSubButton = 2 };

// Sets button 0-2 of the kind (keyboard 1, pad 0) to code; a button that
// already held the code takes the button's old one, so no two buttons share
// a key.
void SetKeyConfig(int32_t code, int32_t button, int32_t keyboard, RootEventRunner* record = nullptr);

// The key code of the button; for the pad 301..315, or 0 when the stored mask
// is not one of the 15 pad bits. 0 for a button outside 0-2.
int32_t GetKeyConfig(int32_t button, int32_t keyboard, const RootEventRunner* record = nullptr);

// The display name of the configured key ("ボタン1".."ボタン15" for pad
// buttons); "" when it has none.
std::string KeyConfigName(int32_t button, int32_t keyboard, const RootEventRunner* record = nullptr);

// The display name of a keyboard key by its DirectInput code; "" for codes
// without one.
const char* KeyName(int32_t directInputCode);
