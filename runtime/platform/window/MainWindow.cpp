#include "runtime/platform/window/MainWindow.h"

#include <thread>

#include "runtime/Movan.h"
#include "runtime/host/system/Clock.h"
#include "runtime/host/window/Cursor.h"
#include "runtime/host/system/InstanceLock.h"
#include "runtime/host/system/SystemMemory.h"
#include "runtime/host/window/Window.h"
#include "runtime/host/window/WindowMessages.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/system/TimeSource.h"

namespace {

// The client size the window should have: the screen size times the scale,
// truncated.
void ScaledScreenSize(double scale, int* width, int* height) {
  int sw = 0;
  int sh = 0;
  GetScreenSize(&sw, &sh);
  *width = DoubleToInt(sw * scale);
  *height = DoubleToInt(sh * scale);
}

// A window-mode frame for the scaled screen, centred on the desktop.
HostRect CentredWindowFrame() {
  int width = 0;
  int height = 0;
  ScaledScreenSize(GetWindowScale(), &width, &height);
  HostRect frame = HostAdjustWindowRect(HostRect{0, 0, width, height}, HostWindowStyle::Windowed);
  const int dx = (gPlatform.window.desktopWidth - (frame.right - frame.left)) / 2;
  const int dy = (gPlatform.window.desktopHeight - (frame.bottom - frame.top)) / 2;
  return HostRect{frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy};
}

IntRect ToIntRect(const HostRect& r) { return IntRect{r.left, r.top, r.right, r.bottom}; }

void PostMessageOf(HostMessageId id) {
  HostMessage message;
  message.id = id;
  HostPostMessage(message);
}

int RegisterWindowClass() {
  LogWrite("ウインドウクラスを登録します... ");
  if (!HostVideoStart()) return LogWrite("ウインドウクラスの登録に失敗しました\n");
  LogWrite("登録に成功しました\n");
  return 0;
}

int MakeWindow() {
  MainWindowState& w = gPlatform.window;
  w.creatingWindow = 1;
  if (RegisterWindowClass() != 0) return -1;
  if (gPlatform.windowTitle[0] == '\0') StrCopy(gPlatform.windowTitle, sizeof gPlatform.windowTitle, "Movan");

  HostWindowStyle style;
  HostRect frame;
  if (gPlatform.windowMode) {
    LogWrite("ウインドウモード起動用のウインドウを作成します\n");
    w.cursorRequested = 1;
    style = HostWindowStyle::Windowed;
    frame = CentredWindowFrame();
  } else {
    LogWrite("フルスクリーンモード用のウインドウを作成します\n");
    w.cursorRequested = 0;
    style = HostWindowStyle::FullScreen;
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    frame = HostRect{0, 0, width, height};
  }
  w.mainWindow = HostWindowCreate(gPlatform.windowTitle, style, frame);
  if (w.mainWindow == 0) return LogWrite("ウインドウの作成に失敗しました\n");
  HostWindowSetIcon(gPlatform.iconId);
  LogWrite("ウインドウの作成に成功しました\n");
  HostWindowShow();

  w.closePosted = 0;
  w.destroyed = 0;
  w.active = 1;
  if (!gPlatform.windowMode) {
    LogWrite("カーソルを不可視にしました\n");
    HostShowCursor(false);
  }
  LogWrite("ＩＭＥを無効にしました\n");
  HostEnableIme(false);
  if (gPlatform.windowMode) {
    HostRect client;
    if (HostWindowClientRect(&client)) w.clientRect = ToIntRect(client);
  }
  w.defaultCharSet = 1;  // the code page is 932, not the Korean 949
  ShowMouseCursor(w.cursorRequested);

  HostWindowRaise(false);
  const uint32_t start = HostTickMs();
  while (HostTickMs() - start < 200) {
    if (PumpMessagesUnlocked() == -1) break;
    HostSleepMs(1);
  }
  FitWindowToScreen();
  w.creatingWindow = 0;
  return 0;
}

}  // namespace

int CreateMainWindow() {
  // The window state, the log's indent and line state and the time source
  // start again; settings and the facts of the earlier steps stay.
  gPlatform.window = MainWindowState();
  gPlatform.logIndent = 0;
  gPlatform.logMidLine = 0;
  gPlatform.usePerformanceCounter = 0;
  gPlatform.performanceFrequency = 0;
  MainWindowState& w = gPlatform.window;

  StrCopy(w.className, sizeof w.className, gPlatform.windowTitle[0] != '\0' ? gPlatform.windowTitle : "D123987X");

  w.mainThreadId = std::this_thread::get_id();
  const HostMemoryFigures memory = HostQueryMemory();
  LogFormat("メモリ総量:%.2fMB  空きメモリ領域:%.2fMB ", static_cast<double>(memory.totalPhysical) / 1048576.0,
            static_cast<double>(memory.availablePhysical) / 1048576.0);
  StorePhysicalMemory(gSystemInfo, memory.totalPhysical, memory.availablePhysical);

  // The window system is needed from here on.
  HostVideoStart();
  const HostDesktop desktop = HostDesktopMetrics();
  w.desktopWidth = desktop.width;
  w.desktopHeight = desktop.height;
  w.desktopDepth = desktop.depth;
  ReadPerformanceFrequency();

  ChooseTimeSource();
  HostEnableScreenSaver(false);

  LogWrite("ソフトの二重起動検査... ");
  if (!HostAcquireInstanceLock(w.className)) {
    LogWrite("二重起動されています、ソフトを終了します\n");
    w.endRequested = 1;
    return -1;
  }
  LogWrite("二重起動はされていませんでした\n");

  if (MakeWindow() != 0) {
    w.endRequested = 1;
    return -1;
  }
  return 0;
}

