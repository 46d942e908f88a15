// The mapped-draw loops for the SSE2 baseline.
#define SOFTRENDER_ISA softrender_sse2
#define SOFTRENDER_VECTOR_BYTES 16
#include "runtime/softrender/shapes/MappedDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void MappedDrawSse2(const MappedDrawSetup& setup) { softrender_sse2::MappedDraw(setup); }
