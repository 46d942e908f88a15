#include <cstdarg>

#include "runtime/Movan.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/fonts/DefaultFont.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontGraphicsHooks.h"
#include "runtime/graphics/fonts/RenderString.h"
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
  if (!text || text[0] == '\0' || DrawRegionEmpty()) return 0;
  if (!LiveFontEntry(font)) return LogWrite("フォントハンドル値が異常です\n");
  WaitWhileInactive();
  const FontGraphicsHooks* hooks = CurrentFontGraphicsHooks();
  if (!hooks->drawString) return -1;
  return hooks->drawString(x, y, scaled, scaleX, scaleY, text, colour, font, edgeColour, vertical);
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
