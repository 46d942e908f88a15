#include "runtime/graphics/fonts/StringDraw2D.h"

#include <algorithm>

#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/graphics/fonts/TextColors.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/graphic/TargetImage2D.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/NumberHelpers.h"

namespace {

int32_t Clamped(int64_t value) { return ClampToInt(value); }

IntRect ScreenRect() {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  return IntRect{0, 0, width, height};
}

bool PlainCopy() {
  return gDrawState.blendMode == BlendCopy ||
         (gDrawState.blendMode == BlendTranslucent && gDrawState.blendParameter == 255);
}

// The draw region and brightness, put back exactly whatever happens between.
class KeptDrawState {
 public:
  KeptDrawState() : region_(gDrawState.drawRegion), brightness_(gDrawState.brightness) {
    std::copy(gDrawState.drawRegionF, gDrawState.drawRegionF + 4, regionF_);
  }
  ~KeptDrawState() {
    RestoreDrawRegionExactly(region_, regionF_);
    gDrawState.brightness = brightness_;
  }
  KeptDrawState(const KeptDrawState&) = delete;
  KeptDrawState& operator=(const KeptDrawState&) = delete;
  const IntRect& Region() const { return region_; }

 private:
  IntRect region_;
  float regionF_[4];
  uint32_t brightness_;
};

void SetRegion(const IntRect& r) {
  gDrawState.drawRegion = r;
  gDrawState.drawRegionF[0] = static_cast<float>(r.left);
  gDrawState.drawRegionF[1] = static_cast<float>(r.top);
  gDrawState.drawRegionF[2] = static_cast<float>(r.right);
  gDrawState.drawRegionF[3] = static_cast<float>(r.bottom);
}

// Renders the string into the font's text image at (0, 0), inside clip,
// after filling fill with the transparent key. The text image's surface, or
// -1.
int RenderIntoTextImage(const char* text, uint32_t colour, uint32_t edgeColour, int font, int vertical,
                        const IntRect& clip, const IntRect& fill) {
  if (PrepareFontCacheTarget(font) != 0) return -1;
  const FontEntry* e = LiveFontEntry(font);
  const int surface = e ? e->textImage : -1;
  Surface2DImage image(GetSurface2D(surface));
  MemImg* t = image.Get();
  if (!t) return -1;
  const MemImgStore& store = *t->store;
  uint32_t key = 0;
  if (!store.alphaFlag) {
    // Compared with the colours as they will be written, so that no text
    // pixel ever equals the key.
    const uint32_t drawn = BrightnessScaledColor(colour, gDrawState.brightness);
    const uint32_t drawnEdge = BrightnessScaledColor(edgeColour, gDrawState.brightness);
    key = TextImageKey(store.colorKey, drawn, drawnEdge, store.colorFormat->depth);
  }
  FillMemImg(t, &fill, key);
  if (RenderString(kRenderStringDraw, 0, 0, 0, 1.0, 1.0, text, colour, edgeColour, t, &clip, 1, font, -1, vertical,
                   nullptr) < 0) {
    return -1;
  }
  return surface;
}

}  // namespace

int DrawString2D(int x, int y, const char* text, uint32_t colour, int font, uint32_t edgeColour, int vertical) {
  if (!HasScreenDevice()) return -1;
  const FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  if (e->textureCache) return DrawString3D(x, y, text, colour, font, edgeColour);
  int size[2] = {0, 0};
  if (RenderString(0, 0, 0, 0, 1.0, 1.0, text, colour, edgeColour, nullptr, nullptr, 1, font, -1, vertical, size) < 0) {
    return -1;
  }
  const int w = size[0];
  const int h = size[1];
  int depth = 0;
  GetScreenMetrics(nullptr, nullptr, &depth);
  if (depth != 8 && ((e->type & kFontAntialiased) || !PlainCopy())) {
    KeptDrawState kept;
    IntRect area = {0, 0, w, h};
    ClipRect(&area, ScreenRect());
    SetRegion(area);
    const int surface = RenderIntoTextImage(text, colour, edgeColour, font, vertical, area, area);
    if (surface < 0) return -1;
    IntRect shown = {x, y, Clamped(int64_t{x} + w), Clamped(int64_t{y} + h)};
    ClipRect(&shown, kept.Region());
    SetRegion(shown);
    gDrawState.brightness = 0xFFFFFF;
    return DrawGraphic2D(x, y, surface, 1) < 0 ? -1 : 0;
  }
  MemImg* destination = gScreen.drawImage;
  if (destination && IsMemImgValid(destination)) {
    return RenderString(kRenderStringDraw, x, y, 0, 1.0, 1.0, text, colour, edgeColour, destination,
                        &gDrawState.drawRegion, 1, font, -1, vertical, nullptr) < 0
               ? -1
               : 0;
  }
  // On the display's surfaces: the string's rectangle locked and drawn in.
  if (!gScreen.drawSurface) return -1;
  FlushVertexBatch();
  EndScene3D();
  TargetImage2D target(IntRect{x, y, Clamped(int64_t{x} + w), Clamped(int64_t{y} + h)}, false);
  if (!target.Get()) return 0;
  return RenderString(kRenderStringDraw, x - target.dx, y - target.dy, 0, 1.0, 1.0, text, colour, edgeColour,
                      target.Get(), &gDrawState.drawRegion, 1, font, -1, vertical, nullptr) < 0
             ? -1
             : 0;
}

int DrawStringScaled2D(int x, int y, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
                       uint32_t edgeColour, int vertical) {
  if (!HasScreenDevice() || !LiveFontEntry(font)) return -1;
  if (LiveFontEntry(font)->textureCache) return DrawStringScaled3D(x, y, scaleX, scaleY, text, colour, font, edgeColour);
  int size[2] = {0, 0};
  if (RenderString(0, 0, 0, 0, 1.0, 1.0, text, colour, edgeColour, nullptr, nullptr, 1, font, -1, vertical, size) < 0) {
    return -1;
  }
  const int w = size[0];
  const int h = size[1];
  if (PrepareFontCacheTarget(font) != 0 || !GetSurface2D(LiveFontEntry(font)->textImage)) return -1;
  KeptDrawState kept;
  const IntRect screen = ScreenRect();
  IntRect area = {0, 0, w, h};
  ClipRect(&area, screen);
  SetRegion(area);
  // A margin around the string, which the stretch may reach.
  IntRect fill = {0, 0, Clamped(int64_t{w} + 4), Clamped(int64_t{h} + 4)};
  ClipRect(&fill, screen);
  const int surface = RenderIntoTextImage(text, colour, edgeColour, font, vertical, area, fill);
  if (surface < 0) return -1;
  IntRect shown = {x, y, Clamped(int64_t{x} + DoubleToInt(w * scaleX) + 3),
                   Clamped(int64_t{y} + DoubleToInt(h * scaleY) + 3)};
  ClipRect(&shown, kept.Region());
  SetRegion(shown);
  gDrawState.brightness = 0xFFFFFF;
  // The whole screen-sized image is stretched; the region shows the string.
  const int x2 = Clamped(int64_t{x} + DoubleToInt(scaleX * screen.right) + 3);
  const int y2 = Clamped(int64_t{y} + DoubleToInt(scaleY * screen.bottom) + 3);
  return DrawGraphicStretched2D(x, y, x2, y2, nullptr, 1, surface) < 0 ? -1 : 0;
}
