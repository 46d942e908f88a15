#include "runtime/graphics/graphic/DrawStateOps.h"

#include "runtime/Movan.h"

#include <algorithm>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/DrawState3D.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"

namespace {

int Clamp255(int value) { return std::clamp(value, 0, 255); }

int DisplayDepth() {
  int depth = 0;
  GetScreenMetrics(nullptr, nullptr, &depth);
  return depth;
}

const ColorFormat& PackFormat() {
  if (IsSoftwareScreens()) return *GetMemImgColorFormat(GetScreenDepth() == 16 ? MemImgRgb565 : MemImgXrgb8888, 0, 0);
  return gScreen.screenFormat;
}

// The part of a value a channel of the given width keeps; widths outside
// 1..8 keep nothing.
uint32_t Narrow(int value, int width) {
  if (width <= 0 || width > 8) return 0;
  return static_cast<uint32_t>(value & 0xFF) >> (8 - width);
}

int Widen(uint32_t value, uint32_t mask, int shift, int width) {
  if (width <= 0 || width > 8 || shift >= 32) return 0;
  const uint32_t full = (1u << width) - 1;
  return static_cast<int>(((value & mask) >> shift) * 255 / full);
}

}  // namespace

int ResetDrawState() {
  const GraphicsRestoreFunction restore = gDrawState.restoreFunction;
  gDrawState = DrawState{{0, 0, 0, 0}, BlendCopy, 0, -1, 0, 0, 0};
  gDrawState.restoreFunction = restore;
  gDrawState.blendGraphic = -1;
  gDrawState.brightness = 0;
  SetDrawBrightness(255, 255, 255);
  gDrawState.drawTarget = -2;
  SetDrawTarget(-4);
  int width = 0;
  int height = 0;
  GetGraphicSize(gDrawState.drawTarget, &width, &height);
  SetDrawRegion(0, 0, width, height);
  return 0;
}

int SetBlendMode(int mode, int parameter) {
  if (mode == gDrawState.blendMode && parameter == gDrawState.blendParameter) return 0;
  WaitWhileInactive();
  gDrawState.blendMode = mode;
  gDrawState.blendParameter = Clamp255(parameter);
  UpdateVertexColor3D();
  return 0;
}

int SetDrawBrightness(int red, int green, int blue) {
  const uint32_t value = static_cast<uint32_t>(Clamp255(red)) << 16 | static_cast<uint32_t>(Clamp255(green)) << 8 |
                         static_cast<uint32_t>(Clamp255(blue));
  if (value == gDrawState.brightness) return 0;
  gDrawState.brightness = value;
  if (HasDevice3D()) UpdateVertexColor3D();
  return 0;
}

int SetDrawBrightnessPacked(uint32_t rgb) {
  if ((rgb & 0xFFFFFF) == gDrawState.brightness) return 0;
  gDrawState.brightness = rgb & 0xFFFFFF;
  if (HasDevice3D()) UpdateVertexColor3D();
  return 0;
}

int SetDrawFilter(int mode) {
  if (mode == gDrawState.filterMode) return 0;
  gDrawState.filterMode = mode;
  if (HasDevice3D()) SetDrawFilter3D(mode);
  return 0;
}

int SetBlendGraphic(int graphic, int border, int range) {
  DrawState& s = gDrawState;
  if (graphic == s.blendGraphic && border == s.blendGraphicBorder && range == s.blendGraphicRange) return 0;
  if (graphic != -1 && !GetGraphicRecord(graphic)) return -1;
  s.blendGraphic = graphic;
  WaitWhileInactive();
  s.blendGraphicBorder = Clamp255(border);
  s.blendGraphicRange = Clamp255(range);
  if (HasDevice3D()) SetBlendGraphic3D(GetGraphicRecord(graphic), s.blendGraphicBorder, s.blendGraphicRange);
  BuildBlendGraphicTable(s.blendGraphicBorder, s.blendGraphicRange);
  return 0;
}

int SetTransparentColor(int red, int green, int blue) {
  if (GetScreenDepth() == 8) return 0;
  gDrawState.transparentColor = static_cast<uint32_t>(red & 0xFF) << 16 | static_cast<uint32_t>(green & 0xFF) << 8 |
                                static_cast<uint32_t>(blue & 0xFF);
  return 0;
}

