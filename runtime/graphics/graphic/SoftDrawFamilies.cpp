#include "runtime/graphics/graphic/SoftDrawFamilies.h"

#include "runtime/softrender/SoftDraw.h"

SoftDrawFamilies gSoftDrawFamilies = {
    .drawScaled = &SoftDrawImageScaled,
    .drawRotated = nullptr,
    .drawTriangle = nullptr,
    .fillRect = nullptr,
    .drawLines = nullptr,
};
