#include "runtime/platform/system/PlatformQueries.h"

#include "runtime/host/window/Window.h"
#include "runtime/platform/system/PlatformState.h"

int IsEndRequested() { return gPlatform.window.endRequested; }
int IsAppActive() { return gPlatform.window.active; }
uintptr_t GetMainWindow() { return gPlatform.window.mainWindow; }
int IsWindowMode() { return gPlatform.windowMode; }
int IsWindowClosing() { return gPlatform.window.closePosted; }
int HasWindowRegion() { return 0; }
int IsMenuInUse() { return 0; }

int GetDesktopMetrics(int* width, int* height, int* depth) {
  int w = gPlatform.window.desktopWidth;
  int h = gPlatform.window.desktopHeight;
  int d = gPlatform.window.desktopDepth;
  if (!gPlatform.initialised) {
    const HostDesktop desktop = HostDesktopMetrics();
    w = desktop.width;
    h = desktop.height;
    d = desktop.depth;
  }
  if (width) *width = w;
  if (height) *height = h;
  if (depth) *depth = d;
  return 0;
}
