#include "runtime/graphics/screen/Present.h"

#include "runtime/Movan.h"

#include <algorithm>
#include <cstring>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/screen/Display.h"
#include "runtime/host/screen/Presenter.h"
#include "runtime/host/system/Clock.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/base/ScreenLog.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"

namespace {

HostFrame FrameOf(const MemImg& image) {
  return HostFrame{image.pixels, image.width, image.height, image.store->pitch, MemImgBytesPerPixel(image.store)};
}

// One pump pass between polls; false once the window is gone.
bool PumpBetweenPolls() {
  HostSleepMs(1);
  return PumpMessagesUnlocked() != -1;
}

// The on-screen log over the whole screen, in a plain copy at full
// brightness; the draw state is put back afterwards.
void DrawScreenLog() {
  IntRect region = {};
  GetDrawRegion(&region);
  const int mode = gDrawState.blendMode;
  const int parameter = gDrawState.blendParameter;
  const uint32_t brightness = gDrawState.brightness;
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  SetDrawRegion(0, 0, width, height);
  SetBlendMode(0, 0);
  SetDrawBrightness(255, 255, 255);
  ScreenLogDraw();
  SetDrawRegion(region.left, region.top, region.right, region.bottom);
  SetBlendMode(mode, parameter);
  SetDrawBrightness(brightness >> 16 & 0xFF, brightness >> 8 & 0xFF, brightness & 0xFF);
}

}  // namespace

int FlipScreen() {
  if (!HasScreenDevice()) return -1;
  WaitWhileInactive();
  if (gScreen.softwareScreens || IsWindowMode() || !gScreen.primary) return PresentScreen();
  // The flip chain of full screen.
  if (IsScreenLogOn()) DrawScreenLog();
  if (gDrawState.drawTarget == -4 && !gDrawState.noVsync) return WaitVerticalBlank(1);
  FlushVertexBatch();
  EndScene3D();
  if (!gDrawState.noVsync) WaitVerticalBlankPaced();
  HostSurfaceFlip(gScreen.primary);
  ++gScreen.flipCount;
  if (!gDrawState.noVsync) HostSleepMs(1);
  return 0;
}

int PresentScreen() {
  if (!HasScreenDevice()) return -1;
  if (IsScreenLogOn()) DrawScreenLog();
  if (gDrawState.drawTarget == -4) return WaitVerticalBlank(1);
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  int destWidth = width;
  int destHeight = height;
  if (IsWindowMode()) {
    const double scale = GetWindowScale();
    destWidth = DoubleToInt(width * scale);
    destHeight = DoubleToInt(height * scale);
  }
  if (!gScreen.softwareScreens) {
    if (!gScreen.primary || !gScreen.backSurface) return 0;
    FlushVertexBatch();
    EndScene3D();
    if (!gDrawState.noVsync) WaitVerticalBlankPaced();
    const HostRect source = {0, 0, width, height};
    if (IsWindowMode()) {
      IntRect client = {0, 0, 0, 0};
      GetClientScreenRect(&client);
      const HostRect destination = {client.left, client.top, client.left + destWidth, client.top + destHeight};
      HostSurfaceBlt(gScreen.primary, &destination, gScreen.backSurface, &source, 0);
    } else {
      HostSurfaceBltFast(gScreen.primary, 0, 0, gScreen.backSurface, &source, 0);
    }
    ++gScreen.flipCount;
    return 0;
  }
  if (!IsMemImgValid(&gScreen.back)) return 0;
  if (!gDrawState.noVsync) WaitVerticalBlankPaced();
  HostPresentFrame(FrameOf(gScreen.back), destWidth, destHeight);
  gScreen.presented = 1;
  ++gScreen.flipCount;
  return 0;
}

void WaitVerticalBlankPaced() {
  if (gScreen.minVsyncInterval >= 0 &&
      static_cast<int64_t>(HostTickMs() - gScreen.lastVsyncWaitMs) < gScreen.minVsyncInterval) {
    while (static_cast<int64_t>(HostTickMs() - gScreen.lastVsyncWaitMs) < gScreen.minVsyncInterval) HostSleepMs(1);
    HostWaitForVerticalBlankBegin();
  } else {
    HostSleepMs(0);
    if (!HostVerticalBlankInProgress()) HostWaitForVerticalBlankBegin();
  }
  gScreen.lastVsyncWaitMs = HostTickMs();
}

