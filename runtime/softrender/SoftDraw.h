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
