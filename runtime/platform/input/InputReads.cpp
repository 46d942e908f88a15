// Reading the keys, joypads and mouse, and the entry points over them.

#include <cstring>
#include <thread>

#include "runtime/host/system/Clock.h"
#include "runtime/host/window/Cursor.h"
#include "runtime/host/input/InputDevices.h"
#include "runtime/host/input/KeyCodes.h"
#include "runtime/platform/input/InputDevices.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformState.h"

namespace {

struct KeyPair {
  int32_t virtualKey;
  int32_t keyCode;
};

// Keys whose state always comes from the window system's keyboard state, by
// the legends of a Japanese layout.
constexpr KeyPair kMergedKeys[] = {
    {kVirtualA + 0, kKeyA},  {kVirtualA + 1, kKeyB},  {kVirtualA + 2, kKeyC},  {kVirtualA + 3, kKeyD},
    {kVirtualA + 4, kKeyE},  {kVirtualA + 5, kKeyF},  {kVirtualA + 6, kKeyG},  {kVirtualA + 7, kKeyH},
    {kVirtualA + 8, kKeyI},  {kVirtualA + 9, kKeyJ},  {kVirtualA + 10, kKeyK}, {kVirtualA + 11, kKeyL},
    {kVirtualA + 12, kKeyM}, {kVirtualA + 13, kKeyN}, {kVirtualA + 14, kKeyO}, {kVirtualA + 15, kKeyP},
    {kVirtualA + 16, kKeyQ}, {kVirtualA + 17, kKeyR}, {kVirtualA + 18, kKeyS}, {kVirtualA + 19, kKeyT},
    {kVirtualA + 20, kKeyU}, {kVirtualA + 21, kKeyV}, {kVirtualA + 22, kKeyW}, {kVirtualA + 23, kKeyX},
    {kVirtualA + 24, kKeyY}, {kVirtualA + 25, kKeyZ},
    {kVirtual0, kKey0},      {kVirtual0 + 1, kKey1},  {kVirtual0 + 2, kKey1 + 1}, {kVirtual0 + 3, kKey1 + 2},
    {kVirtual0 + 4, kKey1 + 3}, {kVirtual0 + 5, kKey1 + 4}, {kVirtual0 + 6, kKey1 + 5}, {kVirtual0 + 7, kKey1 + 6},
    {kVirtual0 + 8, kKey1 + 7}, {kVirtual0 + 9, kKey1 + 8},
    {kVirtualOemPlus, kKeySemicolon}, {kVirtualOem1, kKeyColon},       {kVirtualOem4, kKeyLeftBracket},
    {kVirtualOem6, kKeyRightBracket}, {kVirtualOem3, kKeyAt},          {kVirtualOem102, kKeyBackslash},
    {kVirtualOemComma, kKeyComma},    {kVirtualOemMinus, kKeyMinus},   {kVirtualOem5, kKeyYen},
    {kVirtualOemPeriod, kKeyPeriod},  {kVirtualOem2, kKeySlash},
    {kVirtualDelete, kKeyDelete},     {kVirtualEscape, kKeyEscape},    {kVirtualSpace, kKeySpace},
    {kVirtualBack, kKeyBack},         {kVirtualTab, kKeyTab},          {kVirtualReturn, kKeyReturn},
};

// Read from the window system's keyboard state only without the input system.
constexpr KeyPair kKeysWithoutSystem[] = {
    {kVirtualReturn, kKeyNumpadEnter},
    {kVirtualLeftShift, kKeyLeftShift},
    {kVirtualRightShift, kKeyRightShift},
    {kVirtualLeftControl, kKeyLeftControl},
    {kVirtualRightControl, kKeyRightControl},
    {kVirtualPageUp, kKeyPageUp},
    {kVirtualPageDown, kKeyPageDown},
    {kVirtualEnd, kKeyEnd},
    {kVirtualHome, kKeyHome},
    {kVirtualInsert, kKeyInsert},
    {kVirtualLeftAlt, kKeyLeftAlt},
    {kVirtualRightAlt, kKeyRightAlt},
    {kVirtualScrollLock, kKeyScrollLock},
    {kVirtualCapsLock, kKeyCapsLock},
    {kVirtualPause, kKeyPause},
    {kVirtualF1, kKeyF1},
    {kVirtualF1 + 1, kKeyF1 + 1},
    {kVirtualF1 + 2, kKeyF1 + 2},
    {kVirtualF1 + 3, kKeyF1 + 3},
    {kVirtualF1 + 4, kKeyF1 + 4},
    {kVirtualF1 + 5, kKeyF1 + 5},
    {kVirtualF1 + 6, kKeyF1 + 6},
    {kVirtualF1 + 7, kKeyF1 + 7},
    {kVirtualF1 + 8, kKeyF1 + 8},
    {kVirtualF1 + 9, kKeyF1 + 9},
    {kVirtualF1 + 10, kKeyF11},
    {kVirtualF1 + 11, kKeyF12},
};

template <size_t N>
void CopyStates(const KeyPair (&pairs)[N], const uint8_t* virtualKeys, uint8_t* keyStates) {
  for (const KeyPair& p : pairs) keyStates[p.keyCode] = virtualKeys[p.virtualKey];
}

bool Down(uint8_t state) { return (state & 0x80) != 0; }

// Toggle keys that may read as held.
bool IsLockKey(int code) { return code == kKeyCapsLock || code == kKeyKana || code == kKeyKanji; }

// Every read waits for an active window; input that is not started starts
// now, and the read then gives that result instead of reading.
bool NotStarted(int* result) {
  WaitWhileInactive();
  if (gPlatform.input.system != kInputNotStarted) return false;
  *result = InputInit();
  return true;
}

bool OnMainThread() { return std::this_thread::get_id() == gPlatform.window.mainThreadId; }

// -1000 at 0, 0 from 0x6000 to 0xA000, 999 at 0xFFFF.
int32_t PlainJoystickAxis(uint32_t v) {
  const int64_t value = v;
  if (value < 0x6000) return static_cast<int32_t>((value - 0x6000) * 1000 / 0x6000);
  if (value <= 0xA000) return 0;
  return static_cast<int32_t>((value - 0xA000) * 1000 / 0x6000);
}

void PollPlainJoystick(int index, JoypadRecord& pad) {
  HostJoystickPosition position;
  pad.state = HostJoypadState();
  if (!HostJoystickGetPosition(index, &position)) return;
  pad.state.x = PlainJoystickAxis(position.x);
  pad.state.y = PlainJoystickAxis(position.y);
  if (pad.hasZAndR) {
    pad.state.z = PlainJoystickAxis(position.z);
    pad.state.rotationZ = PlainJoystickAxis(position.r);
  }
  for (int button = 0; button < 24; ++button) {
    if (position.buttons & (1u << button)) pad.state.buttons[button] = 0x80;
  }
}

// The key map of a joypad index; -1 (the keyboard alone) takes the first.
// Null for an index no map exists for.
using KeysOfBit = int32_t[kPadKeysPerBit];
const KeysOfBit* KeyMapOf(int64_t index) {
  if (index == -1) index = 0;
  if (index < 0 || index >= kMaxJoypads) return nullptr;
  return gPlatform.input.padKeyMap[index];
}

bool CursorOverActiveWindow() {
  const MainWindowState& w = gPlatform.window;
  if (!w.active) return false;
  int x = 0;
  int y = 0;
  HostGetCursorPos(&x, &y);
  return x >= w.clientRect.left && x < w.clientRect.right && y >= w.clientRect.top && y < w.clientRect.bottom;
}

}  // namespace

