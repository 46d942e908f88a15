#pragma once
// Where the input devices' raw data comes from: SDL's keyboard, mouse and
// joysticks, or a fake that tests fill. The input devices (InputDevices.h)
// build the layer's device model on top of it.

#include <cstddef>
#include <cstdint>

constexpr int kHostRawAxes = 8;     // x, y, z, x, y and z rotation, two sliders
constexpr int kHostRawHats = 4;
constexpr int kHostRawButtons = 32;
// Scancodes run below this (SDL's numbering).
constexpr int kHostScancodeCount = 512;

struct HostRawJoypad {
  int16_t axes[kHostRawAxes];  // -32768..32767, 0 centred; missing axes 0
  uint8_t hats[kHostRawHats];  // bits: 1 up, 2 right, 4 down, 8 left
  uint8_t buttons[kHostRawButtons];  // 1 pressed
  int axisCount;
};

enum class HostInputDeviceKind { Keyboard, Mouse, Joypad };
// Called when a device has new data (a key, an axis, a button changed).
using HostInputNewData = void (*)(HostInputDeviceKind kind, int joypadIndex);

struct HostInputSource {
  // The joypad system, for either version of the input system. 0, or an
  // error code.
  int32_t (*start)(int version, HostInputNewData newData);
  void (*stop)();
  // Keys down by scancode (kHostScancodeCount entries, non-zero = down).
  const uint8_t* (*keys)();
  bool (*japaneseLayout)();
  // Bits 0-4: left, middle, right, back, forward (SDL's order).
  uint32_t (*mouseButtons)();
  // Joypads are numbered from 0 in the order they were found at start.
  int (*joypadCount)();
  // CP932. False for a joypad that is not there.
  bool (*joypadName)(int index, char* name, size_t size);
  // Brings every joypad's state up to date.
  void (*update)();
  // False once the joypad has gone.
  bool (*readJoypad)(int index, HostRawJoypad* state);
  // Strengths 0..65535 of the low- and high-frequency motors; 0 ms stops.
  void (*rumble)(int index, uint16_t low, uint16_t high, uint32_t ms);
};

const HostInputSource* HostCurrentInputSource();
// Test seam: null puts SDL back.
void HostSetInputSource(const HostInputSource* source);
