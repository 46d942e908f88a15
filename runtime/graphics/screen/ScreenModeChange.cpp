#include "runtime/graphics/screen/ScreenModeChange.h"

#include "runtime/Movan.h"

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/DrawOperations.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/GraphicsLifeCycle.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/screen/SurfaceCopy.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/screen/Display.h"
#include "runtime/host/screen/Presenter.h"
#include "runtime/host/system/Clock.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/ScreenLog.h"
#include "runtime/platform/system/LayerLifeCycle.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/softrender/BlendTables.h"

namespace {

struct Mode {
  int width;
  int height;
  int depth;
  int refresh;
};

bool SameMode(const Mode& a, const Mode& b) {
  return a.width == b.width && a.height == b.height && a.depth == b.depth && a.refresh == b.refresh;
}

Mode StoredMode() {
  return Mode{gScreenDevice.width, gScreenDevice.height, gScreenDevice.displayDepth, gScreenDevice.refreshRate};
}

void StoreMode(const Mode& m) {
  gScreenDevice.width = m.width;
  gScreenDevice.height = m.height;
  gScreenDevice.displayDepth = m.depth;
  gScreenDevice.refreshRate = m.refresh;
}

bool SizeAllowed(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxGraphicSide && height <= kMaxGraphicSide &&
         static_cast<int64_t>(width) * height <= kMaxGraphicArea;
}

// The display object stands for the device that gives the vertical blank
// and the display modes.
int CreateDisplayObject() {
  LogWrite("DirectDraw オブジェクトの取得を行います....  ");
  LogWrite("成功\n");
  LogWrite("引き続き初期化処理... ");
  LogWrite("初期化に成功しました\n");
  LogWrite("ビデオカードの情報\n");
  LogIndentIn();
  gSystemInfo.displayDriverName[0] = '\0';
  gSystemInfo.displayDriverDescription[0] = '\0';
  LogIndentOut();
  // The drawing hardware is wanted in DirectDraw mode only; software mode
  // uses the object for the vertical blank alone.
  HostDisplayObjectCreate(!gScreen.directDrawDisabled);
  gScreen.displayObject = 1;
  return 0;
}

void ReleaseDisplayObject() {
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  HostDisplayObjectRelease();
  gScreen.displayObject = 0;
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
}

HostSurface* MakeSurface(int width, int height, uint32_t caps) {
  HostSurfaceDesc desc;
  desc.width = width;
  desc.height = height;
  desc.caps = caps;
  return HostSurfaceCreate(desc, nullptr);
}

const char* MemoryKind(HostSurface* surface) {
  return (HostSurfaceCaps(surface) & kHostSurfaceVideoMemory) ? "VIDEOMEMORY" : "SYSTEMMEMORY";
}

void ReleaseSurface(HostSurface*& surface) {
  if (surface) HostSurfaceRelease(surface);
  surface = nullptr;
}

// The screen surfaces of DirectDraw mode: the window (with a flip chain in
// full screen), the back screen, the work surfaces and the depth buffer.
void CreateDisplaySurfaces() {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  gScreenDevice.depth = gScreenDevice.displayDepth;
  const uint32_t black = PackColor(0, 0, 0);
  if (IsWindowMode()) {
    gScreen.primary = MakeSurface(0, 0, kHostSurfacePrimary | kHostSurface3DDevice);
    if (!gScreen.primary) FatalErrorExit("プライマリサーフェスの作成に失敗しました");
    gScreen.backSurface = MakeSurface(width, height, kHostSurfaceOffscreen | kHostSurface3DDevice);
    if (!gScreen.backSurface) FatalErrorExit("バックサーフェスの作成に失敗しました");
    HostSurfaceColorFill(gScreen.backSurface, nullptr, black);
  } else {
    HostSurfaceDesc desc;
    desc.caps = kHostSurfacePrimary | kHostSurfaceFlip | kHostSurface3DDevice;
    desc.backBuffers = 1;
    gScreen.primary = HostSurfaceCreate(desc, nullptr);
    if (!gScreen.primary) FatalErrorExit("プライマリサーフェスの作成に失敗しました");
    gScreen.backSurface = HostSurfaceBackBuffer(gScreen.primary);
    if (!gScreen.backSurface) FatalErrorExit("バックバッファのポインタ取得に失敗しました");
    for (int i = 0; i < 3; ++i) {
      HostSurfaceColorFill(gScreen.backSurface, nullptr, black);
      HostSurfaceFlip(gScreen.primary);
    }
  }
  if (gScreen.emulateFront) {
    gScreen.frontWork = MakeSurface(width, height, kHostSurfaceOffscreen | kHostSurface3DDevice);
    if (!gScreen.frontWork) FatalErrorExit("テンポラリプライマリサーフェスの作成に失敗しました");
    HostSurfaceColorFill(gScreen.frontWork, nullptr, black);
  }
  gScreen.work1 = MakeSurface(width, height, kHostSurfaceOffscreen | kHostSurfaceSystemMemory);
  if (!gScreen.work1) FatalErrorExit("作業用サーフェスの作成に失敗しました");
  HostSurfaceSetColorKey(gScreen.work1, 0);
  gScreen.work2 = MakeSurface(width, height, kHostSurfaceOffscreen | kHostSurfaceSystemMemory);
  if (!gScreen.work2) FatalErrorExit("作業用サーフェス２の作成に失敗しました");
  HostSurfaceSetColorKey(gScreen.work2, 0);
  HostSurfaceDesc depth;
  depth.width = width;
  depth.height = height;
  depth.caps = kHostSurfaceZBuffer | kHostSurfaceVideoMemory;
  depth.hasFormat = true;
  depth.format = HostPixelFormat{sizeof(HostPixelFormat), kHostPixelZBuffer, 0, 16, 0, 0, 0, 0};
  gScreen.zbuffer = HostSurfaceCreate(depth, nullptr);
  if (!gScreen.zbuffer) {
    LogWrite("Ｚバッファの作成に失敗しました\n");
  } else {
    HostSurfaceAttachDepth(gScreen.backSurface, gScreen.zbuffer);
  }
}

// Frame timing of DirectDraw mode: the display's refresh gives the frame.
void MeasureFrameTime() {
  const int refresh = HostDisplayDesktopMode().refreshRate;
  gScreen.refreshEstimate = refresh >= 60 ? refresh : -1;
  gScreen.frameTime = refresh > 0 ? 1000 / refresh : -1;
  if (gScreen.frameTime > 0) LogFormat("１フレーム当たりの時間は %d msecです", gScreen.frameTime);
  gScreen.minVsyncInterval = gScreen.frameTime > 0 ? (2 * gScreen.frameTime - 4) / 3 : -1;
}

// Sets the display for the stored mode: the desktop in window mode, a
// full-screen mode otherwise. 0, or -1 (24-bit desktops, refused modes).
int ApplyDisplayMode(int desktopWidth, int desktopHeight, int* depthOut) {
  LogFormat("画面モードの変更処理を開始します %u x %u  %u bit ", static_cast<unsigned>(gScreenDevice.width),
            static_cast<unsigned>(gScreenDevice.height), static_cast<unsigned>(gScreenDevice.displayDepth));
  LogIndentIn();
  if (IsWindowMode()) {
    LogWrite("ウインドウモードにします\n");
    if (gScreenDevice.width > desktopWidth || gScreenDevice.height > desktopHeight) {
      FatalErrorExit("デスクトップ画面のサイズが足りません、ソフトを終了します");
    }
    if (gScreen.fullScreenModeSet) {
      LogWrite("フルスクリーンモードから抜けます\n");
      HostDisplayRestoreMode();
      gScreen.fullScreenModeSet = 0;
    }
    const int desktopDepth = HostDisplayDesktopMode().depth;
    if (desktopDepth == 24) {
      LogIndentOut();
      return -1;
    }
    if (depthOut) *depthOut = desktopDepth;
  } else {
    if (gScreenDevice.displayDepth == 24) {
      LogIndentOut();
      return -1;
    }
    LogWrite("画面解像度を変更します... ");
    bool set = HostDisplaySetMode(gScreenDevice.width, gScreenDevice.height, gScreenDevice.displayDepth,
                                  gScreenDevice.refreshRate);
    if (!set) {
      set = HostDisplaySetMode(gScreenDevice.width, gScreenDevice.height, gScreenDevice.displayDepth, 0);
      if (set) gScreenDevice.refreshRate = 0;
    }
    if (!set) {
      LogWrite("画面モードの変更に失敗しました\n");
      LogIndentOut();
      return -1;
    }
    if (depthOut) *depthOut = gScreenDevice.displayDepth;
    gScreen.fullScreenModeSet = 1;
    LogWrite("成功しました\n");
  }
  LogIndentOut();
  LogWrite("画面モードの変更は正常に終了しました \n");
  return 0;
}

// The first mode set: the display mode, with the old mode and then
// 640 x 480 x 16 as fallbacks.
int FirstModeSet(const Mode& old, const Mode& requested) {
  if (!IsWindowMode()) ApplyWindowStyle();
  int desktopWidth = 0;
  int desktopHeight = 0;
  GetDesktopMetrics(&desktopWidth, &desktopHeight, nullptr);
  if (gScreenDevice.width == 0) gScreenDevice.width = 640;
  if (gScreenDevice.height == 0) gScreenDevice.height = 480;
  if (gScreenDevice.displayDepth == 0) gScreenDevice.displayDepth = 16;
  int depth = gScreenDevice.displayDepth;
  if (ApplyDisplayMode(desktopWidth, desktopHeight, &depth) == 0) {
    gScreenDevice.displayDepth = depth;
    return 0;
  }
  StoreMode(old);
  if (!IsWindowMode()) ApplyWindowStyle();
  const Mode oldNoRefresh = {old.width, old.height, old.depth, 0};
  if (!SameMode(oldNoRefresh, requested) && ApplyDisplayMode(desktopWidth, desktopHeight, &depth) == 0) {
    gScreenDevice.displayDepth = depth;
    return -1;
  }
  StoreMode(Mode{640, 480, 16, 0});
  if (!IsWindowMode()) {
    SetWindowModeFlag(1);
    ApplyWindowStyle();
  }
  if (ApplyDisplayMode(desktopWidth, desktopHeight, &depth) != 0) {
    FatalErrorExit("予期せぬ画面モード変更不能現象が起きました\n");
  }
  gScreenDevice.displayDepth = depth;
  return -2;
}

// A later mode set in software mode.
int RebuildModeSet(const Mode& old) {
  gScreen.fullScreenModeSet = 0;
  if (IsWindowMode()) {
    HostDisplayRestoreMode();
    return 0;
  }
  LogWrite("画面解像度を変更します... ");
  const Mode requested = StoredMode();
  const Mode tries[4] = {requested,
                         Mode{requested.width, requested.height, requested.depth, 0},
                         old,
                         Mode{640, 480, 16, 0}};
  for (int i = 0; i < 4; ++i) {
    if (!HostDisplaySetMode(tries[i].width, tries[i].height, tries[i].depth, tries[i].refresh)) continue;
    StoreMode(tries[i]);
    LogWrite("成功しました\n");
    gScreen.fullScreenModeSet = 1;
    return i == 3 ? -2 : 0;
  }
  FatalErrorExit("予期せぬ画面モード変更不能現象が起きました2\n");
}

void PaceModeChange() {
  const uint32_t now = HostTickMs();
  if (gScreen.modeChangedOnce && now - gScreen.lastModeChangeMs < 2000) {
    HostSleepMs(gScreen.lastModeChangeMs + 2060 - now);
  } else {
    HostSleepMs(60);
  }
  gScreen.lastModeChangeMs = HostTickMs();
  gScreen.modeChangedOnce = 1;
}

}  // namespace

