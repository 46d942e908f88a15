#pragma once
// What the entries of the box, line and mapped draws prepare once per draw
// for their per-instruction-set loops.

#include <cstdint>

struct FlatDrawSetup {
  uint8_t* destination;  // the box's or line's first pixel
  int32_t pitch;
  int32_t destinationBytes;  // 4 or 2
  int32_t width;             // box size, both at least 1
  int32_t height;
  uint32_t color;     // packed, brightness applied
  int32_t blendMode;  // after the parameter exits: translucent at 255 arrives as copy
  uint32_t parameter;
};

// One row of a mapped draw: count pixels from (x, y), the first showing the
// texel position (u, v) in 18-bit fixed point; the setup's steps move it.
struct MappedRow {
  int32_t y;
  int32_t x;
  int32_t count;
  int64_t u;
  int64_t v;
};

struct MappedDrawSetup {
  uint8_t* destination;  // the image's pixel (0, 0)
  int32_t destinationPitch;
  int32_t destinationBytes;  // 4 or 2
  const uint8_t* source;     // texel (0, 0)
  int32_t sourcePitch;
  int32_t sourceBytes;  // 1 (palette), 2, or 4 (32-bit, or 16-bit with alpha)
  int64_t widthFixed;   // the source's size in fixed point
  int64_t heightFixed;
  const uint8_t* palette;  // the store's entries; null for a direct source
  const uint8_t* graphic;  // blend-graphic byte of texel (0, 0); null for none
  int32_t graphicPitch;
  uint32_t colorKey;
  int32_t blendMode;  // after the parameter exits
  uint32_t parameter;
  uint8_t brightness[3];  // blue, green, red
  bool whiteBrightness;
  bool sourceAlpha;
  bool transparent;
  const uint8_t* graphicWeights;  // BlendGraphicTable
  int64_t stepU;  // per pixel to the right
  int64_t stepV;
  // Hands out the rows in order; false when there are no more.
  bool (*nextRow)(void* rows, MappedRow* row);
  void* rows;
};
