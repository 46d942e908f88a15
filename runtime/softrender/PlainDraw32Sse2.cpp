// The 32-bit plain-draw loops for the SSE2 baseline.
#define SOFTRENDER_ISA softrender_sse2
#define SOFTRENDER_VECTOR_BYTES 16
#include "runtime/softrender/PlainDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void PlainDraw32Sse2(const PlainDrawSetup& setup, const uint8_t* graphicWeights) {
  softrender_sse2::PlainDraw32(setup, graphicWeights);
}
