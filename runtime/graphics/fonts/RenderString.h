#pragma once
// The one routine through which the layer measures and draws text with a
// font: it walks the string, brings its glyphs into the font's cache and
// adds up the advances (measure) or writes each glyph into a memory image
// (draw), clipped to a rectangle. The 2D path draws its strings, straight
// or into a font's text image, with it.

#include <cstdint>

#include "runtime/platform/base/IntRect.h"
#include "runtime/softrender/MemImg.h"

constexpr int kRenderStringDraw = 1;

// mode 1 draws, any other value measures. (x, y) is the top-left of the
// first cell. scaled, scaleX and scaleY apply to texture-cache fonts only.
// Colours are packed in the screen format and scaled by the draw brightness.
// target and clip (null: the whole target) are used in draw mode;
// transparent is 1 (only glyph pixels are written) and vertical 0 in every
// call. byteCount -1 is the whole text. outSize, when given, receives the
// width and the cell height in measure mode. Returns the total advance, 0 for
// an empty text, -1 for a font that is not live or a draw without a target.
int RenderString(int mode, int x, int y, int scaled, double scaleX, double scaleY, const char* text, uint32_t colour,
                 uint32_t edgeColour, MemImg* target, const IntRect* clip, int transparent, int font, int byteCount,
                 int vertical, int* outSize);

// The key a text image is filled with when it has no alpha channel: the
// image's colour key, raised by one (within the pixel's bits) while it
// equals the colour or the edge colour, so that text never turns
// transparent.
uint32_t TextImageKey(uint32_t colorKey, uint32_t colour, uint32_t edgeColour, int depth);
