// The scaled-draw loops for the SSE2 baseline.
#define SOFTRENDER_ISA softrender_sse2
#define SOFTRENDER_VECTOR_BYTES 16
#include "runtime/softrender/scaled/ScaledDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void ScaledDrawSse2(const ScaledDrawSetup& setup) { softrender_sse2::ScaledDraw(setup); }
