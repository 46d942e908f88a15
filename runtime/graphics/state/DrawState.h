#pragma once
// The layer-wide draw state that every draw reads. The first fields are what
// the software renderer reads; the rest are the draw target, the creation
// settings for new graphics, the Direct3D settings and the camera matrices.

#include <cstdint>

#include "runtime/platform/base/IntRect.h"

// Called after the display device was lost, to bring graphics back.
using GraphicsRestoreFunction = void (*)();

struct Matrix4 {
  float m[4][4];
};

struct DrawState {
  IntRect drawRegion;     // right and bottom exclusive; inside the draw target
  int32_t blendMode;      // a BlendMode number, stored unchecked
  int32_t blendParameter; // 0..255
  int32_t blendGraphic;   // graphic handle or -1
  int32_t blendGraphicBorder;
  int32_t blendGraphicRange;
  uint32_t brightness;    // blue bits 0-7, green 8-15, red 16-23

  int32_t drawTarget = -2;          // -4 front screen, -2 back screen, or a graphic
  IntRect frontScreenRect = {0, 0, 0, 0};
  float drawRegionF[4] = {0, 0, 0, 0};
  int32_t targetWidth = 0;
  int32_t targetHeight = 0;
  int32_t depthBufferUse = 0;
  int32_t depthBufferWrite = 0;
  int32_t depthCompare = 4;
  int32_t textureAddressMode = 3;
  float drawDepth = 0.2f;
  int32_t filterMode = 0;
  int32_t createColorDepth = 0;      // 0: automatic
  int32_t enable3D = 1;
  int32_t createDrawable = 0;
  int32_t createBlankAlpha = 0;
  int32_t createAlphaTest = 1;
  int32_t createSystemMemory = 0;
  int32_t createBlendGraphicImage = 0;
  int32_t createUnmanagedTexture = 0;
  int32_t noVsync = 0;
  uint32_t transparentColor = 0;     // 0x00RRGGBB
  int32_t emptyRegion = 0;
  Matrix4 world = {};
  Matrix4 view = {};
  Matrix4 projection = {};
  GraphicsRestoreFunction restoreFunction = nullptr;
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
