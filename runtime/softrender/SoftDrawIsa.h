#pragma once
// The draw loops are compiled for the SSE2 baseline and for AVX2; the
// processor chooses at run time. Each set has one record of entry points,
// one per draw family.

#include <cstdint>

#include "runtime/softrender/PlainDrawSetup.h"

enum class SoftDrawIsa { Automatic, Sse2, Avx2 };

// Test and benchmark seam: forces one set (Avx2 only takes effect where the
// processor has it).
void SetSoftDrawIsa(SoftDrawIsa isa);
// The set the draws use now.
SoftDrawIsa CurrentSoftDrawIsa();
bool ProcessorHasAvx2();

struct SoftDrawEntryPoints {
  void (*plainDraw)(const PlainDrawSetup& setup);
};

// The entry points of the set the draws use now.
const SoftDrawEntryPoints& CurrentSoftDrawEntryPoints();

void PlainDrawSse2(const PlainDrawSetup& setup);
void PlainDrawAvx2(const PlainDrawSetup& setup);
