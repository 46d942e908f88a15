// The mapped-draw loops for AVX2.
#define SOFTRENDER_ISA softrender_avx2
#define SOFTRENDER_VECTOR_BYTES 32
#include "runtime/softrender/shapes/MappedDrawLoops.h"
#include "runtime/softrender/SoftDrawIsa.h"

void MappedDrawAvx2(const MappedDrawSetup& setup) { softrender_avx2::MappedDraw(setup); }
