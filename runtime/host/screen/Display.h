#pragma once
// The display: the desktop's mode, the display mode the layer sets for full
// screen, and a vertical blank that the clock drives. Every wait sleeps
// through the host clock, so a test clock moves on while the layer waits.

#include <cstdint>

struct HostDisplayMode {
  int width;
  int height;
  int depth;        // bits per pixel; always 32
  int refreshRate;  // Hz; 60 when the system does not say
};

// The desktop's mode (from SDL when video runs).
HostDisplayMode HostDisplayDesktopMode();

// Sets the display mode for full screen; the window in full-screen style
// shows the layer's screen scaled to the desktop. False when refused.
bool HostDisplaySetMode(int width, int height, int depth, int refreshRate);
// Back to the desktop's own mode.
void HostDisplayRestoreMode();
bool HostDisplayModeIsSet();
// Bits per pixel of the mode set, else of the desktop.
int HostDisplayModeDepth();

// Test seam: decides which modes HostDisplaySetMode accepts (null: all but
// 24-bit ones).
using HostDisplayModeFilter = bool (*)(int width, int height, int depth, int refreshRate);
void HostSetDisplayModeFilter(HostDisplayModeFilter filter);

// The vertical blank: the first millisecond of every frame of the desktop's
// refresh rate, counted on the host's millisecond tick.
bool HostVerticalBlankInProgress();
// Sleeps until the next vertical blank begins (at most one frame).
void HostWaitForVerticalBlankBegin();
