#include "runtime/host/input/InputDevices.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "runtime/host/input/InputSource.h"
#include "runtime/host/input/KeyCodes.h"
#include "runtime/host/input/KeyTables.h"

namespace {

struct AxisSetting {
  int32_t min = 0;
  int32_t max = 65535;
  int32_t deadZone = 0;  // ten-thousandths of the half-axis
};

}  // namespace

struct HostInputDevice {
  HostInputDeviceKind kind = HostInputDeviceKind::Keyboard;
  int joypadIndex = -1;
  bool exclusiveForeground = false;
  bool acquired = false;
  HostEvent* notification = nullptr;
  AxisSetting axes[kHostRawAxes];
};

namespace {

// The source the input system was started on, null while it is not.
const HostInputSource* gStarted = nullptr;
// Notifications may come from whichever thread pumps the window's events.
std::mutex gMutex;
std::vector<HostInputDevice*> gDevices;

void NewData(HostInputDeviceKind kind, int joypadIndex) {
  std::lock_guard<std::mutex> lock(gMutex);
  for (HostInputDevice* device : gDevices) {
    if (device->kind != kind || !device->notification) continue;
    if (kind == HostInputDeviceKind::Joypad && device->joypadIndex != joypadIndex) continue;
    HostSetEvent(device->notification);
  }
}

HostInputDevice* MakeDevice(HostInputDeviceKind kind, int joypadIndex) {
  HostInputDevice* device = new HostInputDevice();
  device->kind = kind;
  device->joypadIndex = joypadIndex;
  std::lock_guard<std::mutex> lock(gMutex);
  gDevices.push_back(device);
  return device;
}

bool IsJoypad(const HostInputDevice* device) { return device && device->kind == HostInputDeviceKind::Joypad; }

// The reported value of a raw axis position under the axis's range and
// dead zone, in 64 bits throughout.
int32_t AxisValue(int16_t raw, const AxisSetting& setting) {
  constexpr int64_t kHalf = 32767;
  const int64_t offset = raw < -kHalf ? -kHalf : raw;
  const int64_t deadZone = kHalf * std::clamp<int32_t>(setting.deadZone, 0, 10000) / 10000;
  int64_t magnitude = offset < 0 ? -offset : offset;
  magnitude = magnitude <= deadZone ? 0 : (magnitude - deadZone) * kHalf / (kHalf - deadZone);
  const int64_t travel = (offset < 0 ? -magnitude : magnitude) + kHalf;  // 0..2 * kHalf
  const int64_t span = static_cast<int64_t>(setting.max) - setting.min;
  // Rounded to the nearest, so that both halves of the axis mirror each other.
  return static_cast<int32_t>(setting.min + (travel * span + kHalf) / (2 * kHalf));
}

uint32_t PointOfView(uint8_t hat) {
  switch (hat) {
    case 1:
      return 0;
    case 3:
      return 4500;
    case 2:
      return 9000;
    case 6:
      return 13500;
    case 4:
      return 18000;
    case 12:
      return 22500;
    case 8:
      return 27000;
    case 9:
      return 31500;
    default:
      return 0xFFFFFFFFu;
  }
}

// 256 states (0x80 down) of the keys down, numbered by numberOf.
void StatesOfKeysDown(int (*numberOf)(int scancode, bool japaneseLayout), uint8_t states[256]) {
  const HostInputSource* source = HostCurrentInputSource();
  const uint8_t* keys = source->keys();
  const bool japanese = source->japaneseLayout();
  std::memset(states, 0, 256);
  for (int scancode = 0; scancode < kHostScancodeCount; ++scancode) {
    if (!keys[scancode]) continue;
    const int number = numberOf(scancode, japanese);
    if (number > 0 && number < 256) states[number] = 0x80;
  }
}

bool ReadRaw(int index, HostRawJoypad* raw) {
  const HostInputSource* source = HostCurrentInputSource();
  if (index < 0 || index >= source->joypadCount()) return false;
  return source->readJoypad(index, raw);
}

}  // namespace

int32_t HostInputSystemStart(int version) {
  if (gStarted) return 0;
  const HostInputSource* source = HostCurrentInputSource();
  const int32_t result = source->start(version, NewData);
  if (result == 0) gStarted = source;
  return result;
}

void HostInputSystemStop() {
  if (!gStarted) return;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    for (HostInputDevice* device : gDevices) delete device;
    gDevices.clear();
  }
  gStarted->stop();
  gStarted = nullptr;
}

HostInputDevice* HostCreateKeyboardDevice() {
  return gStarted ? MakeDevice(HostInputDeviceKind::Keyboard, -1) : nullptr;
}

HostInputDevice* HostCreateMouseDevice() { return gStarted ? MakeDevice(HostInputDeviceKind::Mouse, -1) : nullptr; }

int HostAttachedJoypadCount() { return gStarted ? gStarted->joypadCount() : 0; }

HostInputDevice* HostCreateJoypadDevice(int index) {
  HostRawJoypad raw;
  if (!gStarted || !ReadRaw(index, &raw)) return nullptr;
  return MakeDevice(HostInputDeviceKind::Joypad, index);
}

void HostReleaseDevice(HostInputDevice* device) {
  if (!device) return;
  std::lock_guard<std::mutex> lock(gMutex);
  const auto found = std::find(gDevices.begin(), gDevices.end(), device);
  if (found == gDevices.end()) return;
  gDevices.erase(found);
  delete device;
}