int InitDirectDraw() {
  if (gScreen.displayObject) return -1;
  LogWrite("DirectDraw 関連の初期化を行います\n");
  LogIndentIn();
  if (gScreen.directDrawDisabled) {
    Enable3DDrawing(0);
    SetSurfaceMemoryPreference(0);
    EnableHardwareDrawing(0);
  }
  CreateDisplayObject();
  if (gScreenDevice.width == 0) gScreenDevice.width = 640;
  if (gScreenDevice.height == 0) gScreenDevice.height = 480;
  if (gScreenDevice.displayDepth == 0) gScreenDevice.displayDepth = 16;
  if (gScreenDevice.depth == 0) gScreenDevice.depth = gScreenDevice.displayDepth;
  if (ChangeScreenMode(-1, -1, -1, 1, -1) == -1) {
    LogIndentOut();
    EndDirectDraw();
    return -1;
  }
  SetDrawTarget(-2);
  ClearDrawTarget();
  SetDrawTarget(-4);
  gScreen.endSceneBeforeDraw = 1;
  // No overlay surfaces on this display.
  LogWrite("オーバーレイサーフェスは使用しません\n");
  LogIndentOut();
  LogWrite("DirectDraw 関連の初期化は正常に終了しました\n");
  BuildSoftBlendTables();
  gScreen.started = 1;
  return 0;
}