int SetDrawRegion(int left, int top, int right, int bottom) {
  DrawState& s = gDrawState;
  int width = 0;
  int height = 0;
  int minLeft = 0;
  int minTop = 0;
  if (s.drawTarget == -2) {
    GetScreenSize(&width, &height);
  } else if (s.drawTarget == -4) {
    GetScreenSize(&width, &height);
    IntRect client = {0, 0, width, height};
    if (IsWindowMode()) GetClientScreenRect(&client);
    int desktopWidth = 0;
    int desktopHeight = 0;
    GetDesktopMetrics(&desktopWidth, &desktopHeight, nullptr);
    if (static_cast<int64_t>(client.left) + width > desktopWidth) width = std::max(0, desktopWidth - client.left);
    if (static_cast<int64_t>(client.top) + height > desktopHeight) height = std::max(0, desktopHeight - client.top);
    if (client.left < 0) minLeft = std::min(width, -client.left);
    if (client.top < 0) minTop = std::min(height, -client.top);
  } else {
    const GraphicEntry* g = GetGraphicRecord(s.drawTarget);
    if (!g) return 0;
    width = g->width;
    height = g->height;
  }
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  left = std::clamp(left, minLeft, width);
  right = std::clamp(right, minLeft, width);
  top = std::clamp(top, minTop, height);
  bottom = std::clamp(bottom, minTop, height);
  s.drawRegion = IntRect{left, top, right, bottom};
  s.drawRegionF[0] = static_cast<float>(left);
  s.drawRegionF[1] = static_cast<float>(top);
  s.drawRegionF[2] = static_cast<float>(right);
  s.drawRegionF[3] = static_cast<float>(bottom);
  s.emptyRegion = left == right || top == bottom ? 1 : 0;
  if (!s.emptyRegion && HasDevice3D() && SetViewportFromRect3D(s.drawRegion) != 0) {
    const char* kind = s.drawTarget == -4 ? "Front Buffer" : s.drawTarget == -2 ? "Back Buffer" : "Image Buffer";
    LogFormat("ビューポートの設定に失敗しました %s", kind);
  }
  return 0;
}

int GetDrawRegion(IntRect* rect) {
  *rect = gDrawState.drawRegion;
  return 0;
}

int GetDrawTarget() { return gDrawState.drawTarget; }

int SetFrontScreenRect(const IntRect& rect) {
  gDrawState.frontScreenRect = rect;
  return 0;
}

int SetWaitVsync(int flag) {
  gDrawState.noVsync = flag ? 0 : 1;
  return 0;
}

int GetWaitVsync() { return gDrawState.noVsync ? 0 : 1; }

int Enable3DDrawing(int flag) {
  gDrawState.enable3D = flag;
  if (!gScreen.displayObject) SetSoftwareDrawingRequested(flag ? 0 : 1);
  return 0;
}

int IsDirect3DPathActive() { return gDrawState.enable3D && HasDevice3D() && !IsSoftwareScreens() ? 1 : 0; }

int SetCreateColorDepth(int depth) {
  gDrawState.createColorDepth = depth;
  return 0;
}
int GetCreateColorDepth() { return gDrawState.createColorDepth; }
int SetCreateDrawableGraphics(int flag) {
  gDrawState.createDrawable = flag;
  return 0;
}
int SetCreateAlphaTest(int flag) {
  gDrawState.createAlphaTest = flag;
  return 0;
}
int GetCreateAlphaTest() { return gDrawState.createAlphaTest; }
int SetCreateBlankAlpha(int flag) {
  gDrawState.createBlankAlpha = flag;
  return 0;
}
int GetCreateBlankAlpha() { return gDrawState.createBlankAlpha; }
int SetCreateUnmanagedTexture(int flag) {
  gDrawState.createUnmanagedTexture = flag;
  return 0;
}
int GetCreateUnmanagedTexture() { return gDrawState.createUnmanagedTexture; }
int GetCreateSystemMemory() { return gDrawState.createSystemMemory; }

int UseSystemMemorySurfaces(int flag) {
  gDrawState.createSystemMemory = IsDirectDrawOn() ? flag : 1;
  return 0;
}

int SetSurfaceMemoryPreference(int flag) {
  gDrawState.createSystemMemory = IsDirectDrawOn() ? (flag != 1 ? 1 : 0) : 1;
  return 0;
}

int HasGraphicsRestoreHandler() { return gDrawState.restoreFunction ? 1 : 0; }

// No mask screen is ever made.
int EnableMaskDrawing(int) { return -1; }
int GetMaskDrawingFlag() { return 0; }

uint32_t PackColor(int red, int green, int blue) {
  if (DisplayDepth() == 8 && !IsSoftwareScreens()) {
    return static_cast<uint32_t>(NearestPaletteIndex(gScreen.screenFormat, red & 0xFF, green & 0xFF, blue & 0xFF));
  }
  const ColorFormat& f = PackFormat();
  return Narrow(red, f.redWidth) << f.redShift | Narrow(green, f.greenWidth) << f.greenShift |
         Narrow(blue, f.blueWidth) << f.blueShift | f.unusedMask;
}

int UnpackColor(uint32_t value, int* red, int* green, int* blue) {
  int r = 0;
  int g = 0;
  int b = 0;
  if (DisplayDepth() == 8 && !IsSoftwareScreens()) {
    if (value > 255) return -1;
    r = gScreen.screenFormat.palette[value][2];
    g = gScreen.screenFormat.palette[value][1];
    b = gScreen.screenFormat.palette[value][0];
  } else {
    const ColorFormat& f = IsSoftwareScreens() && DisplayDepth() != GetScreenDepth() ? PackFormat()
                                                                                     : gScreen.screenFormat;
    r = Widen(value, f.redMask, f.redShift, f.redWidth);
    g = Widen(value, f.greenMask, f.greenShift, f.greenWidth);
    b = Widen(value, f.blueMask, f.blueShift, f.blueWidth);
  }
  if (red) *red = r;
  if (green) *green = g;
  if (blue) *blue = b;
  return 0;
}

void RestoreDrawRegionExactly(const IntRect& region, const float (&floats)[4]) {
  gDrawState.drawRegion = region;
  std::copy(floats, floats + 4, gDrawState.drawRegionF);
}
