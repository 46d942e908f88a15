#pragma once
// The blend mode and parameter every draw family takes from the draw state.

#include <algorithm>
#include <cstdint>

#include "runtime/graphics/state/DrawState.h"

struct DrawMode {
  int mode;
  uint32_t parameter;  // 0..255
};

// False when the draw state draws nothing: a mode the renderer has no loops
// for, or translucent, additive or subtractive with parameter 0. Translucent
// at 255 is a copy.
inline bool CurrentDrawMode(DrawMode* out) {
  int mode = gDrawState.blendMode;
  const uint32_t parameter = static_cast<uint32_t>(std::clamp(gDrawState.blendParameter, 0, 255));
  switch (mode) {
    case BlendCopy:
    case BlendMultiply:
    case BlendInvertedTranslucent:
    case BlendMultiplyTranslucent:
      break;
    case BlendTranslucent:
      if (parameter == 0) return false;
      if (parameter == 255) mode = BlendCopy;
      break;
    case BlendAdditive:
    case BlendSubtractive:
      // Adding or subtracting nothing draws nothing, palette sources included.
      if (parameter == 0) return false;
      break;
    default:
      return false;
  }
  *out = {mode, parameter};
  return true;
}
