#pragma once
// Bringing the 3D device in line with the draw state before a draw: the
// texture, colour and alpha modulation, how transparency is decided, the
// blend factors and the texture-stage set-up.

#include <cstdint>

struct GraphicEntry;
struct Surface3DData;

// Draw flags.
constexpr int kDrawTransparent = 1;
constexpr int kDrawKeepAlpha = 2;
constexpr int kDrawDepth = 4;
constexpr int kDrawModulateColour = 0x20;

// Part and its handle (the draw's first tile), or none.
void SetDrawState3D(const Surface3DData* part, int partHandle, int flags);
int SetBlendGraphic3D(const GraphicEntry* graphic, int border, int range);
int ApplyStageSetup3D(int device);
// Blend modes the 3D path draws; others draw nothing.
bool IsDrawableBlendMode3D(int mode);
