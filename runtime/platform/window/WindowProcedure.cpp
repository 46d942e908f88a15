#include "runtime/platform/window/WindowProcedure.h"

#include "runtime/Movan.h"
#include "runtime/host/window/Cursor.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/input/InputDevices.h"
#include "runtime/platform/input/InputMethod.h"
#include "runtime/platform/input/KeyRing.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/system/PlatformState.h"

namespace {

void PostClose() {
  MainWindowState& w = gPlatform.window;
  if (w.closePosted) return;
  w.closePosted = 1;
  HostMessage close;
  close.id = HostMessageId::Close;
  HostPostMessage(close);
}

// The window is told it is being destroyed while it still exists.
void DestroyWindowNow() {
  HostMessage destroy;
  destroy.id = HostMessageId::Destroy;
  MainWindowProc(destroy);
  HostWindowDestroy();
}

void OnDestroy() {
  MainWindowState& w = gPlatform.window;
  LogWrite("ウインドウが破棄されようとしています\n");
  w.destroyed = 1;
  LogWrite("ソフトを終了する準備が整いました\n");
  HostMessage quit;
  quit.id = HostMessageId::Quit;
  HostPostMessage(quit);
  w.endRequested = 1;
}

void OnActivation(bool active, bool minimised) {
  MainWindowState& w = gPlatform.window;
  if (w.creatingWindow) return;
  w.active = active ? 1 : 0;
  if (active) {
    RestoreAndCheckSurfaces2D();
    CheckLostSurfaces3D();
    if (!gPlatform.windowMode && gPlatform.initialised) {
      // A full-screen window that is minimised stays as it is until restored.
      if (minimised) return;
      ReinitGraphics();
      ResumeAllMovies();
    } else if (!gPlatform.runInBackground) {
      ResumeAllMovies();
    }
    ReacquireInputDevices();
    return;
  }
  if (!gPlatform.windowMode && IsFullScreenModeSet() && !IsDirectDrawOn()) {
    // The display goes back to the desktop while the game is away.
    ReleaseDirectDraw();
    HostWindowMinimise();
  }
  if (!gPlatform.windowMode && gPlatform.initialised) ReleaseDirect3DObject();
  if (!gPlatform.windowMode || !gPlatform.runInBackground) PauseAllMovies();
  ReacquireInputDevices();
}

void OnPaint() {
  MainWindowState& w = gPlatform.window;
  if (!gPlatform.windowMode) return;
  w.painting = 1;
  if (!gPlatform.initialised) {
    HostWindowFillBlack();
  } else if (GetDrawTarget() == kBackScreen) {
    const int vsync = GetWaitVsync();
    SetWaitVsync(0);
    PresentScreen();
    SetWaitVsync(vsync);
  }
  w.painting = 0;
}

void OnDisplayChange(int depth, int width, int height) {
  MainWindowState& w = gPlatform.window;
  if (gPlatform.windowMode && !w.modeChanging) {
    int screenWidth = 0;
    int screenHeight = 0;
    int screenDepth = 0;
    GetScreenMetrics(&screenWidth, &screenHeight, &screenDepth);
    const bool same = screenWidth == width && screenHeight == height && screenDepth == depth;
    const bool unworkable = !HasGraphicsRestoreHandler() || depth == 24 || (depth == 8 && screenDepth != 8) ||
                            screenWidth > width || screenHeight > height;
    if (!same && unworkable) {
      LogWrite("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\n");
      LogWrite("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\n");
      PostClose();
      return;
    }
    if (!same) {
      ReleaseAllMovieStreams();
      DetectScreenPixelFormat();
      ReinitGraphics();
      ResumeAllMovies();
    }
  }
  w.displayChangeSeen = 1;
}

}  // namespace

int MainWindowProc(const HostMessage& message) {
  MainWindowState& w = gPlatform.window;
  switch (message.id) {
    case HostMessageId::Size:
      if (message.p1 != kHostSizeMaximised) FitWindowToScreen();
      break;
    case HostMessageId::Paint:
      OnPaint();
      break;
    case HostMessageId::Move:
      if (gPlatform.windowMode && !w.modeChanging) OnWindowMoved(message.p1, message.p2);
      break;
    case HostMessageId::Close:
      LogWrite("ウインドウを閉じようとしています\n");
      DestroyWindowNow();
      return 0;
    case HostMessageId::Destroy:
      OnDestroy();
      break;
    case HostMessageId::Activate:
      OnActivation(message.p1 != 0, message.p2 != 0);
      break;
    case HostMessageId::ActivateApp:
      if (message.p1 == 0) OnActivation(false, false);
      break;
    case HostMessageId::DisplayChange:
      OnDisplayChange(message.p1, message.p2, message.p3);
      break;
    case HostMessageId::SetCursor:
    case HostMessageId::MouseMove:
    case HostMessageId::ButtonDown:
    case HostMessageId::ButtonUp:
      // The window system shows its cursor again as the mouse moves.
      if (!w.cursorShown) HostShowCursor(false);
      break;
    case HostMessageId::MouseWheel:
      w.wheelCount += message.p1 > 0 ? 1 : -1;
      break;
    case HostMessageId::Char: {
      const int code = KeyRingCodeOfChar(message.p1);
      if (code >= 0) KeyRingPush(code);
      break;
    }
    case HostMessageId::KeyDown: {
      const int code = KeyRingCodeOfKey(message.p1);
      if (code >= 0 && !IsKeyRingFull()) KeyRingPush(code);
      break;
    }
    case HostMessageId::ImeStartComposition:
    case HostMessageId::ImeComposition:
    case HostMessageId::ImeEndComposition:
      return HandleImeMessage(message);
    default:
      break;
  }
  return 0;
}

void OnWindowMoved(int left, int top) {
  IntRect& r = gPlatform.window.clientRect;
  r = IntRect{left, top, left + (r.right - r.left), top + (r.bottom - r.top)};
  if (!gPlatform.initialised) return;
  // Memory-image screens keep their own front-screen rectangle.
  if (GetDrawTarget() == kFrontScreen && !IsSoftwareDrawingRequested()) {
    const int mask = GetMaskDrawingFlag();
    EnableMaskDrawing(0);
    SetFrontScreenRect(r);
    EnableMaskDrawing(mask);
  }
  IntRect region;
  GetDrawRegion(&region);
  SetDrawRegion(region.left, region.top, region.right, region.bottom);
}

int KeyRingCodeOfChar(int code) {
  if (code == 0x0A) return 0x0D;
  if (code >= 0x20 || code == 0x08 || code == 0x09 || code == 0x0D || code == 0x10 || code == 0x1B) return code;
  return -1;
}

int KeyRingCodeOfKey(int key) {
  switch (key) {
    case kHostKeyDelete:
      return 0x10;
    case kHostKeyLeft:
      return 0x1D;
    case kHostKeyRight:
      return 0x1C;
    case kHostKeyUp:
      return 0x1E;
    case kHostKeyDown:
      return 0x1F;
    default:
      return -1;
  }
}
