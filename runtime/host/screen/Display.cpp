#include "runtime/host/screen/Display.h"

#include <SDL.h>

#include "runtime/host/system/Clock.h"
#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/window/Window.h"

namespace {

HostDisplayModeFilter gFilter = nullptr;
bool gModeSet = false;
int gModeDepth = 32;

int RefreshRate() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return 60;
  SDL_Window* window = HostSdlWindow();
  int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  if (display < 0) display = 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0) return 60;
  return mode.refresh_rate;
}

// The frame the tick falls in, and the millisecond inside the frame's
// thousandths: frame n spans ticks [n * 1000 / rate, (n + 1) * 1000 / rate).
uint64_t FrameOf(uint32_t tick, int rate) { return static_cast<uint64_t>(tick) * static_cast<uint64_t>(rate) / 1000; }

}  // namespace

HostDisplayMode HostDisplayDesktopMode() {
  const HostDesktop desktop = HostDesktopMetrics();
  return HostDisplayMode{desktop.width, desktop.height, desktop.depth, RefreshRate()};
}

bool HostDisplaySetMode(int width, int height, int depth, int refreshRate) {
  const bool accepted = gFilter ? gFilter(width, height, depth, refreshRate) : depth != 24;
  if (accepted) {
    gModeSet = true;
    gModeDepth = depth;
  }
  return accepted;
}

void HostDisplayRestoreMode() { gModeSet = false; }
bool HostDisplayModeIsSet() { return gModeSet; }
int HostDisplayModeDepth() { return gModeSet ? gModeDepth : HostDisplayDesktopMode().depth; }
void HostSetDisplayModeFilter(HostDisplayModeFilter filter) { gFilter = filter; }

bool HostVerticalBlankInProgress() {
  const int rate = RefreshRate();
  const uint32_t tick = HostTickMs();
  // In the blank when the tick one millisecond earlier lay in the previous frame.
  return FrameOf(tick, rate) != FrameOf(tick - 1, rate) || tick == 0;
}

void HostWaitForVerticalBlankBegin() {
  const int rate = RefreshRate();
  const uint64_t frame = FrameOf(HostTickMs(), rate);
  // A frame lasts at most 1000 ms (a rate of 1 Hz); the bound only guards a
  // clock that never moves.
  for (int i = 0; i < 1000 && FrameOf(HostTickMs(), rate) == frame; ++i) HostSleepMs(1);
}
