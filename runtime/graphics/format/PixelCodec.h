#pragma once
// Packing, unpacking and converting single pixels of a ColorFormat.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"

// The palette entry nearest to the colour by squared distance; ties keep the
// lowest index.
int NearestPaletteIndex(const ColorFormat& format, int red, int green, int blue);
// Channel values 0..255 packed into the format (a palette format gives the
// nearest entry); the unused bits are set.
uint32_t EncodePixel(const ColorFormat& format, int red, int green, int blue, int alpha);
// Each output may be null. Returns 0.
int DecodePixel(const ColorFormat& format, uint32_t pixel, int* red, int* green, int* blue, int* alpha);
// Narrower channels drop low bits, wider ones shift left.
uint32_t ConvertPixel(const ColorFormat& destination, const ColorFormat& source, uint32_t pixel);

// A channel value of sourceWidth bits brought to destinationWidth bits: high
// bits kept when narrowing, scaled exactly when widening (full stays full).
uint32_t ScaleChannel(uint32_t value, int sourceWidth, int destinationWidth);
// The bits of a channel moved down to bit 0; nothing for a shift of 32 or more.
uint32_t ExtractChannel(uint32_t pixel, uint32_t mask, int shift);
