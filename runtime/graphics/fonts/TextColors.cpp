#include "runtime/graphics/fonts/TextColors.h"

#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/softrender/MemImg.h"

const ColorFormat* PackedColorFormat() {
  const int depth = GetScreenDepth();
  if (depth == 8) return nullptr;
  return GetMemImgColorFormat(depth == 16 ? MemImgRgb565 : MemImgXrgb8888, 0, 0);
}

uint32_t BrightnessScaledColor(uint32_t packed, uint32_t brightness) {
  if (HasScreenDevice()) {
    int r = 0;
    int g = 0;
    int b = 0;
    UnpackColor(packed, &r, &g, &b);
    r = r * static_cast<int>(brightness >> 16 & 0xFF) / 255;
    g = g * static_cast<int>(brightness >> 8 & 0xFF) / 255;
    b = b * static_cast<int>(brightness & 0xFF) / 255;
    return PackColor(r, g, b) & ~PackColor(0, 0, 0);
  }
  // Before the screen device exists colours are packed in the format its
  // memory images will have.
  const ColorFormat* f = PackedColorFormat();
  if (!f) return packed;
  auto channel = [&](uint32_t mask, int shift, int width, int brightnessShift) -> uint32_t {
    const uint32_t full = LowBitMask(width);
    if (full == 0) return 0;
    const uint32_t value = ((packed & mask) >> shift) * 255 / full;
    const uint32_t scaled = value * (brightness >> brightnessShift & 0xFF) / 255;
    return (scaled >> (8 - width)) << shift;
  };
  return channel(f->redMask, f->redShift, f->redWidth, 16) | channel(f->greenMask, f->greenShift, f->greenWidth, 8) |
         channel(f->blueMask, f->blueShift, f->blueWidth, 0);
}
