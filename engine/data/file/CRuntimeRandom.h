#pragma once
// The C run-time library's srand/rand pair, reproduced exactly: data files are
// scrambled with its stream, so its sequence is part of the file formats. The
// host's own rand gives a different sequence and is never used for this.
// One process-wide state, as the library keeps it; tests reach it through
// CRuntimeSrand and CRuntimeRandomState.

#include <cstdint>

void CRuntimeSrand(uint32_t seed);
// 0 to 32767.
int CRuntimeRand();
uint32_t CRuntimeRandomState();

// The state update, and the same update applied n times as one affine step
// (state * multiplier + increment), so that independent lanes can walk one
// stream at once.
struct CRuntimeRandomStep {
  uint32_t multiplier;
  uint32_t increment;
  uint32_t Apply(uint32_t state) const { return state * multiplier + increment; }
};
CRuntimeRandomStep CRuntimeRandomSteps(uint32_t n);
// The value rand returns for a given state after its update.
constexpr int CRuntimeRandValue(uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFF); }