void HostJoypadNames(HostInputDevice* device, char* instanceName, char* productName, size_t size) {
  if (size == 0) return;
  instanceName[0] = '\0';
  productName[0] = '\0';
  if (!IsJoypad(device) || !HostCurrentInputSource()->joypadName(device->joypadIndex, instanceName, size)) return;
  std::memcpy(productName, instanceName, std::strlen(instanceName) + 1);
}

bool HostSetCooperation(HostInputDevice* device, bool exclusiveForeground) {
  if (!device) return false;
  device->exclusiveForeground = exclusiveForeground;
  return true;
}

bool HostSetAxisRange(HostInputDevice* device, HostAxis axis, int32_t min, int32_t max) {
  if (!IsJoypad(device) || min > max) return false;
  AxisSetting& setting = device->axes[static_cast<int>(axis)];
  setting.min = min;
  setting.max = max;
  return true;
}

bool HostSetAxisDeadZone(HostInputDevice* device, HostAxis axis, int32_t tenThousandths) {
  if (!IsJoypad(device) || tenThousandths < 0 || tenThousandths > 10000) return false;
  device->axes[static_cast<int>(axis)].deadZone = tenThousandths;
  return true;
}

bool HostSetNotification(HostInputDevice* device, HostEvent* event) {
  if (!device) return false;
  std::lock_guard<std::mutex> lock(gMutex);
  device->notification = event;
  return true;
}

bool HostAcquire(HostInputDevice* device) {
  if (!device) return false;
  HostRawJoypad raw;
  if (IsJoypad(device) && !ReadRaw(device->joypadIndex, &raw)) return false;
  device->acquired = true;
  return true;
}

void HostUnacquire(HostInputDevice* device) {
  if (device) device->acquired = false;
}

bool HostPollJoypad(HostInputDevice* device) {
  if (!IsJoypad(device) || !device->acquired) return false;
  HostCurrentInputSource()->update();
  return true;
}

bool HostReadKeyboard(HostInputDevice* device, uint8_t states[256]) {
  if (!device || device->kind != HostInputDeviceKind::Keyboard || !device->acquired) return false;
  StatesOfKeysDown(HostKeyCodeOfScancode, states);
  return true;
}

bool HostReadMouse(HostInputDevice* device, HostMouseState* state) {
  if (!device || device->kind != HostInputDeviceKind::Mouse || !device->acquired) return false;
  // The window system counts left, middle, right; the layer left, right, middle.
  static constexpr int kOrder[5] = {0, 2, 1, 3, 4};
  const uint32_t bits = HostCurrentInputSource()->mouseButtons();
  *state = HostMouseState();
  for (int i = 0; i < 5; ++i) {
    if (bits & (1u << i)) state->buttons[kOrder[i]] = 0x80;
  }
  return true;
}

bool HostReadJoypad(HostInputDevice* device, HostJoypadState* state) {
  HostRawJoypad raw;
  if (!IsJoypad(device) || !device->acquired || !ReadRaw(device->joypadIndex, &raw)) return false;
  int32_t values[kHostRawAxes];
  for (int i = 0; i < kHostRawAxes; ++i) values[i] = AxisValue(raw.axes[i], device->axes[i]);
  state->x = values[0];
  state->y = values[1];
  state->z = values[2];
  state->rotationX = values[3];
  state->rotationY = values[4];
  state->rotationZ = values[5];
  state->sliders[0] = values[6];
  state->sliders[1] = values[7];
  for (int i = 0; i < 4; ++i) state->pov[i] = PointOfView(raw.hats[i]);
  for (int i = 0; i < 32; ++i) state->buttons[i] = raw.buttons[i] ? 0x80 : 0;
  return true;
}

void HostJoypadRumble(HostInputDevice* device, uint16_t low, uint16_t high, uint32_t ms) {
  if (IsJoypad(device)) HostCurrentInputSource()->rumble(device->joypadIndex, low, high, ms);
}

void HostStopEffects(HostInputDevice* device) { HostJoypadRumble(device, 0, 0, 0); }

void HostGetVirtualKeyStates(uint8_t states[256]) {
  StatesOfKeysDown(HostVirtualKeyOfScancode, states);
  states[kVirtualShift] = states[kVirtualLeftShift] | states[kVirtualRightShift];
  states[kVirtualControl] = states[kVirtualLeftControl] | states[kVirtualRightControl];
  states[kVirtualAlt] = states[kVirtualLeftAlt] | states[kVirtualRightAlt];
  const uint32_t buttons = HostCurrentInputSource()->mouseButtons();
  if (buttons & 1u) states[kVirtualLeftButton] = 0x80;
  if (buttons & 2u) states[kVirtualMiddleButton] = 0x80;
  if (buttons & 4u) states[kVirtualRightButton] = 0x80;
}

bool HostJoystickGetCaps(int id, HostJoystickCaps* caps) {
  HostRawJoypad raw;
  if (!ReadRaw(id, &raw)) return false;
  caps->hasZ = raw.axisCount > 2;
  caps->hasR = raw.axisCount > 3;
  return true;
}

bool HostJoystickGetPosition(int id, HostJoystickPosition* position) {
  HostCurrentInputSource()->update();
  HostRawJoypad raw;
  if (!ReadRaw(id, &raw)) return false;
  const auto unsignedAxis = [](int16_t v) { return static_cast<uint32_t>(static_cast<int32_t>(v) + 32768); };
  position->x = unsignedAxis(raw.axes[0]);
  position->y = unsignedAxis(raw.axes[1]);
  position->z = unsignedAxis(raw.axes[2]);
  position->r = unsignedAxis(raw.axes[3]);
  position->buttons = 0;
  for (int i = 0; i < kHostRawButtons; ++i) {
    if (raw.buttons[i]) position->buttons |= 1u << i;
  }
  return true;
}
