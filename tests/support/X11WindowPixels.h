#pragma once
// The pixels the X server shows in the layer's SDL window, read back through
// X11 (0x00RRGGBB, row by row); empty when the window is not an X11 one.
// For tests under xvfb-run. Include it last: the window system's headers
// define macros that clash with the test framework's names.

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

#include "runtime/host/window/SdlWindow.h"

inline std::vector<uint32_t> X11WindowPixels(int width, int height) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  std::vector<uint32_t> pixels;
  if (!SDL_GetWindowWMInfo(HostSdlWindow(), &info) || info.subsystem != SDL_SYSWM_X11) return pixels;
  Display* display = info.info.x11.display;
  XSync(display, False);
  XImage* image = XGetImage(display, info.info.x11.window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
  }
  XDestroyImage(image);
  return pixels;
}
