#pragma once
// The blend mode and parameter every draw family takes from the draw state.

#include <algorithm>
#include <cstdint>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"

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

// Whether any raw source value can equal the key: a 16-bit word never
// equals a key above 0xFFFF, a palette index none above 255.
inline bool KeyCanMatch(const MemImgStore* source) {
  if (source->paletteFlag) return source->colorKey <= 0xFF;
  if (source->pixelType == MemImgRgb565) return source->colorKey <= 0xFFFF;
  return true;
}

// The per-draw fields of every family that reads a source image: key, mode
// and parameter, brightness, transparency and the blend-graphic weights. A
// key that no source value can equal is the same as no key (alpha sources
// read the flag as their own rule).
template <typename Setup>
void SetSourceBlendFields(Setup& p, const MemImgStore* source, const DrawMode& drawMode, bool sourceAlpha,
                          int transparent) {
  p.colorKey = source->colorKey;
  p.blendMode = drawMode.mode;
  p.parameter = drawMode.parameter;
  const uint32_t brightness = gDrawState.brightness;
  p.brightness[0] = static_cast<uint8_t>(brightness);
  p.brightness[1] = static_cast<uint8_t>(brightness >> 8);
  p.brightness[2] = static_cast<uint8_t>(brightness >> 16);
  p.whiteBrightness = (brightness & 0xFFFFFF) == 0xFFFFFF;
  p.sourceAlpha = sourceAlpha;
  p.transparent = transparent != 0 && (sourceAlpha || KeyCanMatch(source));
  p.graphicWeights = gSoftBlendTables.blendGraphic;
}
