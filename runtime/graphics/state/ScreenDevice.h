#pragma once
// The screen settings that the rest of the layer asks for before the screen
// device itself exists: the mode the program asked for, size, colour depth
// and refresh rate. Until the device exists a mode is only recorded, as a
// mode set before start-up is.

#include <cstdint>

struct ScreenDevice {
  int32_t depth;         // drawing colour depth in bits (the one asked for); 0 while none is set
  int32_t width;         // 0 while none is set: 640
  int32_t height;        // 0 while none is set: 480
  int32_t displayDepth;  // bits per pixel of the display; 0 while none is set: 16
  int32_t refreshRate;   // Hz; 0 = the driver's default
};

extern ScreenDevice gScreenDevice;

// The colour depth set for the display mode, 16 while none is set.
int GetScreenDepth();

// Either pointer may be null. Returns 0.
int GetScreenSize(int* width, int* height);
// Size and display depth; each pointer may be null. Returns 0.
int GetScreenMetrics(int* width, int* height, int* depth);
