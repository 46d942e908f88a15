#pragma once
// The colours a string is drawn with: the packed text and edge colours
// scaled by the draw brightness, in the format that colours are packed in.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"

// The format of packed colours: the screen's memory-image format (16-bit
// screens R5G6B5, else X8R8G8B8); null on an 8-bit screen, whose colours
// are palette indices.
const ColorFormat* PackedColorFormat();

// Each channel times the brightness's channel / 255, packed again without
// the bits that no channel uses. Palette indices stay as they are.
uint32_t BrightnessScaledColor(uint32_t packed, uint32_t brightness);
