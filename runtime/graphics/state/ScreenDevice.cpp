#include "runtime/graphics/state/ScreenDevice.h"

ScreenDevice gScreenDevice;

int GetScreenDepth() { return gScreenDevice.depth != 0 ? gScreenDevice.depth : 16; }

int GetScreenSize(int* width, int* height) {
  if (width) *width = gScreenDevice.width != 0 ? gScreenDevice.width : 640;
  if (height) *height = gScreenDevice.height != 0 ? gScreenDevice.height : 480;
  return 0;
}

int GetScreenMetrics(int* width, int* height, int* depth) {
  GetScreenSize(width, height);
  if (depth) *depth = gScreenDevice.displayDepth != 0 ? gScreenDevice.displayDepth : 16;
  return 0;
}
