#include "runtime/graphics/state/ScreenDevice.h"

ScreenDevice gScreenDevice;

int GetScreenDepth() { return gScreenDevice.depth != 0 ? gScreenDevice.depth : 16; }

int SetScreenMode(int width, int height, int depth, int refreshRate) {
  if (width == -1) width = gScreenDevice.width;
  if (height == -1) height = gScreenDevice.height;
  if (depth == -1) depth = gScreenDevice.depth;
  if (refreshRate == -1) refreshRate = gScreenDevice.refreshRate;
  if (width <= 0 || height <= 0 || (depth != 8 && depth != 16 && depth != 32)) return -1;
  gScreenDevice.width = width;
  gScreenDevice.height = height;
  gScreenDevice.displayDepth = depth;
  gScreenDevice.depth = depth;
  gScreenDevice.refreshRate = refreshRate;
  return 0;
}

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
