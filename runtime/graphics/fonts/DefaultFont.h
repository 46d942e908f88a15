#pragma once
// The layer's default font with its settings, and the start, end and
// restore of the whole font system.

#include "runtime/Movan.h"

struct DefaultFontSettings {
  int32_t font;  // handle, -1 none
  char face[256];
  int32_t size;
  int32_t thickness;
  int32_t type;
  int32_t charset;
  int32_t edgeSize;
  int32_t italic;
  int32_t spacing;
};

extern DefaultFontSettings gDefaultFont;

// Keeps the default font when it matches the settings, else makes it anew. 0.
int RebuildDefaultFont();
// Graphics start: empties the table, sets the default settings, ResetFonts. 0.
int InitFonts();
// Graphics end: ResetFonts, then deletes the default font. 0.
int EndFonts();
// After the display device was lost: every live font is made again in its
// slot with its check number, so its handle stays valid. 0.
int RestoreFonts();
