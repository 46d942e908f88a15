#pragma once
// A slow reference of the scaled draw: every destination pixel of the
// clipped rectangle takes the source column floor(d x 65536 / column step)
// (mirrored: counted from the right) and the row alike, in closed form,
// then the per-pixel rules with the family's own special paths.

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/MemImg.h"

void ReferenceSoftDrawImageScaled(MemImg* destination, const MemImg* source, int x1, int y1, int x2, int y2,
                                  int transparent, const MemImg* blendGraphic, const DrawState& state,
                                  const uint8_t graphicWeights[256], bool mmx);
