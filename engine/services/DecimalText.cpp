#include "engine/services/DecimalText.h"

#include <cstdio>

namespace {
char gBuffers[10][256];
int gIndex = 0;
}  // namespace

const char* DecimalText(int32_t value) {
  gIndex = (gIndex + 1) % 10;
  std::snprintf(gBuffers[gIndex], sizeof gBuffers[gIndex], "%d", value);
  return gBuffers[gIndex];
}
