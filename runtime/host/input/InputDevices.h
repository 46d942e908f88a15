#pragma once
// Keyboard, mouse and joypads as the layer's input code expects a
// device-input system to offer them: an input system started in one of two
// versions (or not at all), devices that are made, given a cooperation
// level, acquired and read whole, joypad axes reported in a range with a
// dead zone, and notification events set when a device has new data.
// Without the input system the layer reads the window system's keyboard
// state by virtual key and the plain joystick functions below.

#include <cstddef>
#include <cstdint>

#include "runtime/host/system/HostEvent.h"

enum class HostAxis : int { X, Y, Z, RotationX, RotationY, RotationZ, Slider0, Slider1 };

// A joypad's state as the layer keeps it.
struct HostJoypadState {
  int32_t x;
  int32_t y;
  int32_t z;
  int32_t rotationX;
  int32_t rotationY;
  int32_t rotationZ;
  int32_t sliders[2];
  uint32_t pov[4];       // hundredths of a degree clockwise from up; 0xFFFFFFFF centred
  uint8_t buttons[32];   // 0x80 pressed
};

struct HostMouseState {
  uint8_t buttons[8];  // left, right, middle, back, forward; 0x80 pressed
};

// 0, or an error code when the input system cannot start (version 7 or 8).
int32_t HostInputSystemStart(int version);
// Releases every device that is left.
void HostInputSystemStop();

struct HostInputDevice;

// Null when the input system is not started.
HostInputDevice* HostCreateKeyboardDevice();
HostInputDevice* HostCreateMouseDevice();
// The joypads attached when the input system started.
int HostAttachedJoypadCount();
// Null for a joypad that is not there.
HostInputDevice* HostCreateJoypadDevice(int index);
void HostReleaseDevice(HostInputDevice* device);

// A joypad's instance and product names, CP932; empty for other devices.
void HostJoypadNames(HostInputDevice* device, char* instanceName, char* productName, size_t size);

bool HostSetCooperation(HostInputDevice* device, bool exclusiveForeground);
// Axes of a joypad report min..max (default 0..65535) with no dead zone
// until one is set. The dead zone is in ten-thousandths of the half-axis:
// inside it the axis reads as its centre, and the rest of the travel is
// spread over the range.
bool HostSetAxisRange(HostInputDevice* device, HostAxis axis, int32_t min, int32_t max);
bool HostSetAxisDeadZone(HostInputDevice* device, HostAxis axis, int32_t tenThousandths);
// The event is set whenever the device has new data; null stops that.
bool HostSetNotification(HostInputDevice* device, HostEvent* event);

// A joypad that has gone cannot be acquired.
bool HostAcquire(HostInputDevice* device);
void HostUnacquire(HostInputDevice* device);
// Reads fail while the device is not acquired.
bool HostPollJoypad(HostInputDevice* device);
// 256 key states by key code (KeyCodes.h), 0x80 down.
bool HostReadKeyboard(HostInputDevice* device, uint8_t states[256]);
bool HostReadMouse(HostInputDevice* device, HostMouseState* state);
bool HostReadJoypad(HostInputDevice* device, HostJoypadState* state);

// The force-feedback effect: the joypad's motors at the strengths
// (0..65535) for the time; StopEffects ends it.
void HostJoypadRumble(HostInputDevice* device, uint16_t low, uint16_t high, uint32_t ms);
void HostStopEffects(HostInputDevice* device);

// The window system's keyboard state: 256 states by virtual key
// (KeyCodes.h), 0x80 down, mouse buttons included.
void HostGetVirtualKeyStates(uint8_t states[256]);

// The plain joystick functions: joysticks by id from 0, axes 0..65535
// centred at 0x7FFF.
struct HostJoystickCaps {
  bool hasZ;
  bool hasR;
};
struct HostJoystickPosition {
  uint32_t x;
  uint32_t y;
  uint32_t z;
  uint32_t r;
  uint32_t buttons;  // bit n for button n + 1
};
bool HostJoystickGetCaps(int id, HostJoystickCaps* caps);
bool HostJoystickGetPosition(int id, HostJoystickPosition* position);
