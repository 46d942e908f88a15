#pragma once
// The nine format bytes of a graphic, copied into each of its image records.

#include <cstdint>

struct GraphicFormat {
  uint8_t texture;          // drawn through the 3D device
  uint8_t alphaChannel;
  uint8_t drawable;         // may be a draw target
  uint8_t systemMemory;
  uint8_t unmanagedTexture;
  uint8_t alphaTest;
  uint8_t colorDepth;       // bits: 16 or 32
  uint8_t blendImage;       // an 8-bit single-channel image for blend graphics
  uint8_t paletteImage;     // 8 bits with a palette
};
