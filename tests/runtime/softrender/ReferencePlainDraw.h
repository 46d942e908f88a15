#pragma once
// A slow reference of the plain draw for 32-bit direct sources, written
// straight from the per-mode rules one pixel at a time: the oracle that the
// fast loops are compared with. It divides where the rules divide and keeps
// the read-before-write groups of each loop.

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/MemImg.h"

void ReferenceSoftDrawImage(MemImg* destination, const MemImg* source, int x, int y, int transparent,
                            const MemImg* blendGraphic, const DrawState& state, const uint8_t graphicWeights[256],
                            bool mmx);
