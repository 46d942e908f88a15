#pragma once
// One image row as red, green, blue bytes, for the PNG and JPEG writers.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"

// width x 3 bytes. The 32-bit X8R8G8B8 layout, the 16-bit 5-6-5 layout and
// 24-bit rows are taken directly; every other format pixel by pixel.
void BuildRgbRow(const GraphImage& image, int y, uint8_t* row);
