#pragma once
// The screen settings that the rest of the layer asks for before the screen
// device itself exists.

#include <cstdint>

struct ScreenDevice {
  int32_t depth;  // requested colour depth in bits; 0 while none is set
};

extern ScreenDevice gScreenDevice;

// The colour depth set for the display mode, 16 while none is set.
int GetScreenDepth();
