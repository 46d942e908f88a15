// The plain-draw loops for the SSE2 baseline.
#define SOFTRENDER_ISA softrender_sse2
#define SOFTRENDER_VECTOR_BYTES 16
#include "runtime/softrender/plain/PlainDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void PlainDrawSse2(const PlainDrawSetup& setup) { softrender_sse2::PlainDraw(setup); }
