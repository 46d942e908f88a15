#include "runtime/graphics/screen/ScreenState.h"

#include "runtime/Movan.h"

#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/system/PlatformQueries.h"

ScreenState gScreen;

int HasScreenDevice() { return gScreen.directDrawDisabled || gScreen.displayObject; }
int IsSoftwareScreens() { return gScreen.softwareScreens; }
int IsDirectDrawOn() { return gScreen.directDrawDisabled ? 0 : 1; }
int IsFullScreenModeSet() { return gScreen.fullScreenModeSet; }
int IsSoftwareDrawingRequested() { return gScreen.softwareRequested; }

int SetSoftwareDrawingRequested(int flag) {
  gScreen.softwareRequested = gScreen.directDrawDisabled ? 1 : flag;
  return 0;
}

int UseWorkSurfaceForFrontScreen(int flag) {
  if (!gScreen.displayObject) gScreen.emulateFront = flag;
  return 0;
}

int GetGdiPresentMode() { return gScreen.gdiPresentMode; }
const ColorFormat* GetScreenColorFormat() { return &gScreen.screenFormat; }

int HasSoftwareScreens2D() {
  int depth = 0;
  GetScreenMetrics(nullptr, nullptr, &depth);
  return gScreen.softwareScreens && depth != 8;
}

HostSurface* GetFrontSurface() { return gScreen.emulateFront && gScreen.frontWork ? gScreen.frontWork : gScreen.primary; }
HostSurface* GetBackSurface() { return gScreen.backSurface; }
HostSurface* GetWorkSurface() { return gScreen.work1; }
HostSurface* GetDrawTargetSurface() { return gScreen.drawSurface; }

int IsDrawTargetWindowPrimary() {
  return IsWindowMode() && gScreen.drawSurface && gScreen.drawSurface == gScreen.primary ? 1 : 0;
}
