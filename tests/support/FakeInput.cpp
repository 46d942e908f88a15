#include "tests/support/FakeInput.h"

#include <cstring>
#include <utility>

#include "runtime/host/input/InputSource.h"
#include "runtime/host/input/KeyTables.h"

namespace {

struct Pad {
  std::string name;
  HostRawJoypad raw = {};
  bool attached = true;
};

struct State {
  bool japanese = false;
  uint8_t keys[kHostScancodeCount] = {};
  uint32_t mouse = 0;
  std::vector<Pad> pads;
  int32_t startResult[2] = {0, 0};  // versions 7 and 8
  bool started = false;
  int foundPads = 0;  // joypads found at start
  HostInputNewData newData = nullptr;
  std::vector<FakeInput::Rumble> rumbles;
  std::function<void(int)> onKeyboardRead;
  int keyboardReads = 0;
};

State* gState = nullptr;

int32_t Start(int version, HostInputNewData newData) {
  const int32_t result = gState->startResult[version == 8 ? 1 : 0];
  if (result != 0) return result;
  gState->started = true;
  gState->foundPads = static_cast<int>(gState->pads.size());
  gState->newData = newData;
  return 0;
}

void Stop() {
  gState->started = false;
  gState->newData = nullptr;
}

const uint8_t* Keys() {
  if (gState->onKeyboardRead) gState->onKeyboardRead(gState->keyboardReads);
  ++gState->keyboardReads;
  return gState->keys;
}

bool JapaneseLayout() { return gState->japanese; }
uint32_t MouseButtons() { return gState->mouse; }

// Without the input system the plain joystick functions see every joypad.
int JoypadCount() { return gState->started ? gState->foundPads : static_cast<int>(gState->pads.size()); }

bool JoypadName(int index, char* name, size_t size) {
  if (index < 0 || index >= static_cast<int>(gState->pads.size()) || size == 0) return false;
  const std::string& text = gState->pads[static_cast<size_t>(index)].name;
  const size_t n = text.size() < size - 1 ? text.size() : size - 1;
  text.copy(name, n);
  name[n] = '\0';
  return true;
}

void Update() {}

bool ReadJoypad(int index, HostRawJoypad* state) {
  if (index < 0 || index >= static_cast<int>(gState->pads.size())) return false;
  const Pad& pad = gState->pads[static_cast<size_t>(index)];
  if (!pad.attached) return false;
  *state = pad.raw;
  return true;
}

void RecordRumble(int index, uint16_t low, uint16_t high, uint32_t ms) {
  gState->rumbles.push_back(FakeInput::Rumble{index, low, high, ms});
}

const HostInputSource kFakeSource = {Start,      Stop,   Keys,       JapaneseLayout, MouseButtons, JoypadCount,
                                     JoypadName, Update, ReadJoypad, RecordRumble};

void Notify(HostInputDeviceKind kind, int index) {
  if (gState->started && gState->newData) gState->newData(kind, index);
}

Pad& PadAt(int pad) { return gState->pads.at(static_cast<size_t>(pad)); }

}  // namespace

FakeInput::FakeInput() {
  gState = new State();
  HostSetInputSource(&kFakeSource);
}

FakeInput::~FakeInput() {
  HostSetInputSource(nullptr);
  delete gState;
  gState = nullptr;
}

void FakeInput::SetJapaneseLayout(bool japanese) { gState->japanese = japanese; }

void FakeInput::SetScancode(int scancode, bool down) {
  gState->keys[scancode] = down ? 1 : 0;
  Notify(HostInputDeviceKind::Keyboard, 0);
}

void FakeInput::PressKey(int keyCode) {
  for (int scancode = 0; scancode < kHostScancodeCount; ++scancode) {
    if (HostKeyCodeOfScancode(scancode, gState->japanese) == keyCode) {
      SetScancode(scancode, true);
      return;
    }
  }
}

void FakeInput::ReleaseKey(int keyCode) {
  for (int scancode = 0; scancode < kHostScancodeCount; ++scancode) {
    if (HostKeyCodeOfScancode(scancode, gState->japanese) == keyCode) gState->keys[scancode] = 0;
  }
  Notify(HostInputDeviceKind::Keyboard, 0);
}

void FakeInput::ReleaseAllKeys() {
  std::memset(gState->keys, 0, sizeof gState->keys);
  Notify(HostInputDeviceKind::Keyboard, 0);
}

void FakeInput::SetMouseButtons(uint32_t bits) { gState->mouse = bits; }

int FakeInput::AddJoypad(const std::string& name, int axisCount) {
  Pad pad;
  pad.name = name;
  pad.raw.axisCount = axisCount;
  gState->pads.push_back(pad);
  return static_cast<int>(gState->pads.size()) - 1;
}

void FakeInput::SetAxis(int pad, int axis, int16_t value) {
  PadAt(pad).raw.axes[axis] = value;
  Notify(HostInputDeviceKind::Joypad, pad);
}

void FakeInput::SetButton(int pad, int button, bool pressed) {
  PadAt(pad).raw.buttons[button] = pressed ? 1 : 0;
  Notify(HostInputDeviceKind::Joypad, pad);
}

void FakeInput::SetHat(int pad, int hat, uint8_t bits) {
  PadAt(pad).raw.hats[hat] = bits;
  Notify(HostInputDeviceKind::Joypad, pad);
}

void FakeInput::Unplug(int pad) { PadAt(pad).attached = false; }

void FakeInput::SetStartResult(int version, int32_t result) { gState->startResult[version == 8 ? 1 : 0] = result; }

bool FakeInput::Started() const { return gState->started; }

const std::vector<FakeInput::Rumble>& FakeInput::Rumbles() const { return gState->rumbles; }

void FakeInput::OnKeyboardRead(std::function<void(int reads)> hook) { gState->onKeyboardRead = std::move(hook); }
