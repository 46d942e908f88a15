#pragma once
// Bringing the back screen to the window once per frame, pacing that with
// the vertical blank, keeping the front screen of software mode visible, and
// the restore checks after the display was lost.

#include "runtime/platform/base/IntRect.h"

struct GraphicEntry;

int FlipScreen();
int PresentScreen();
// 0; -1 without the display object or when the window is gone.
int WaitVerticalBlank(int count);
void WaitVerticalBlankPaced();
// The front screen of software mode: what the window shows comes back into
// the front image before a draw there, and the drawn rectangle goes out.
int TransferSoftFrontRect(const IntRect& rect);
int CaptureFrontToSoftScreen();
// The front screen's draws go through the two calls above.
int IsSoftFrontTarget();
int GetFrontClientRect(IntRect* rect);
int SetGdiPresentMode(int mode);
int RestoreScreenSurfaces();
int RestoreAndCheckSurfaces2D();
int RestoreGraphicParts2D(const GraphicEntry* graphic);
