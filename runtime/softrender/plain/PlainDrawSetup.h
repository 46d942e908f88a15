#pragma once
// What the plain draw's entry prepares once per draw for its pixel loops.

#include <cstdint>

struct PlainDrawSetup {
  uint8_t* destination;  // first pixel of the clipped area
  int32_t destinationPitch;
  const uint8_t* source;  // the source pixel that lands there
  int32_t sourcePitch;
  int32_t destinationBytes;  // 4 or 2 per pixel
  const uint8_t* palette;    // the source store's entries in the destination's format; null without
  const uint8_t* graphic;  // blend-graphic byte of that source pixel; null for none
  int32_t graphicPitch;
  int32_t width;  // clipped size, both at least 1
  int32_t height;
  uint32_t colorKey;  // compared with the raw source value: pixel, word or index
  int32_t blendMode;  // after the parameter exits: translucent at 255 arrives as copy
  uint32_t parameter;
  uint8_t brightness[3];  // blue, green, red
  bool whiteBrightness;
  bool sourceAlpha;
  bool transparent;
  bool mmx;
  const uint8_t* graphicWeights;  // BlendGraphicTable
  // Source rows may be overwritten before this draw reads them: the loops
  // then keep the one-pass pixel order.
  bool overlap;
};
