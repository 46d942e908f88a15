// The mouse as the engine sees it: the cursor's visibility, its position in
// screen pixels of the game, and the wheel.

#include "runtime/Movan.h"

#include "runtime/host/window/Cursor.h"
#include "runtime/host/window/WindowMessages.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/PlatformState.h"

int ShowMouseCursor(int flag) {
  MainWindowState& w = gPlatform.window;
  w.cursorRequested = flag;
  const int show = flag == 1 ? 1 : 0;
  if (show != w.cursorShown) {
    HostShowCursor(show != 0);
    if (w.mainWindow != 0) {
      HostMessage refresh;
      refresh.id = HostMessageId::SetCursor;
      HostPostMessage(refresh);
    }
    w.cursorShown = show;
  }
  return 0;
}

int IsMouseCursorShown() { return gPlatform.window.cursorRequested; }

int GetMousePosition(int* x, int* y) {
  int cx = 0;
  int cy = 0;
  HostGetCursorPos(&cx, &cy);
  if (gPlatform.windowMode) {
    const IntRect& client = gPlatform.window.clientRect;
    const double scale = GetWindowScale();
    cx = DoubleToInt((cx - client.left) / scale);
    cy = DoubleToInt((cy - client.top) / scale);
  }
  if (x) *x = cx;
  if (y) *y = cy;
  return 0;
}

int SetMousePosition(int x, int y) {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  x = x < 0 ? 0 : (x > width ? width : x);
  y = y < 0 ? 0 : (y > height ? height : y);
  if (gPlatform.windowMode) {
    x += gPlatform.window.clientRect.left;
    y += gPlatform.window.clientRect.top;
  }
  HostSetCursorPos(x, y);
  return 0;
}

int TakeMouseWheel() {
  const int notches = gPlatform.window.wheelCount;
  gPlatform.window.wheelCount = 0;
  return notches;
}
