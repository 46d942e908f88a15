#pragma once
// The layer-wide draw state that every draw reads. This holds the fields the
// software renderer reads; the draw-target, creation and 3D settings join it
// with the rest of the graphics half.

#include <cstdint>

#include "runtime/platform/base/IntRect.h"

struct DrawState {
  IntRect drawRegion;     // right and bottom exclusive; inside the draw target
  int32_t blendMode;      // a BlendMode number, stored unchecked
  int32_t blendParameter; // 0..255
  int32_t blendGraphic;   // graphic handle or -1
  int32_t blendGraphicBorder;
  int32_t blendGraphicRange;
  uint32_t brightness;    // blue bits 0-7, green 8-15, red 16-23
};

extern DrawState gDrawState;

// The software renderer's blend modes; 5 to 9 and above 11 draw nothing there.
enum BlendMode : int32_t {
  BlendCopy = 0,
  BlendTranslucent = 1,
  BlendAdditive = 2,
  BlendSubtractive = 3,
  BlendMultiply = 4,
  BlendInvertedTranslucent = 10,
  BlendMultiplyTranslucent = 11,
};
