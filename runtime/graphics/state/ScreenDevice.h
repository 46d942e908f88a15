#pragma once
// The screen settings that the rest of the layer asks for before the screen
// device itself exists: the mode the program asked for, size, colour depth
// and refresh rate. Until the device exists a mode is only recorded, as a
// mode set before start-up is.

#include <cstdint>

struct ScreenDevice {
  int32_t depth;         // requested colour depth in bits; 0 while none is set
  int32_t width;         // 0 while none is set: 640
  int32_t height;        // 0 while none is set: 480
  int32_t displayDepth;  // bits per pixel of the display; 0 while none is set: 16
  int32_t refreshRate;   // Hz; 0 = the driver's default
};

extern ScreenDevice gScreenDevice;

// The colour depth set for the display mode, 16 while none is set.
int GetScreenDepth();

// -1 keeps a value. A width or height of 0 or below, or a depth other than
// 8, 16 and 32, gives -1 and changes nothing. Else 0.
int SetScreenMode(int width, int height, int depth, int refreshRate);
// Either pointer may be null. Returns 0.
int GetScreenSize(int* width, int* height);
// Size and display depth; each pointer may be null. Returns 0.
int GetScreenMetrics(int* width, int* height, int* depth);
