#pragma once
// Creating and deleting fonts, and the operations on a font handle that the
// engine does not call.

#include "runtime/Movan.h"
#include "runtime/graphics/fonts/FontEntry.h"

FontEntry* GetFontEntry(int font);

// Makes the font's text image again when it was lost. 0, -1.
int PrepareFontCacheTarget(int font);
