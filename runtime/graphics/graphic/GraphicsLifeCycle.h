#pragma once
// Start and end of the graphics system, and the rebuild after the display
// was lost.

#include <cstdint>

#include "runtime/graphics/state/DrawState.h"

int InitScreenDevice(uintptr_t window);
int EndScreenDevice();
int InitGraphics();
int EndGraphics();
int ReinitGraphics();
int SetGraphicsRestoreHandler(GraphicsRestoreFunction function);
int RunGraphicsRestore();
int RestoreAllGraphics();
int RestoreGraphic(int graphic);