int DestroyMainWindow() {
  MainWindowState& w = gPlatform.window;
  if (w.mainWindow == 0) return 0;
  HostEnableScreenSaver(true);
  HostEnableIme(true);
  ShowMouseCursor(1);
  if (!w.closePosted) {
    w.closePosted = 1;
    PostMessageOf(HostMessageId::Close);
  }
  while (PumpMessagesUnlocked() != -1) {
  }
  HostReleaseInstanceLock();
  TextInputEnd();
  HostVideoStop();
  w.mainWindow = 0;
  return 0;
}

int FitWindowToScreen() {
  int width = 0;
  int height = 0;
  ScaledScreenSize(gPlatform.windowMode ? GetWindowScale() : 1.0, &width, &height);
  HostRect frame;
  HostRect client;
  if (!HostWindowFrameRect(&frame) || !HostWindowClientRect(&client)) return 0;
  frame.right += width - (client.right - client.left);
  frame.bottom += height - (client.bottom - client.top);
  HostWindowSetFrameRect(frame);
  if (gPlatform.windowMode && !gPlatform.window.styleApplied) {
    gPlatform.window.styleApplied = 1;
    ApplyWindowStyle();
  }
  return 0;
}

int ApplyWindowStyle() {
  MainWindowState& w = gPlatform.window;
  if (w.mainWindow == 0) return 0;
  if (gPlatform.windowMode) {
    LogWrite("ウインドウスタイルをウインドウモード用に変更します... ");
    HostWindowSetStyle(HostWindowStyle::Windowed);
    HostRect frame = CentredWindowFrame();
    HostWindowSetFrameRect(frame);
    HostRect client;
    if (HostWindowClientRect(&client)) w.clientRect = ToIntRect(client);
    // A client area above or left of the desktop moves back onto it.
    const int dx = w.clientRect.left < 0 ? -w.clientRect.left : 0;
    const int dy = w.clientRect.top < 0 ? -w.clientRect.top : 0;
    if (dx != 0 || dy != 0) {
      frame = HostRect{frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy};
      w.clientRect = IntRect{w.clientRect.left + dx, w.clientRect.top + dy, w.clientRect.right + dx,
                             w.clientRect.bottom + dy};
      HostWindowSetFrameRect(frame);
    }
    ShowMouseCursor(1);
  } else {
    LogWrite("ウインドウスタイルをフルスクリーンモード用に変更します... ");
    HostWindowSetStyle(HostWindowStyle::FullScreen);
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    w.clientRect = IntRect{0, 0, width, height};
    HostWindowShow();
    HostWindowSetFrameRect(HostRect{0, 0, width, height});
    ShowMouseCursor(0);
  }
  LogWrite("完了\n");
  HostWindowRaise(false);
  PostMessageOf(HostMessageId::SetCursor);
  return 0;
}

int SetWindowModeFlag(int flag) {
  gPlatform.windowMode = flag != 0 ? 1 : 0;
  LogWrite(flag != 0 ? "ウインドウモードフラグが立てられました\n" : "ウインドウモードフラグが倒されました\n");
  return 0;
}

int ChangeWindowMode(int mode) {
  LogWrite("ChangeWindowMode実行 \n");
  mode = mode != 0 ? 1 : 0;
  if (mode == gPlatform.windowMode) return 0;
  MainWindowState& w = gPlatform.window;
  w.styleApplied = 1;
  w.displayChangeSeen = 0;
  SetWindowModeFlag(mode);
  if (w.mainWindow == 0) return 0;
  w.modeChanging = 1;
  ApplyWindowStyle();
  const int result = ChangeScreenMode(-1, -1, -1, 1, -1);
  // The style change stands for a change of display mode; wait until the
  // window has seen it.
  while (!w.displayChangeSeen && PumpMessagesUnlocked() != -1) {
  }
  w.modeChanging = 0;
  return result;
}

int SetWindowScale(double scale) {
  if (scale == gPlatform.windowScale) return 0;
  gPlatform.windowScale = scale <= 0.0 ? 1.0 : scale;
  if (gPlatform.windowMode) ApplyWindowStyle();
  return 0;
}

double GetWindowScale() {
  if (!gPlatform.windowMode || gPlatform.windowScale <= 0.0) return 1.0;
  return gPlatform.windowScale;
}

int SetWindowTitle(const char* text) {
  StrCopy(gPlatform.windowTitle, sizeof gPlatform.windowTitle, text ? text : "");
  if (gPlatform.window.mainWindow != 0) HostWindowSetTitle(gPlatform.windowTitle);
  return 0;
}

int SetWindowIconResource(int id) {
  gPlatform.iconId = id;
  if (gPlatform.window.mainWindow != 0) HostWindowSetIcon(id);
  return 0;
}

int SetRunInBackground(int flag) {
  gPlatform.runInBackground = flag;
  return 0;
}

int GetClientScreenRect(IntRect* rect) {
  *rect = gPlatform.window.clientRect;
  return 0;
}
