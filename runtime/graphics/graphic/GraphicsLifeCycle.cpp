#include "runtime/graphics/graphic/GraphicsLifeCycle.h"

#include "runtime/Movan.h"

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/fonts/DefaultFont.h"
#include "runtime/graphics/graphic/DrawOperations.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/graphics/screen/ScreenModeChange.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/input/InputDevices.h"
#include "runtime/platform/system/LayerLifeCycle.h"
#include "runtime/platform/window/MessagePump.h"

namespace {

GraphicsRestoreFunction gGivenRestore = nullptr;

// The restore function in force: the layer's own reload, then the one the
// program registered.
void RestoreAllThenGiven() {
  RestoreAllGraphics();
  if (gGivenRestore) gGivenRestore();
}

}  // namespace

int InitScreenDevice(uintptr_t window) {
  (void)window;  // the screen device works on the layer's one window
  if (InitDirectDraw() != 0) {
    if (!gScreen.softwareScreens) {
      LogWrite("ソフトウエアレンダリングモードに変更します\n");
      EnableHardwareDrawing(0);
      if (InitDirectDraw() == 0) {
        gScreen.graphicsStarted = 1;
        return 0;
      }
    }
    FatalErrorExit("DirectDraw の初期化に失敗しました");
  }
  gScreen.graphicsStarted = 1;
  return 0;
}

int EndScreenDevice() {
  EndDirectDraw();
  gScreen.graphicsStarted = 0;
  return 0;
}

int InitGraphics() {
  if (gScreen.graphicsStarted) return 0;
  LogWrite("グラフィック管理系の初期化を行います\n");
  LogIndentIn();
  ClearGraphicTables();
  gScreen.graphicsStarted = 1;
  if (HasScreenDevice()) DeleteAllSurface2D();
  // The screen-mode change has started the 3D device already in DirectDraw
  // mode; this start only finds it there.
  if (!gScreen.softwareScreens && !gScreen.softwareRequested) InitDirect3D();
  LogWrite(HasDevice3D() ? "３Ｄグラフィック描画機能を使用します\n" : "３Ｄグラフィック描画機能は使用しません\n");
  ResetDrawState();
  InitFonts();
  LogIndentOut();
  LogWrite("グラフィック管理系の初期化は正常に終了しました\n");
  return 0;
}

int EndGraphics() {
  if (!gScreen.graphicsStarted) return 0;
  WaitWhileInactive();
  DeleteAllGraphics(0);
  EndFonts();
  ClearGraphicTables();
  gScreen.graphicsStarted = 0;
  LogWrite("グラフィック管理系の終了処理は正常に終了しました\n");
  return 0;
}

int ReinitGraphics() {
  const bool running = gScreen.started != 0;
  gScreen.resetting = 1;
  if (running) {
    ReleaseDirect3DObject();
    ReleaseScreenSurfaces();
  }
  InputEnd();
  if (!running) {
    gScreen.resetting = 0;
    return 0;
  }
  ReleaseSurface2DImages();
  ReleaseDirectDraw();
  RecreateDirectDraw();
  CreateScreenSurfaces();
  SelectDrawSurface(gDrawState.drawTarget, gDrawState.drawTarget);
  ReacquireDirect3D();
  ClearDrawTarget();
  FlipScreen();
  gScreen.resetting = 0;
  RunGraphicsRestore();
  ReopenAllMovieStreams();
  if (HasDevice3D()) {
    SetWorldMatrix3D(gDrawState.world, 0);
    SetViewMatrix3D(gDrawState.view);
    SetProjectionMatrix3D(gDrawState.projection);
  }
  LogIndentOut();
  return 0;
}

int SetGraphicsRestoreHandler(GraphicsRestoreFunction function) {
  gGivenRestore = function;
  gDrawState.restoreFunction = RestoreAllThenGiven;
  return 0;
}

int RunGraphicsRestore() {
  ForEachGraphic([](int, GraphicEntry* g, void*) { g->restorePending = 1; }, nullptr);
  if (gDrawState.restoreFunction) gDrawState.restoreFunction();
  RestoreFonts();
  return 0;
}

int RestoreGraphic(int graphic) {
  const GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return -1;
  if (g->format.texture) {
    CheckLostGraphic3D(g);
  } else {
    RestoreGraphicParts2D(g);
  }
  RestoreMovieSurfaces(g->movie);
  return 0;
}
