#pragma once
// Slow references of the mapped draws: the triangle and rotated walkers
// step by step in the fixed-point arithmetic their rules give (32-bit
// positions, a range test at every pixel), each pixel through ReferencePixel.
// Valid for inputs inside the draws' limits, where that arithmetic does not
// wrap.

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/MemImg.h"

void ReferenceSoftDrawTriangle(MemImg* destination, const MemImg* source, const TexturedVertex* vertices,
                               int transparent, const MemImg* blendGraphic, const DrawState& state,
                               const uint8_t graphicWeights[256]);
void ReferenceSoftDrawImageRotated(MemImg* destination, const MemImg* source, int centreX, int centreY, float angle,
                                   float scale, int transparent, const MemImg* blendGraphic, const DrawState& state,
                                   const uint8_t graphicWeights[256]);