int WaitVerticalBlank(int count) {
  if (!gScreen.displayObject) return -1;
  WaitWhileInactive();
  if (count == 0) {
    while (!HostVerticalBlankInProgress()) {
      if (!PumpBetweenPolls()) break;
    }
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    bool gone = false;
    while (HostVerticalBlankInProgress() && !gone) gone = !PumpBetweenPolls();
    while (!HostVerticalBlankInProgress() && !gone) gone = !PumpBetweenPolls();
    if (gone) break;
  }
  return PumpMessagesUnlocked() < 0 ? -1 : 0;
}

int IsSoftFrontTarget() {
  int depth = 0;
  GetScreenMetrics(nullptr, nullptr, &depth);
  return gScreen.softwareScreens && gDrawState.drawTarget == -4 && depth != 8 ? 1 : 0;
}

int TransferSoftFrontRect(const IntRect& rect) {
  if (!IsMemImgValid(&gScreen.front)) return 0;
  IntRect r = rect;
  ClipRect(&r, IntRect{0, 0, gScreen.front.width, gScreen.front.height});
  if (r.left == r.right || r.top == r.bottom) return 0;
  // The window shows the front image at 1:1 from its top-left corner.
  HostPresentFrame(FrameOf(gScreen.front), gScreen.front.width, gScreen.front.height);
  return 0;
}

int CaptureFrontToSoftScreen() {
  HostFrame shown;
  if (IsMemImgValid(&gScreen.front) && HostShownFrame(&shown) &&
      shown.bytesPerPixel == MemImgBytesPerPixel(gScreen.front.store)) {
    const int rows = std::min(shown.height, gScreen.front.height);
    const size_t bytes = static_cast<size_t>(std::min(shown.width, gScreen.front.width)) *
                         static_cast<size_t>(shown.bytesPerPixel);
    for (int y = 0; y < rows; ++y) {
      std::memcpy(gScreen.front.pixels + static_cast<size_t>(y) * static_cast<size_t>(gScreen.front.store->pitch),
                  shown.pixels + static_cast<size_t>(y) * static_cast<size_t>(shown.pitch), bytes);
    }
  }
  gScreen.presented = 0;
  return 0;
}

int GetFrontClientRect(IntRect* rect) {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  IntRect client = {0, 0, 0, 0};
  if (IsWindowMode() && !gScreen.emulateFront) GetClientScreenRect(&client);
  *rect = IntRect{client.left, client.top, client.left + width, client.top + height};
  return 0;
}

int SetGdiPresentMode(int mode) {
  const int effective = mode == 1 ? 1 : 0;
  if (effective == gScreen.gdiPresentEffective) return 0;
  gScreen.gdiPresentMode = mode;
  if (gScreen.displayObject && gScreen.graphicsStarted) {
    const IntRect region = gDrawState.drawRegion;
    const int previous = gDrawState.drawTarget;
    SetDrawTarget(-2);
    SetDrawTarget(-4);
    SetDrawTarget(previous);
    SetDrawRegion(region.left, region.top, region.right, region.bottom);
  }
  gScreen.gdiPresentEffective = effective;
  return 0;
}

int RestoreScreenSurfaces() {
  if (!gScreen.displayObject) return -1;
  // Memory-image screens are never lost.
  for (HostSurface* surface : {gScreen.primary, gScreen.frontWork, gScreen.backSurface, gScreen.zbuffer}) {
    if (surface && HostSurfaceIsLost(surface) == kHostSurfaceLost) HostSurfaceRestore(surface);
  }
  return 0;
}

int RestoreAndCheckSurfaces2D() {
  if (!HasScreenDevice()) return -1;
  RestoreScreenSurfaces();
  int lost = 0;
  ForEachSurface2D([](int, Surface2D* surface, void* context) { *static_cast<int*>(context) |= RestoreImageRecordIfLost(surface->imageRecord); },
                   &lost);
  return lost;
}

int RestoreGraphicParts2D(const GraphicEntry* graphic) {
  int lost = 0;
  for (int i = 0; i < graphic->partCount && i < kGraphicPartCapacity; ++i) {
    const Surface2D* surface = GetSurface2D(graphic->parts[i]);
    if (!surface) return -1;
    lost |= RestoreImageRecordIfLost(surface->imageRecord);
  }
  return lost;
}
