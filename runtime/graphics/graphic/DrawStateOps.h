#pragma once
// The setters and getters of the draw state, the draw region, and colours
// packed into the screen's pixel format.

#include <cstdint>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/IntRect.h"

int ResetDrawState();
int SetBlendMode(int mode, int parameter);
int SetDrawBrightness(int red, int green, int blue);
int SetDrawBrightnessPacked(uint32_t rgb);
int SetDrawFilter(int mode);
int SetBlendGraphic(int graphic, int border, int range);
int SetTransparentColor(int red, int green, int blue);
int SetDrawRegion(int left, int top, int right, int bottom);
int GetDrawRegion(IntRect* rect);
int GetDrawTarget();
int SetFrontScreenRect(const IntRect& rect);
int SetWaitVsync(int flag);
int GetWaitVsync();
int Enable3DDrawing(int flag);
int IsDirect3DPathActive();
int SetCreateColorDepth(int depth);
int GetCreateColorDepth();
int SetCreateDrawableGraphics(int flag);
int SetCreateAlphaTest(int flag);
int GetCreateAlphaTest();
int SetCreateBlankAlpha(int flag);
int GetCreateBlankAlpha();
int SetCreateUnmanagedTexture(int flag);
int GetCreateUnmanagedTexture();
int GetCreateSystemMemory();
int UseSystemMemorySurfaces(int flag);
int SetSurfaceMemoryPreference(int flag);
int HasGraphicsRestoreHandler();
int EnableMaskDrawing(int flag);
int GetMaskDrawingFlag();
uint32_t PackColor(int red, int green, int blue);
int UnpackColor(uint32_t value, int* red, int* green, int* blue);
// Puts the draw region back as it was, integers and floats, without the
// checks of SetDrawRegion.
void RestoreDrawRegionExactly(const IntRect& region, const float (&floats)[4]);
