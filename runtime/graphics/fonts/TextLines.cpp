#include <cstdarg>

#include "runtime/Movan.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/fonts/DefaultFont.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/graphics/fonts/StringDraw2D.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/base/Format.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MessagePump.h"

namespace {

bool DrawRegionEmpty() {
  const IntRect& r = gDrawState.drawRegion;
  return r.left == r.right || r.top == r.bottom;
}

int DrawLine(int x, int y, int scaled, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
             uint32_t edgeColour, int vertical) {
  if (!text || text[0] == '\0' || gScreen.resetting || DrawRegionEmpty()) return 0;
  const FontEntry* e = LiveFontEntry(font);
  if (!e) return LogWrite("フォントハンドル値が異常です\n");
  WaitWhileInactive();
  // The front screen of software mode: the line's rectangle, which goes to
  // the window afterwards, ends at the region's right edge and the font's
  // height.
  const bool front = IsSoftFrontTarget() != 0;
  IntRect rect = {};
  if (front) {
    const int64_t height = scaled ? DoubleToInt(e->size * scaleY) : e->size;
    rect = IntRect{x, y, gDrawState.drawRegion.right, ClampToInt(int64_t{y} + height + 3)};
    if (rect.left >= gDrawState.drawRegion.right) return 0;
    if (gScreen.presented) CaptureFrontToSoftScreen();
  }
  const int result = scaled ? DrawStringScaled2D(x, y, scaleX, scaleY, text, colour, font, edgeColour, vertical)
                            : DrawString2D(x, y, text, colour, font, edgeColour, vertical);
  if (front) TransferSoftFrontRect(rect);
  return result;
}

}  // namespace

int DrawTextLineWithFont(int x, int y, const char* text, uint32_t colour, int font, uint32_t edgeColour, int vertical) {
  return DrawLine(x, y, 0, 1.0, 1.0, text, colour, font, edgeColour, vertical);
}

int DrawTextLineScaled(int x, int y, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
                       uint32_t edgeColour, int vertical) {
  return DrawLine(x, y, 1, scaleX, scaleY, text, colour, font, edgeColour, vertical);
}

int DrawTextLine(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
  RebuildDefaultFont();
  return DrawTextLineWithFont(x, y, text, colour, gDefaultFont.font, edgeColour, 0);
}

int DrawTextLineFormatted(int x, int y, uint32_t colour, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  FormatStringV(text, sizeof text, format, args);
  va_end(args);
  return DrawTextLine(x, y, text, colour, 0);
}

int GetTextWidthWithFont(const char* text, int byteCount, int font, int vertical) {
  return RenderString(0, 0, 0, 0, 1.0, 1.0, text, 0, 0, nullptr, nullptr, 1, font, byteCount, vertical, nullptr);
}

int GetTextWidth(const char* text, int byteCount, int vertical) {
  RebuildDefaultFont();
  return GetTextWidthWithFont(text, byteCount, gDefaultFont.font, vertical);
}