int EndDirectDraw() {
  if (!gScreen.directDrawDisabled && !gScreen.displayObject) return 0;
  LogWrite("DirectDraw 関連の終了処理をおこないます\n");
  LogIndentIn();
  EndGraphics();
  DeleteAllSurface2D();
  EndDirect3D();
  ReleaseScreenSurfaces();
  ReleaseDisplayObject();
  RestoreDisplayMode();
  HostReleasePresenter();
  LogIndentOut();
  LogWrite("DirectDraw 関連の終了処理は正常に終了しました\n");
  gScreen.started = 0;
  return 0;
}

int ChangeScreenMode(int width, int height, int depth, int force, int refreshRate) {
  const uint32_t transparent = gDrawState.transparentColor;
  Mode current = StoredMode();
  GetScreenSize(&current.width, &current.height);
  GetScreenMetrics(nullptr, nullptr, &current.depth);
  const Mode requested = {width == -1 ? current.width : width, height == -1 ? current.height : height,
                          depth == -1 ? current.depth : depth, refreshRate == -1 ? current.refresh : refreshRate};
  if (SameMode(requested, current) && !force) return 0;

  LogWrite("画面モード変更処理を開始します\n");
  LogIndentIn();
  // The default font's size and thickness survive the change.
  const bool hadDefaultFont = IsFontHandleValid(GetDefaultFont()) != 0;
  char face[256] = {};
  int fontSize = 0;
  int fontThickness = 0;
  if (hadDefaultFont) GetFontInfo(face, &fontSize, &fontThickness, GetDefaultFont());
  const Mode old = StoredMode();
  StoreMode(requested);
  if (!(gPlatform.initialising || gPlatform.initialised) || (!gScreen.directDrawDisabled && !gScreen.displayObject)) {
    LogIndentOut();
    return 0;
  }
  gScreen.gdiPresentEffective = -1;
  PaceModeChange();
  DeleteAllGraphics(0);
  EndGraphics();
  EndDirect3D();
  ReleaseScreenSurfaces();

  int result;
  if (gScreen.started) {
    DeleteAllSurface2D();
    if (!gScreen.directDrawDisabled || HostDisplayHasDevice3D()) {
      // A new object, with the drawing hardware only while DirectDraw is used.
      ReleaseDisplayObject();
      CreateDisplayObject();
    }
    result = RebuildModeSet(old);
  } else {
    result = FirstModeSet(old, requested);
  }
  DetectScreenPixelFormat();
  if (IsWindowMode() || gScreen.directDrawDisabled) ApplyWindowStyle();
  if (CreateScreenSurfaces() != 0) {
    LogIndentOut();
    LogWrite("DirectDrawSurface の初期化に失敗しました\n");
    return -1;
  }
  if (!gScreen.directDrawDisabled && !gScreen.softwareRequested && InitDirect3D() != 0) {
    LogIndentOut();
    ReleaseScreenSurfaces();
    return -1;
  }
  InitGraphics();
  if (hadDefaultFont) SetDefaultFontSizeAndThickness(face, fontSize, fontThickness);
  ScreenLogInit();
  if (gScreen.softwareScreens) {
    // Memory-image screens are paced by the blank alone.
    gScreen.refreshEstimate = 60;
    gScreen.minVsyncInterval = -1;
  } else {
    ChooseSurfaceCopyMethod();
    MeasureFrameTime();
  }
  if (gScreen.started) gDrawState.transparentColor = transparent;
  LogIndentOut();
  LogWrite("画面モード変更処理は正常に終了しました\n");
  PumpMessagesUnlocked();
  return result;
}

