#pragma once
// What the scaled draw's entry prepares once per draw for its pixel loops.

#include <cstdint>

struct ScaledDrawSetup {
  uint8_t* destination;  // first pixel of the clipped area
  int32_t destinationPitch;
  int32_t destinationBytes;  // 4 or 2 per pixel
  const uint8_t* source;     // the source's pixel (0, 0)
  int32_t sourcePitch;
  int32_t sourceBytes;     // 4, 2 or 1 (palette index) per pixel
  const uint8_t* palette;  // the source store's entries in the destination's format; null without
  const uint8_t* graphic;  // blend graphic's byte (0, 0), read at the source's column and row; null for none
  int32_t graphicPitch;
  int32_t width;  // clipped size, both at least 1
  int32_t height;
  // Source column of each clipped destination column and source row of
  // each clipped destination row, mirroring included.
  const int32_t* columns;
  const int32_t* rows;
  // Shapes of the column table that the gather reads with whole vectors.
  bool reversed;      // same width, mirrored: columns fall by one
  bool doubled;       // exactly twice as wide, not mirrored: every column twice
  bool halved;        // exactly half as wide, not mirrored: every other column
  uint32_t colorKey;  // compared with the raw source value: pixel, word or index
  int32_t blendMode;  // after the parameter exits: translucent at 255 arrives as copy
  uint32_t parameter;
  uint8_t brightness[3];  // blue, green, red
  bool whiteBrightness;
  bool sourceAlpha;
  bool transparent;
  bool mmx;
  const uint8_t* graphicWeights;  // BlendGraphicTable
  // The source may be overwritten before this draw reads it: the loops then
  // read each source pixel just before they write its destination pixel.
  bool overlap;
};
