#pragma once
// Setting the bits of a pixel that no channel uses, as surfaces of the
// display read back without them and memory images expect them set.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/platform/base/IntRect.h"

// pixels is the pixel at (0, 0) of the rectangle's coordinates. Nothing
// when the format has no such bits. 0.
int SetUnusedBitsInRect(const IntRect& rect, uint8_t* pixels, int pitch, const ColorFormat& format, uint32_t value);
