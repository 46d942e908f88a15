#pragma once
// Strings on the 2D path. Plain text goes straight onto the draw image;
// anti-aliased text, text under a blend other than a plain copy, and scaled
// text are first rendered into the font's screen-sized text image and then
// drawn like a graphic, so that they take the blend mode, the blend graphic
// and the scaling of the 2D path.

#include <cstdint>

// Colours are packed pixels of the screen format. 0; -1 without a screen
// device, for a font that is not live or when the string cannot be drawn.
int DrawString2D(int x, int y, const char* text, uint32_t colour, int font, uint32_t edgeColour, int vertical);
int DrawStringScaled2D(int x, int y, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
                       uint32_t edgeColour, int vertical);
