#include "runtime/graphics/screen/SurfaceCopy.h"

#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/platform/base/Log.h"

int CopySurfaceRect(HostSurface* destination, HostSurface* source, int x, int y, const HostRect& rect, int method) {
  (void)method;  // every copy here is the display's own blit
  return HostSurfaceBltFast(destination, x, y, source, &rect, 0) == kHostOk ? 0 : -1;
}

void ChooseSurfaceCopyMethod() {
  // This display has no device contexts to copy through: there is nothing
  // to measure against.
  gScreen.useBitBlt = 0;
  LogFormat("サーフェス間転送には %s を使用します", "BltFast");
}
