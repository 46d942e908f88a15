#pragma once
// The screen device's state beyond the settings in graphics/state: the mode
// flags, the screen memory images of software mode, the destination that
// draws write to, and the vertical-blank pacing.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/DDPixelFormat.h"
#include "runtime/softrender/MemImg.h"

struct HostSurface;

enum ScreenPixelClass : int32_t {
  kPixelClassR5G6B5 = 0,
  kPixelClassX1R5G5B5 = 1,
  kPixelClassX8R8G8B8 = 2,
  kPixelClassOther = 3,
};

struct ScreenState {
  int32_t displayObject = 0;        // the display is open (serves vertical-blank waits)
  int32_t directDrawDisabled = 0;   // surfaces of the display are not used
  int32_t softwareScreens = 0;      // the screens are memory images
  int32_t softwareRequested = 0;
  int32_t emulateFront = 0;
  int32_t started = 0;              // the device finished its start
  int32_t graphicsStarted = 0;      // the graphic tables are in use
  int32_t resetting = 0;            // the screen is being rebuilt after the display was lost
  int32_t fullScreenModeSet = 0;
  int32_t gdiPresentMode = 0;
  int32_t gdiPresentEffective = -1;
  int32_t presented = 0;            // the window shows a present the front image may lack
  int32_t pixelClass = kPixelClassR5G6B5;
  ColorFormat screenFormat = {};
  MemImg front = {};
  MemImg back = {};
  MemImg depth = {};
  // DirectDraw mode: the display's surfaces.
  HostSurface* primary = nullptr;
  HostSurface* backSurface = nullptr;
  HostSurface* frontWork = nullptr;
  HostSurface* work1 = nullptr;
  HostSurface* work2 = nullptr;
  HostSurface* zbuffer = nullptr;
  DDPixelFormat displayFormat = {};
  int32_t cooperativeFlags = 0;
  int32_t useBitBlt = 0;            // surface copies: 1 BitBlt, 0 BltFast

  // Where draws go, chosen by SelectDrawSurface.
  MemImg* drawImage = nullptr;
  MemImg* drawDepthImage = nullptr;
  MemImg drawView = {};             // a derived graphic's rectangle of its record
  HostSurface* drawSurface = nullptr;
  int32_t drawOffsetX = 0;
  int32_t drawOffsetY = 0;
  int32_t targetInVideoMemory = 0;
  int32_t endSceneBeforeDraw = 0;
  // Vertical-blank pacing.
  uint32_t lastVsyncWaitMs = 0;
  int32_t minVsyncInterval = -1;
  int32_t frameTime = -1;
  int32_t refreshEstimate = -1;
  uint32_t lastModeChangeMs = 0;
  int32_t modeChangedOnce = 0;
  int64_t flipCount = 0;
};

extern ScreenState gScreen;

// A screen device exists: software mode, or the display object is open.
int HasScreenDevice();
int IsSoftwareScreens();
int IsDirectDrawOn();
int IsFullScreenModeSet();
int IsSoftwareDrawingRequested();
int SetSoftwareDrawingRequested(int flag);
int UseWorkSurfaceForFrontScreen(int flag);
int GetGdiPresentMode();
const ColorFormat* GetScreenColorFormat();
// Software screens on a display that is not 8-bit: every draw writes to the
// draw image.
int HasSoftwareScreens2D();

// DirectDraw mode's surfaces; none in software mode.
HostSurface* GetFrontSurface();
HostSurface* GetBackSurface();
HostSurface* GetWorkSurface();
HostSurface* GetDrawTargetSurface();
// Window mode and draws go to the window's own surface.
int IsDrawTargetWindowPrimary();
