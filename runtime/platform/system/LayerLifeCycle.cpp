#include "runtime/platform/system/LayerLifeCycle.h"

#include <cstdarg>

#include "runtime/Movan.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/screen/Display.h"
#include "runtime/host/system/ProcessExit.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/system/ApiLock.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/archive/ArchiveCache.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/base/Format.h"
#include "runtime/platform/input/InputDevices.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/ScreenLog.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "runtime/platform/files/StartDirectory.h"
#include "runtime/platform/system/SystemInfo.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/system/TimeSource.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// Nothing on Linux needs the component object model; the step keeps its
// place and its log lines.
int StartComponentModel() {
  if (gPlatform.comInitialised) return -1;
  LogWrite("ＣＯＭの初期化... ");
  LogWrite("成功しました\n");
  gPlatform.comInitialised = 1;
  return 0;
}

void EndComponentModel() {
  if (!gPlatform.comInitialised) return;
  LogWrite("ＣＯＭを終了... 完了\n");
  gPlatform.comInitialised = 0;
}

// The first draws: a drawable graphic made a target once, then black
// graphics drawn onto both screens. The draw target is left on the front
// screen.
void MakeFirstScreens() {
  SetDrawTarget(kBackScreen);
  SetDrawTarget(kFrontScreen);
  SetCreateDrawableGraphics(1);
  const int drawable = CreateBlankGraphic(256, 256, 1);
  SetCreateDrawableGraphics(0);
  SetDrawTarget(drawable);
  SetDrawTarget(kFrontScreen);
  DeleteGraphic(drawable);
  SetDrawTarget(kBackScreen);

  GraphImage black = {};
  if (CreateRgb24GraphImage(256, 256, &black) == 0) {
    FillGraphImage(&black, 0, 0, 0, 0);
    const int first = MakeGraphicFromGraphImage(&black);
    SetBlendMode(3, 128);
    DrawGraphicAt(0, 0, first, 0);
    SetBlendMode(0, 0);
    SetDrawTarget(kFrontScreen);
    DrawGraphicAt(0, 0, first, 0);
    DeleteGraphic(first);
    const int second = MakeGraphicFromGraphImage(&black);
    DrawGraphicStretched(0, 0, 640, 480, second, 0);
    DeleteGraphic(second);
    FreeGraphImage(&black);
  }
  SetDrawTarget(kFrontScreen);
}

int StartUpFailed() {
  gPlatform.initialising = 0;
  return -1;
}

}  // namespace

int InitLayerSystems() {
  if (gPlatform.initialised) return 0;
  gPlatform.initialising = 1;

  // Drawing goes to memory images when it was asked for or the display has
  // no hardware for it (no GL context can be had).
  if (IsSoftwareDrawingRequested() || !HostHasHardwareDrawing()) EnableHardwareDrawing(0);
  InitYuvTables();
  ResetArchiveState();
  InstallFileAccessTable(nullptr);
  ReadStartDirectory();
  OpenLogFile();

  // The window system is started here, once, for the desktop's facts and
  // for the window; a failure shows when the window is made.
  HostVideoStart();
  const HostDesktop desktop = HostDesktopMetrics();
  if ((desktop.depth == 24 && gPlatform.windowMode) || GetScreenDepth() == 24) {
    HostVideoStop();
    return LogWrite("Ｍｏｖａｎライブラリは２４ビットカラーモードに対応していません\n");
  }

  ReadPerformanceFrequency();
  CollectSystemInfo();
  if (gPlatform.osVersionCode == 0x108) UseWorkSurfaceForFrontScreen(1);
  SetGraphicsRestoreHandler(nullptr);

  if (StartComponentModel() != 0) return StartUpFailed();
  if (CreateMainWindow() != 0) return StartUpFailed();
  if (InputInit() == -1) return StartUpFailed();
  InitSoundSystem();  // the game runs on without sound
  if (InitScreenDevice(gPlatform.window.mainWindow) < 0) return StartUpFailed();
  TextInputInit();
  gPlatform.initialised = 1;
  SetWaitVsync(1);
  if (!gPlatform.windowMode) HostWindowRaise(true);
  ScreenLogInit();
  MakeFirstScreens();

  gPlatform.initialising = 0;
  return 0;
}

int EndLayerSystems() {
  if (!gPlatform.initialised) return 0;
  ScreenLogEnd();
  EndScreenDevice();
  InputEnd();
  TermSoundSystem();
  DestroyMainWindow();
  EndComponentModel();
  DeleteAllGraphImageHandles();
  gPlatform.initialised = 0;
  while (PumpMessagesUnlocked() != -1 && !gPlatform.window.endRequested) {
  }
  RestoreStartDirectory();
  CloseUnusedArchives();
  DumpAllocations();
  return 0;
}

int LayerInit() {
  if (gPlatform.initialised) return 0;
  ApiLock();
  const int result = InitLayerSystems();
  ApiUnlock();
  return result;
}

int LayerEnd() {
  if (!gPlatform.initialised) return 0;
  ApiLock();
  const int result = EndLayerSystems();
  ApiUnlock();
  ApiLockTeardown();
  return result;
}

void FatalErrorExit(const char* text) {
  LogWrite(text);
  LogWrite("\n");
  EndLayerSystems();
  ApiLockTeardown();
  HostExitProcess(-1);
}

void FatalErrorExitFormat(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  FormatStringV(text, sizeof text, format, args);
  va_end(args);
  FatalErrorExit(text);
}
