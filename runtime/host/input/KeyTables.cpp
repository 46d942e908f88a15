#include "runtime/host/input/KeyTables.h"

#include <SDL.h>

#include "runtime/host/input/KeyCodes.h"

namespace {

struct Pair {
  SDL_Scancode scancode;
  int32_t code;
};

// Key codes by position, as a US keyboard is laid out.
constexpr Pair kKeyCodes[] = {
    {SDL_SCANCODE_ESCAPE, kKeyEscape},
    {SDL_SCANCODE_1, kKey1},
    {SDL_SCANCODE_2, kKey1 + 1},
    {SDL_SCANCODE_3, kKey1 + 2},
    {SDL_SCANCODE_4, kKey1 + 3},
    {SDL_SCANCODE_5, kKey1 + 4},
    {SDL_SCANCODE_6, kKey1 + 5},
    {SDL_SCANCODE_7, kKey1 + 6},
    {SDL_SCANCODE_8, kKey1 + 7},
    {SDL_SCANCODE_9, kKey1 + 8},
    {SDL_SCANCODE_0, kKey0},
    {SDL_SCANCODE_MINUS, kKeyMinus},
    {SDL_SCANCODE_EQUALS, kKeyEquals},
    {SDL_SCANCODE_BACKSPACE, kKeyBack},
    {SDL_SCANCODE_TAB, kKeyTab},
    {SDL_SCANCODE_Q, kKeyQ},
    {SDL_SCANCODE_W, kKeyW},
    {SDL_SCANCODE_E, kKeyE},
    {SDL_SCANCODE_R, kKeyR},
    {SDL_SCANCODE_T, kKeyT},
    {SDL_SCANCODE_Y, kKeyY},
    {SDL_SCANCODE_U, kKeyU},
    {SDL_SCANCODE_I, kKeyI},
    {SDL_SCANCODE_O, kKeyO},
    {SDL_SCANCODE_P, kKeyP},
    {SDL_SCANCODE_LEFTBRACKET, kKeyLeftBracket},
    {SDL_SCANCODE_RIGHTBRACKET, kKeyRightBracket},
    {SDL_SCANCODE_RETURN, kKeyReturn},
    {SDL_SCANCODE_LCTRL, kKeyLeftControl},
    {SDL_SCANCODE_A, kKeyA},
    {SDL_SCANCODE_S, kKeyS},
    {SDL_SCANCODE_D, kKeyD},
    {SDL_SCANCODE_F, kKeyF},
    {SDL_SCANCODE_G, kKeyG},
    {SDL_SCANCODE_H, kKeyH},
    {SDL_SCANCODE_J, kKeyJ},
    {SDL_SCANCODE_K, kKeyK},
    {SDL_SCANCODE_L, kKeyL},
    {SDL_SCANCODE_SEMICOLON, kKeySemicolon},
    {SDL_SCANCODE_APOSTROPHE, kKeyApostrophe},
    {SDL_SCANCODE_GRAVE, kKeyGrave},
    {SDL_SCANCODE_LSHIFT, kKeyLeftShift},
    {SDL_SCANCODE_BACKSLASH, kKeyBackslash},
    {SDL_SCANCODE_NONUSHASH, kKeyBackslash},
    {SDL_SCANCODE_Z, kKeyZ},
    {SDL_SCANCODE_X, kKeyX},
    {SDL_SCANCODE_C, kKeyC},
    {SDL_SCANCODE_V, kKeyV},
    {SDL_SCANCODE_B, kKeyB},
    {SDL_SCANCODE_N, kKeyN},
    {SDL_SCANCODE_M, kKeyM},
    {SDL_SCANCODE_COMMA, kKeyComma},
    {SDL_SCANCODE_PERIOD, kKeyPeriod},
    {SDL_SCANCODE_SLASH, kKeySlash},
    {SDL_SCANCODE_RSHIFT, kKeyRightShift},
    {SDL_SCANCODE_KP_MULTIPLY, kKeyMultiply},
    {SDL_SCANCODE_LALT, kKeyLeftAlt},
    {SDL_SCANCODE_SPACE, kKeySpace},
    {SDL_SCANCODE_CAPSLOCK, kKeyCapsLock},
    {SDL_SCANCODE_F1, kKeyF1},
    {SDL_SCANCODE_F2, kKeyF1 + 1},
    {SDL_SCANCODE_F3, kKeyF1 + 2},
    {SDL_SCANCODE_F4, kKeyF1 + 3},
    {SDL_SCANCODE_F5, kKeyF1 + 4},
    {SDL_SCANCODE_F6, kKeyF1 + 5},
    {SDL_SCANCODE_F7, kKeyF1 + 6},
    {SDL_SCANCODE_F8, kKeyF1 + 7},
    {SDL_SCANCODE_F9, kKeyF1 + 8},
    {SDL_SCANCODE_F10, kKeyF1 + 9},
    {SDL_SCANCODE_NUMLOCKCLEAR, kKeyNumLock},
    {SDL_SCANCODE_SCROLLLOCK, kKeyScrollLock},
    {SDL_SCANCODE_KP_7, kKeyNumpad7},
    {SDL_SCANCODE_KP_8, kKeyNumpad8},
    {SDL_SCANCODE_KP_9, kKeyNumpad9},
    {SDL_SCANCODE_KP_MINUS, kKeySubtract},
    {SDL_SCANCODE_KP_4, kKeyNumpad4},
    {SDL_SCANCODE_KP_5, kKeyNumpad5},
    {SDL_SCANCODE_KP_6, kKeyNumpad6},
    {SDL_SCANCODE_KP_PLUS, kKeyAdd},
    {SDL_SCANCODE_KP_1, kKeyNumpad1},
    {SDL_SCANCODE_KP_2, kKeyNumpad2},
    {SDL_SCANCODE_KP_3, kKeyNumpad3},
    {SDL_SCANCODE_KP_0, kKeyNumpad0},
    {SDL_SCANCODE_KP_PERIOD, kKeyDecimal},
    {SDL_SCANCODE_NONUSBACKSLASH, kKeyNonUsBackslash},
    {SDL_SCANCODE_F11, kKeyF11},
    {SDL_SCANCODE_F12, kKeyF12},
    {SDL_SCANCODE_F13, kKeyF13},
    {SDL_SCANCODE_F14, kKeyF14},
    {SDL_SCANCODE_F15, kKeyF15},
    {SDL_SCANCODE_INTERNATIONAL2, kKeyKana},
    {SDL_SCANCODE_LANG1, kKeyKana},
    {SDL_SCANCODE_INTERNATIONAL1, kKeyRo},
    {SDL_SCANCODE_INTERNATIONAL4, kKeyConvert},
    {SDL_SCANCODE_INTERNATIONAL5, kKeyNoConvert},
    {SDL_SCANCODE_INTERNATIONAL3, kKeyYen},
    {SDL_SCANCODE_KP_EQUALS, kKeyNumpadEquals},
    {SDL_SCANCODE_KP_ENTER, kKeyNumpadEnter},
    {SDL_SCANCODE_RCTRL, kKeyRightControl},
    {SDL_SCANCODE_KP_COMMA, kKeyNumpadComma},
    {SDL_SCANCODE_KP_DIVIDE, kKeyDivide},
    {SDL_SCANCODE_PRINTSCREEN, kKeyPrintScreen},
    {SDL_SCANCODE_RALT, kKeyRightAlt},
    {SDL_SCANCODE_PAUSE, kKeyPause},
    {SDL_SCANCODE_HOME, kKeyHome},
    {SDL_SCANCODE_UP, kKeyUp},
    {SDL_SCANCODE_PAGEUP, kKeyPageUp},
    {SDL_SCANCODE_LEFT, kKeyLeft},
    {SDL_SCANCODE_RIGHT, kKeyRight},
    {SDL_SCANCODE_END, kKeyEnd},
    {SDL_SCANCODE_DOWN, kKeyDown},
    {SDL_SCANCODE_PAGEDOWN, kKeyPageDown},
    {SDL_SCANCODE_INSERT, kKeyInsert},
    {SDL_SCANCODE_DELETE, kKeyDelete},
    {SDL_SCANCODE_LGUI, kKeyLeftWindows},
    {SDL_SCANCODE_RGUI, kKeyRightWindows},
    {SDL_SCANCODE_APPLICATION, kKeyApplication},
    {SDL_SCANCODE_POWER, kKeyPower},
};

// The places whose legends differ on a Japanese layout.
constexpr Pair kJapaneseKeyCodes[] = {
    {SDL_SCANCODE_EQUALS, kKeyCircumflex},       {SDL_SCANCODE_LEFTBRACKET, kKeyAt},
    {SDL_SCANCODE_RIGHTBRACKET, kKeyLeftBracket}, {SDL_SCANCODE_BACKSLASH, kKeyRightBracket},
    {SDL_SCANCODE_NONUSHASH, kKeyRightBracket},  {SDL_SCANCODE_APOSTROPHE, kKeyColon},
    {SDL_SCANCODE_GRAVE, kKeyKanji},
};

// Virtual keys by position, as a US layout assigns them.
constexpr Pair kVirtualKeys[] = {
    {SDL_SCANCODE_BACKSPACE, kVirtualBack},
    {SDL_SCANCODE_TAB, kVirtualTab},
    {SDL_SCANCODE_RETURN, kVirtualReturn},
    {SDL_SCANCODE_KP_ENTER, kVirtualReturn},
    {SDL_SCANCODE_PAUSE, kVirtualPause},
    {SDL_SCANCODE_CAPSLOCK, kVirtualCapsLock},
    {SDL_SCANCODE_ESCAPE, kVirtualEscape},
    {SDL_SCANCODE_SPACE, kVirtualSpace},
    {SDL_SCANCODE_PAGEUP, kVirtualPageUp},
    {SDL_SCANCODE_PAGEDOWN, kVirtualPageDown},
    {SDL_SCANCODE_END, kVirtualEnd},
    {SDL_SCANCODE_HOME, kVirtualHome},
    {SDL_SCANCODE_LEFT, kVirtualLeft},
    {SDL_SCANCODE_UP, kVirtualUp},
    {SDL_SCANCODE_RIGHT, kVirtualRight},
    {SDL_SCANCODE_DOWN, kVirtualDown},
    {SDL_SCANCODE_INSERT, kVirtualInsert},
    {SDL_SCANCODE_DELETE, kVirtualDelete},
    {SDL_SCANCODE_SCROLLLOCK, kVirtualScrollLock},
    {SDL_SCANCODE_LSHIFT, kVirtualLeftShift},
    {SDL_SCANCODE_RSHIFT, kVirtualRightShift},
    {SDL_SCANCODE_LCTRL, kVirtualLeftControl},
    {SDL_SCANCODE_RCTRL, kVirtualRightControl},
    {SDL_SCANCODE_LALT, kVirtualLeftAlt},
    {SDL_SCANCODE_RALT, kVirtualRightAlt},
    {SDL_SCANCODE_SEMICOLON, kVirtualOem1},
    {SDL_SCANCODE_EQUALS, kVirtualOemPlus},
    {SDL_SCANCODE_COMMA, kVirtualOemComma},
    {SDL_SCANCODE_MINUS, kVirtualOemMinus},
    {SDL_SCANCODE_PERIOD, kVirtualOemPeriod},
    {SDL_SCANCODE_SLASH, kVirtualOem2},
    {SDL_SCANCODE_GRAVE, kVirtualOem3},
    {SDL_SCANCODE_LEFTBRACKET, kVirtualOem4},
    {SDL_SCANCODE_BACKSLASH, kVirtualOem5},
    {SDL_SCANCODE_NONUSHASH, kVirtualOem5},
    {SDL_SCANCODE_RIGHTBRACKET, kVirtualOem6},
    {SDL_SCANCODE_APOSTROPHE, kVirtualOem7},
    {SDL_SCANCODE_NONUSBACKSLASH, kVirtualOem102},
};

// A Japanese layout's assignment of the punctuation keys. Its hankaku key
// (the US grave place) has no virtual key the layer reads.
constexpr Pair kJapaneseVirtualKeys[] = {
    {SDL_SCANCODE_SEMICOLON, kVirtualOemPlus},  {SDL_SCANCODE_APOSTROPHE, kVirtualOem1},
    {SDL_SCANCODE_EQUALS, kVirtualOem7},        {SDL_SCANCODE_LEFTBRACKET, kVirtualOem3},
    {SDL_SCANCODE_RIGHTBRACKET, kVirtualOem4},  {SDL_SCANCODE_BACKSLASH, kVirtualOem6},
    {SDL_SCANCODE_NONUSHASH, kVirtualOem6},     {SDL_SCANCODE_INTERNATIONAL3, kVirtualOem5},
    {SDL_SCANCODE_INTERNATIONAL1, kVirtualOem102}, {SDL_SCANCODE_GRAVE, 0},
};

template <size_t N>
bool Lookup(const Pair (&table)[N], int scancode, int* code) {
  for (const Pair& p : table) {
    if (p.scancode == scancode) {
      *code = p.code;
      return true;
    }
  }
  return false;
}

}  // namespace

int HostKeyCodeOfScancode(int scancode, bool japaneseLayout) {
  int code = 0;
  if (japaneseLayout && Lookup(kJapaneseKeyCodes, scancode, &code)) return code;
  Lookup(kKeyCodes, scancode, &code);
  return code;
}

int HostVirtualKeyOfScancode(int scancode, bool japaneseLayout) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return kVirtualA + (scancode - SDL_SCANCODE_A);
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return kVirtual0 + 1 + (scancode - SDL_SCANCODE_1);
  if (scancode == SDL_SCANCODE_0) return kVirtual0;
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return kVirtualF1 + (scancode - SDL_SCANCODE_F1);
  int key = 0;
  if (japaneseLayout && Lookup(kJapaneseVirtualKeys, scancode, &key)) return key;
  Lookup(kVirtualKeys, scancode, &key);
  return key;
}