int SetScreenMode(int width, int height, int depth, int refreshRate) {
  int currentWidth = 0;
  int currentHeight = 0;
  GetScreenSize(&currentWidth, &currentHeight);
  if (width == -1) width = currentWidth;
  if (height == -1) height = currentHeight;
  if (depth == -1) depth = GetScreenDepth();
  if (refreshRate == -1) refreshRate = gScreenDevice.refreshRate;
  // Refused before anything is touched.
  if (!SizeAllowed(width, height) || (depth != 8 && depth != 16 && depth != 32)) return -1;
  const int oldDrawingDepth = GetScreenDepth();
  gScreenDevice.depth = depth;
  // Memory-image screens follow the drawing depth: a new one rebuilds them.
  const int force = gScreen.started && depth != oldDrawingDepth ? 1 : 0;
  const int result = ChangeScreenMode(width, height, depth, force, refreshRate);
  if (result == -2) return -2;
  int nowWidth = 0;
  int nowHeight = 0;
  GetScreenSize(&nowWidth, &nowHeight);
  if (nowWidth == width && nowHeight == height && gScreenDevice.refreshRate == refreshRate) return 0;
  return -1;
}

int EnableHardwareDrawing(int flag) {
  if (gScreen.directDrawDisabled || flag == 0) {
    Enable3DDrawing(0);
    SetSurfaceMemoryPreference(0);
    gScreen.directDrawDisabled = 1;
    gScreen.softwareRequested = 1;
    flag = 0;
  }
  gScreen.softwareScreens = flag ? 0 : 1;
  if (gScreen.displayObject && gScreen.started) {
    const int target = gDrawState.drawTarget;
    DeleteAllGraphics(0);
    ChangeScreenMode(-1, -1, -1, 1, -1);
    if (target == -4 || target == -2) SetDrawTarget(target);
  }
  return 0;
}