int RefreshKeyStates() {
  InputDeviceState& in = gPlatform.input;
  uint8_t virtualKeys[256];
  const uint32_t now = HostTickMs();
  if (in.system == kInputSystemStarted && in.keyboard) {
    // The keyboard may have no event (its notification failed to set up).
    const bool signalled = in.keyboardEvent && HostIsEventSet(in.keyboardEvent);
    if (now == in.lastKeyRefreshMs && !signalled) return 0;
    if (PumpMessages() == -1) return 0;
    if (!HostReadKeyboard(in.keyboard, in.keyStates)) {
      HostAcquire(in.keyboard);
      if (!HostReadKeyboard(in.keyboard, in.keyStates)) return 0;
    }
    in.lastKeyRefreshMs = now;
    if (in.keyboardEvent) HostResetEvent(in.keyboardEvent);
    if (OnMainThread()) {
      HostGetVirtualKeyStates(virtualKeys);
      CopyStates(kMergedKeys, virtualKeys, in.keyStates);
    }
    return 1;
  }
  if (in.system == kInputWithoutSystem) {
    if (now == in.lastKeyRefreshMs) return 0;
    in.lastKeyRefreshMs = now;
    if (PumpMessages() == -1) return 0;
    std::memset(in.keyStates, 0, sizeof in.keyStates);
    HostGetVirtualKeyStates(virtualKeys);
    CopyStates(kMergedKeys, virtualKeys, in.keyStates);
    CopyStates(kKeysWithoutSystem, virtualKeys, in.keyStates);
    return 1;
  }
  return 0;
}

