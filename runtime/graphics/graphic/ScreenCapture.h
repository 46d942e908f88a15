#pragma once
// Reading the draw target back: a rectangle into a graphic of its size, or
// into an image file.

#include "runtime/graphics/graphic/GraphicTable.h"

// 0; -1 without a screen device, when the rectangle is not the graphic's
// size or leaves the draw target, or for a graphic without a valid part.
int CaptureToGraphic2D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic);

// The rectangle, clipped to the draw region, as a file of the type (0 BMP,
// 1 JPEG with the quality, 2 PNG with the compression level). The name must
// stay below the game folder. 0; -1 without a screen device, for an empty
// rectangle, a refused name, an unknown type, a failed allocation or a
// failed write (which leaves no file behind).
int SaveScreenImage(int x1, int y1, int x2, int y2, const char* fileName, int type, int quality,
                    int compressionLevel);
