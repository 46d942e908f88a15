#include "runtime/graphics/ScreenDevice.h"

ScreenDevice gScreenDevice;

int GetScreenDepth() { return gScreenDevice.depth != 0 ? gScreenDevice.depth : 16; }
