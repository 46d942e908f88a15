#include "runtime/graphics/graphic/SoftDrawFamilies.h"

#include "runtime/softrender/SoftDraw.h"

namespace {

// The free-form draw's triangle: an image's (a flat-colour triangle without
// one is not a software draw).
void DrawTriangleFamily(MemImg* destination, const MemImg* source, const TexturedVertex* vertices, int transparent,
                        const MemImg* blendGraphic, uint32_t) {
  if (source) SoftDrawTriangle(destination, source, vertices, transparent, blendGraphic);
}

}  // namespace

SoftDrawFamilies gSoftDrawFamilies = {
    .drawScaled = &SoftDrawImageScaled,
    .drawRotated = &SoftDrawImageRotated,
    .drawTriangle = &DrawTriangleFamily,
    .fillRect = &SoftFillRect,
    .drawLines = &SoftDrawLines,
};
