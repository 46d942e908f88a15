#include "engine/data/file/CRuntimeRandom.h"

namespace {

constexpr CRuntimeRandomStep kOneStep{214013u, 2531011u};

uint32_t gState = 1;  // the library's state before any srand

}  // namespace

void CRuntimeSrand(uint32_t seed) { gState = seed; }

int CRuntimeRand() {
  gState = kOneStep.Apply(gState);
  return CRuntimeRandValue(gState);
}

uint32_t CRuntimeRandomState() { return gState; }

CRuntimeRandomStep CRuntimeRandomSteps(uint32_t n) {
  // Square-and-multiply on affine maps; everything wraps modulo 2^32.
  CRuntimeRandomStep result{1u, 0u};
  CRuntimeRandomStep power = kOneStep;
  while (n != 0) {
    if (n & 1u) result = {result.multiplier * power.multiplier, power.multiplier * result.increment + power.increment};
    power = {power.multiplier * power.multiplier, power.multiplier * power.increment + power.increment};
    n >>= 1;
  }
  return result;
}
