// The plain-draw loops for processors with AVX2 (compiled with -mavx2).
#define SOFTRENDER_ISA softrender_avx2
#define SOFTRENDER_VECTOR_BYTES 32
#include "runtime/softrender/plain/PlainDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void PlainDrawAvx2(const PlainDrawSetup& setup) { softrender_avx2::PlainDraw(setup); }
