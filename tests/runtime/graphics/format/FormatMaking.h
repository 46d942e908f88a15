#pragma once
// Colour formats for the tests, made on a cleared record.

#include <cstring>

#include "runtime/graphics/format/ColorFormat.h"

inline ColorFormat FormatFromMasks(int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  ColorFormat f;
  std::memset(&f, 0, sizeof f);
  MakeColorFormatFromMasks(&f, depth, r, g, b, a);
  return f;
}

inline ColorFormat PresetFormat(void (*make)(ColorFormat*)) {
  ColorFormat f;
  std::memset(&f, 0, sizeof f);
  make(&f);
  return f;
}
