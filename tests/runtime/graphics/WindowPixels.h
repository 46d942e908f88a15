#pragma once
// The pixels a real X11 window shows, read back through the X server.

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "runtime/host/window/SdlWindow.h"

// The window system's headers last: their macros clash with the test
// framework's names.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// 0x00RRGGBB, rows top first; empty when the window is not an X11 window.
inline std::vector<uint32_t> WindowPixels(int width, int height) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  std::vector<uint32_t> pixels;
  if (!SDL_GetWindowWMInfo(HostSdlWindow(), &info) || info.subsystem != SDL_SYSWM_X11) return pixels;
  ::Display* display = info.info.x11.display;
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