int DetectScreenPixelFormat() {
  if (gScreen.directDrawDisabled) {
    if (gScreenDevice.displayDepth != 16 && gScreenDevice.displayDepth != 32) gScreenDevice.displayDepth = 16;
    const bool wide = gScreenDevice.displayDepth == 32;
    gScreen.pixelClass = wide ? kPixelClassX8R8G8B8 : kPixelClassX1R5G5B5;
    gScreen.screenFormat = *GetMemImgColorFormat(wide ? MemImgXrgb8888 : MemImgRgb565, 0, 0);
    return 0;
  }
  if (!gScreen.displayObject) return 0;
  const HostPixelFormat display = HostDisplayPixelFormat();
  gScreen.displayFormat = ToDDPixelFormat(display);
  ColorFormatFromPixelFormat(gScreen.displayFormat, &gScreen.screenFormat);
  const ColorFormat& f = gScreen.screenFormat;
  LogWrite("カラー情報\n");
  LogIndentIn();
  LogFormat("%08x %08x %08x %08x", f.alphaMask, f.redMask, f.greenMask, f.blueMask);
  LogIndentOut();
  gScreenDevice.displayDepth = static_cast<int32_t>(display.bitCount);
  if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F) {
    gScreen.pixelClass = kPixelClassR5G6B5;
  } else if (f.redMask == 0x7C00 && f.greenMask == 0x03E0 && f.blueMask == 0x001F) {
    gScreen.pixelClass = kPixelClassX1R5G5B5;
  } else if (f.redMask == 0xFF0000 && f.greenMask == 0xFF00 && f.blueMask == 0xFF) {
    gScreen.pixelClass = kPixelClassX8R8G8B8;
  } else {
    gScreen.pixelClass = kPixelClassOther;
  }
  return 0;
}

int ReleaseDirectDraw() {
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  if (!gScreen.directDrawDisabled && !gScreen.displayObject) {
    LogWrite("既に解放されています\n");
    return 0;
  }
  ReleaseSurface2DImages();
  if (!IsWindowMode() && gScreen.fullScreenModeSet) {
    HostDisplayRestoreMode();
    if (!gScreen.directDrawDisabled) gScreen.fullScreenModeSet = 0;
  }
  HostDisplayObjectRelease();
  gScreen.displayObject = 0;
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
  return 0;
}

int RecreateDirectDraw() {
  if (gScreen.displayObject) return 0;
  CreateDisplayObject();
  int desktopWidth = 0;
  int desktopHeight = 0;
  GetDesktopMetrics(&desktopWidth, &desktopHeight, nullptr);
  ApplyDisplayMode(desktopWidth, desktopHeight, nullptr);
  RecreateSurface2DImages();
  return 0;
}

int RestoreDisplayMode() {
  HostDisplayRestoreMode();
  gScreen.fullScreenModeSet = 0;
  LogWrite("画面モードを元に戻す処理は正常に終了しました\n");
  return 0;
}

