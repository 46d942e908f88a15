#include "runtime/host/window/Cursor.h"

#include <SDL.h>

#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/window/Window.h"

namespace {
int gCursorX = 0;
int gCursorY = 0;
}  // namespace

void HostShowCursor(bool show) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void HostGetCursorPos(int* x, int* y) {
  *x = gCursorX;
  *y = gCursorY;
}

void HostSetCursorPos(int x, int y) {
  gCursorX = x;
  gCursorY = y;
  HostRect client;
  if (!HostWindowClientRect(&client)) return;
  int wx = x - client.left;
  int wy = y - client.top;
  HostClientToWindowPixels(&wx, &wy);
  SDL_WarpMouseInWindow(HostSdlWindow(), wx, wy);
}

void HostNoteCursorInClient(int x, int y) {
  HostRect client;
  if (!HostWindowClientRect(&client)) client = HostRect{0, 0, 0, 0};
  gCursorX = client.left + x;
  gCursorY = client.top + y;
}
