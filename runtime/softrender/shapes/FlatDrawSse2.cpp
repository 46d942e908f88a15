// The box and line loops for the SSE2 baseline.
#define SOFTRENDER_ISA softrender_sse2
#define SOFTRENDER_VECTOR_BYTES 16
#include "runtime/softrender/shapes/FlatDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void FlatFillBoxSse2(const FlatDrawSetup& setup) { softrender_sse2::FlatFillBox(setup); }
void FlatDrawLineSse2(const FlatDrawSetup& setup, int32_t count, int32_t minor, intptr_t majorStep,
                      intptr_t minorStep) {
  softrender_sse2::FlatDrawLine(setup, count, minor, majorStep, minorStep);
}