void PollJoypad(int index) {
  InputDeviceState& in = gPlatform.input;
  if (index < 0 || index >= in.joypadCount) return;
  JoypadRecord& pad = in.joypads[index];
  const uint32_t now = HostTickMs();
  if (in.system == kInputWithoutSystem) {
    if (now == pad.lastPollMs) return;
    pad.lastPollMs = now;
    PollPlainJoystick(index, pad);
    return;
  }
  if (in.system != kInputSystemStarted) return;
  if (now == pad.lastPollMs && !HostIsEventSet(pad.notification)) return;
  pad.lastPollMs = now;
  HostPollJoypad(pad.device);
  HostJoypadState state;
  if (!HostReadJoypad(pad.device, &state)) {
    if (PumpMessages() == -1) return;
    HostAcquire(pad.device);
    if (!HostReadJoypad(pad.device, &state)) state = pad.state;
  }
  pad.state = state;
  HostResetEvent(pad.notification);
}

int IsKeyDown(int key) {
  int result = 0;
  if (NotStarted(&result)) return result;
  RefreshKeyStates();
  if (key < 0 || key > 255) return 0;
  return Down(gPlatform.input.keyStates[key]) ? 1 : 0;
}

int GetAllKeyStates(unsigned char* states) {
  int result = 0;
  if (NotStarted(&result)) return result;
  RefreshKeyStates();
  for (int code = 0; code < 256; ++code) states[code] = Down(gPlatform.input.keyStates[code]) ? 1 : 0;
  return 0;
}

int GetPadInputBits(int type) {
  int result = 0;
  if (NotStarted(&result)) return result;
  InputDeviceState& in = gPlatform.input;
  const bool withKeyboard = (type & kPadWithKeyboard) != 0;
  const int64_t index = static_cast<int64_t>(type & ~kPadWithKeyboard) - 1;
  const bool namesJoypad = index >= 0 && index < in.joypadCount;
  if (!namesJoypad && in.joypadCount != 0 && !withKeyboard) return 0;

  int bits = 0;
  if (namesJoypad) {
    PollJoypad(static_cast<int>(index));
    const HostJoypadState& s = in.joypads[index].state;
    if (s.x < 0) bits |= kPadLeft;
    if (s.x > 0) bits |= kPadRight;
    if (s.y < 0) bits |= kPadUp;
    if (s.y > 0) bits |= kPadDown;
    for (int button = 0; button < 24; ++button) {
      if (Down(s.buttons[button])) bits |= 1 << (button + kPadFirstButtonBit);
    }
  }
  if (withKeyboard) {
    RefreshKeyStates();
    if (const KeysOfBit* map = KeyMapOf(index)) {
      for (int bit = 0; bit < kPadInputBits; ++bit) {
        for (const int32_t code : map[bit]) {
          if (code > 0 && code < 256 && Down(in.keyStates[code])) {
            bits |= static_cast<int>(1u << bit);
            break;
          }
        }
      }
    }
  }
  return bits;
}

int IsAnyInputDown(int flags) {
  int result = 0;
  if (NotStarted(&result)) return result;
  if (flags & 1) {
    RefreshKeyStates();
    for (int code = 0; code < 256; ++code) {
      if (!IsLockKey(code) && Down(gPlatform.input.keyStates[code])) return code;
    }
    for (int pad = 0; pad < gPlatform.input.joypadCount; ++pad) {
      if (GetPadInputBits(pad + 1) != 0) return -1;
    }
  }
  if ((flags & 4) && GetMouseButtons() != 0 && CursorOverActiveWindow()) return -1;
  return 0;
}

int GetMouseButtons() {
  InputDeviceState& in = gPlatform.input;
  int bits = 0;
  if (in.mouse) {
    HostMouseState state;
    if (!HostReadMouse(in.mouse, &state)) {
      HostAcquire(in.mouse);
      if (!HostReadMouse(in.mouse, &state)) return 0;
    }
    for (int button = 0; button < 8; ++button) {
      if (Down(state.buttons[button])) bits |= 1 << button;
    }
    return bits;
  }
  uint8_t virtualKeys[256];
  HostGetVirtualKeyStates(virtualKeys);
  if (Down(virtualKeys[kVirtualLeftButton])) bits |= 1;
  if (Down(virtualKeys[kVirtualRightButton])) bits |= 2;
  if (Down(virtualKeys[kVirtualMiddleButton])) bits |= 4;
  return bits;
}

int WaitAnyKey() {
  int result = 0;
  while (PumpMessages() == 0) {
    result = IsAnyInputDown(7);
    if (result == 0) break;
    HostSleepMs(1);
  }
  while (PumpMessages() == 0) {
    result = IsAnyInputDown(7);
    if (result != 0) break;
    HostSleepMs(1);
  }
  return result;
}
