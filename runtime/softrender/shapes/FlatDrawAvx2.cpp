// The box and line loops for AVX2.
#define SOFTRENDER_ISA softrender_avx2
#define SOFTRENDER_VECTOR_BYTES 32
#include "runtime/softrender/shapes/FlatDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void FlatFillBoxAvx2(const FlatDrawSetup& setup) { softrender_avx2::FlatFillBox(setup); }
void FlatDrawLineAvx2(const FlatDrawSetup& setup, int32_t count, int32_t minor, intptr_t majorStep,
                      intptr_t minorStep) {
  softrender_avx2::FlatDrawLine(setup, count, minor, majorStep, minorStep);
}