int CreateScreenSurfaces() {
  if (!gScreen.softwareScreens) {
    if (!gScreen.displayObject || gScreen.primary) return -1;
    LogWrite("出力画面用の DirectDrawSurface を作成します\n");
    LogIndentIn();
    CreateDisplaySurfaces();
    LogWrite("各スクリーンメモリの配置位置\n");
    LogIndentIn();
    LogFormat("PrimaryBuffer : %s  ", MemoryKind(gScreen.primary));
    LogFormat("BaskBuffer : %s  ", MemoryKind(gScreen.backSurface));
    LogIndentOut();
    LogIndentOut();
    LogWrite("出力画面用の DirectDrawSurface の作成は正常に終了しました\n");
    return 0;
  }
  if (IsMemImgValid(&gScreen.back)) return -1;
  LogWrite("出力画面用の DirectDrawSurface を作成します\n");
  LogIndentIn();
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  const int type = GetScreenDepth() == 16 ? MemImgRgb565 : MemImgXrgb8888;
  if (CreateScreenMemImg(&gScreen.front, width, height, type) < 0) {
    FatalErrorExit("プライマリサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  if (CreateScreenMemImg(&gScreen.back, width, height, type) < 0) {
    FatalErrorExit("バックサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  if (CreateDepthMemImg(&gScreen.depth, width, height) < 0) {
    FatalErrorExit("Ｚバッファサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  const uint32_t black = EncodePixel(*gScreen.front.store->colorFormat, 0, 0, 0, 0);
  FillMemImg(&gScreen.front, nullptr, black);
  FillMemImg(&gScreen.back, nullptr, black);
  LogWrite("各スクリーンメモリの配置位置\n");
  LogIndentIn();
  LogWrite("PrimaryBuffer : SYSTEMMEMORY( MEMIMG ) ");
  LogWrite("BaskBuffer : SYSTEMMEMORY( MEMIMG ) ");
  LogIndentOut();
  LogIndentOut();
  LogWrite("出力画面用の DirectDrawSurface の作成は正常に終了しました\n");
  return 0;
}

int ReleaseScreenSurfaces() {
  if (!gScreen.directDrawDisabled && !gScreen.displayObject) return -1;
  if (IsMemImgValid(&gScreen.drawView)) ReleaseMemImg(&gScreen.drawView);
  gScreen.drawView = MemImg{};
  gScreen.drawImage = nullptr;
  gScreen.drawDepthImage = nullptr;
  for (MemImg* image : {&gScreen.front, &gScreen.back, &gScreen.depth}) {
    if (IsMemImgValid(image)) ReleaseMemImg(image);
    *image = MemImg{};
  }
  gScreen.drawSurface = nullptr;
  if (gScreen.zbuffer && gScreen.backSurface) HostSurfaceAttachDepth(gScreen.backSurface, nullptr);
  ReleaseSurface(gScreen.zbuffer);
  if (gScreen.primary) LogWrite("メインサーフェスを破棄をします... 完了しました\n");
  // The flip chain's back buffer goes with the window's surface.
  if (gScreen.primary && HostSurfaceBackBuffer(gScreen.primary) == gScreen.backSurface) gScreen.backSurface = nullptr;
  ReleaseSurface(gScreen.backSurface);
  ReleaseSurface(gScreen.primary);
  ReleaseSurface(gScreen.frontWork);
  ReleaseSurface(gScreen.work1);
  ReleaseSurface(gScreen.work2);
  return 0;
}

int ReleaseSurface2DImages() {
  // Memory images survive the display's loss; only surfaces go.
  ForEachSurface2D(
      [](int, Surface2D* surface, void*) {
        const ImageRecord* record = GetImageRecord(surface->imageRecord);
        if (record && record->surface) ReleaseImageRecordSurface(surface->imageRecord);
      },
      nullptr);
  return 0;
}

int RecreateSurface2DImages() {
  ForEachSurface2D(
      [](int, Surface2D* surface, void*) {
        CreateImageRecordSurface(surface->imageRecord);
        SetImageRecordColorKey(surface->imageRecord);
      },
      nullptr);
  return 0;
}

int EnableDirectDrawUse(int flag) {
  if (flag == 0) {
    gScreen.directDrawDisabled = 1;
    EnableHardwareDrawing(0);
    Enable3DDrawing(0);
    SetSurfaceMemoryPreference(0);
    return 0;
  }
  gScreen.directDrawDisabled = 0;
  return 0;
}

const DDPixelFormat* GetScreenFormatRecord() {
  static DDPixelFormat record;
  const ColorFormat& f = gScreen.screenFormat;
  FillDDPixelFormat(&record, f.depth, f.redMask, f.greenMask, f.blueMask, f.alphaMask);
  return &record;
}
