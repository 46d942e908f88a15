#pragma once
// The one routine that converts a rectangle of pixels between any two
// ColorFormats. Nothing is clipped: both rectangles must lie inside their
// buffers.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/platform/base/IntRect.h"

// Converts sourceRect of the source to (destinationX, destinationY).
// alphaPixels may be null (no alpha image). Returns -1 for an empty
// rectangle; the largest index copied when 8-bit indices are copied into an
// 8-bit destination; otherwise 0.
//   mirror        reverses each row of the destination rectangle
//   keyToAlpha    pixels of the key colour (0x00RRGGBB) get alpha 0, others full alpha
//   alphaOnly     red, green and blue become 0
//   alphaFromRed  the alpha is the converted red value
//   skipKey       source pixels equal to the key are not written
//   remapPalette  indices are mapped to the nearest destination palette entry
int ConvertImagePixels(uint8_t* destination, int32_t destinationPitch, const ColorFormat& destinationFormat,
                       const uint8_t* source, int32_t sourcePitch, const ColorFormat& sourceFormat,
                       const uint8_t* alphaPixels, int32_t alphaPitch, const ColorFormat* alphaFormat,
                       int destinationX, int destinationY, const IntRect& sourceRect, int mirror,
                       int keyToAlpha, uint32_t key, int alphaOnly, int alphaFromRed, int skipKey,
                       int remapPalette);

// Test seam: 0 sends every conversion through the per-pixel general path,
// which the dedicated loops must match.
void SetConvertFastLoopsEnabled(int enabled);
