#pragma once
// The draw loops are compiled for the SSE2 baseline and for AVX2; the
// processor chooses at run time.

#include <cstdint>

#include "runtime/softrender/PlainDrawSetup.h"

enum class SoftDrawIsa { Automatic, Sse2, Avx2 };

// Test and benchmark seam: forces one set (Avx2 only takes effect where the
// processor has it).
void SetSoftDrawIsa(SoftDrawIsa isa);
// The set the draws use now.
SoftDrawIsa CurrentSoftDrawIsa();
bool ProcessorHasAvx2();

void PlainDraw32Sse2(const PlainDrawSetup& setup, const uint8_t* graphicWeights);
void PlainDraw32Avx2(const PlainDrawSetup& setup, const uint8_t* graphicWeights);
