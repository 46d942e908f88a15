#pragma once
// The software renderer's draws. Each reads the draw region, blend mode,
// blend parameter and brightness from the draw state itself, clips to the
// region, and returns silently when it refuses or has nothing to do.

#include "runtime/softrender/MemImg.h"

// Draws source with its top-left pixel at (x, y) of destination, unscaled.
// transparent != 0 skips colour-key pixels or uses the source alpha;
// blendGraphic is an 8-bit image covering the drawn part of the source, or
// null; a blend graphic that does not cover it refuses the draw.
void SoftDrawImage(MemImg* destination, const MemImg* source, int x, int y, int transparent,
                   const MemImg* blendGraphic);

// Draws the whole source stretched or shrunk onto the rectangle from
// (x1, y1) to (x2, y2), right and bottom exclusive, nearest pixel. Corners
// given in reverse order mirror that direction; the rectangle of the
// source's own size, unmirrored, is the unscaled draw. blendGraphic is an
// 8-bit image at least as large as the source, or null. Refuses a source
// without pixels, a rectangle or source side of 65536 or more, and a
// destination whose pixel type differs from the source's or that has a
// palette or alpha.
void SoftDrawImageScaled(MemImg* destination, const MemImg* source, int x1, int y1, int x2, int y2, int transparent,
                         const MemImg* blendGraphic);
