#pragma once
// A slow reference of the plain draw, one pixel at a time: the oracle that
// the fast loops are compared with. This is the family's literal walker
// (clipping, the special paths, the read-before-write groups of each loop
// and the pairs); the per-pixel part is in ReferencePixel.

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/MemImg.h"

void ReferenceSoftDrawImage(MemImg* destination, const MemImg* source, int x, int y, int transparent,
                            const MemImg* blendGraphic, const DrawState& state, const uint8_t graphicWeights[256],
                            bool mmx);
