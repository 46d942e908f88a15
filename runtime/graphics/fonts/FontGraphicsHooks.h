#pragma once
// What the fonts need of the screen device and the 2D and 3D paths, which
// are reached through this table until they are wired in directly. Without
// a table nothing is made and string draws fail.

#include <cstdint>

struct FontGraphicsHooks {
  // A 2D surface of the screen's size in system memory at the screen depth,
  // with an alpha channel when asked; its deletion sets *lostMark to 1.
  // Its handle, or -1.
  int (*createTextImage)(int alpha, int32_t* lostMark);
  void (*deleteTextImage)(int handle);
  // The string draw of the current path (2D or 3D), scaled or not. 0, -1.
  int (*drawString)(int x, int y, int scaled, double scaleX, double scaleY, const char* text, uint32_t colour,
                    int font, uint32_t edgeColour, int vertical);
};

const FontGraphicsHooks* CurrentFontGraphicsHooks();  // never null
// Null puts the empty table back.
void SetFontGraphicsHooks(const FontGraphicsHooks* hooks);
