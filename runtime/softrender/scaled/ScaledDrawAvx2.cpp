// The scaled-draw loops for the processors with AVX2.
#define SOFTRENDER_ISA softrender_avx2
#define SOFTRENDER_VECTOR_BYTES 32
#include "runtime/softrender/scaled/ScaledDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void ScaledDrawAvx2(const ScaledDrawSetup& setup) { softrender_avx2::ScaledDraw(setup); }
