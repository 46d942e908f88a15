#include "engine/services/EngineRandom.h"

#include "runtime/Movan.h"

namespace {
uint32_t gRandomState = 0;
bool gRandomSeeded = false;
}  // namespace

uint32_t EngineRandom(int mode, uint32_t value) {
  if (!gRandomSeeded) {
    gRandomState = GetTickMs();
    gRandomSeeded = true;
  }
  if (mode == kRandomStep) {
    gRandomState = (gRandomState * 1103515245u + 94123u) >> 4;
  } else if (mode == kRandomSet) {
    gRandomState = value;
  }
  return gRandomState;
}
