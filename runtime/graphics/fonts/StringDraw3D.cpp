// Strings of fonts whose glyph cache is a texture, through the 3D path.

#include "runtime/graphics/device3d/Direct3DState.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/graphics/fonts/StringDraw2D.h"
#include "runtime/graphics/state/DrawState.h"

namespace {

int Draw(int x, int y, int scaled, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
         uint32_t edgeColour) {
  const FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  if (!e->textureCache) {
    return scaled ? DrawStringScaled2D(x, y, scaleX, scaleY, text, colour, font, edgeColour, 0)
                  : DrawString2D(x, y, text, colour, font, edgeColour, 0);
  }
  if (gD3D.suppressed) return -1;
  if (PrepareFontCacheTarget(font) != 0) return -1;
  return RenderString(kRenderStringDraw, x, y, scaled, scaleX, scaleY, text, colour, edgeColour, nullptr,
                      &gDrawState.drawRegion, 1, font, -1, 0, nullptr) < 0
             ? -1
             : 0;
}

}  // namespace

int DrawString3D(int x, int y, const char* text, uint32_t colour, int font, uint32_t edgeColour) {
  return Draw(x, y, 0, 1.0, 1.0, text, colour, font, edgeColour);
}

int DrawStringScaled3D(int x, int y, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
                       uint32_t edgeColour) {
  return Draw(x, y, 1, scaleX, scaleY, text, colour, font, edgeColour);
}
