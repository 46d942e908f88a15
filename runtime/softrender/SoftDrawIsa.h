#pragma once
// The draw loops are compiled for the SSE2 baseline and for AVX2; the
// processor chooses at run time. Each set has one record of entry points,
// one per draw family.

#include <cstdint>

#include "runtime/softrender/plain/PlainDrawSetup.h"
#include "runtime/softrender/scaled/ScaledDrawSetup.h"
#include "runtime/softrender/shapes/ShapeDrawSetup.h"

enum class SoftDrawIsa { Automatic, Sse2, Avx2 };

// Test and benchmark seam: forces one set (Avx2 only takes effect where the
// processor has it).
void SetSoftDrawIsa(SoftDrawIsa isa);
// The set the draws use now.
SoftDrawIsa CurrentSoftDrawIsa();
bool ProcessorHasAvx2();

struct SoftDrawEntryPoints {
  void (*plainDraw)(const PlainDrawSetup& setup);
  void (*scaledDraw)(const ScaledDrawSetup& setup);
  void (*flatFillBox)(const FlatDrawSetup& setup);
  void (*flatDrawLine)(const FlatDrawSetup& setup, int32_t count, int32_t minor, intptr_t majorStep,
                       intptr_t minorStep);
  void (*mappedDraw)(const MappedDrawSetup& setup);
};

// The entry points of the set the draws use now.
const SoftDrawEntryPoints& CurrentSoftDrawEntryPoints();

void PlainDrawSse2(const PlainDrawSetup& setup);
void PlainDrawAvx2(const PlainDrawSetup& setup);

void FlatFillBoxSse2(const FlatDrawSetup& setup);
void FlatFillBoxAvx2(const FlatDrawSetup& setup);
void FlatDrawLineSse2(const FlatDrawSetup& setup, int32_t count, int32_t minor, intptr_t majorStep,
                      intptr_t minorStep);
void FlatDrawLineAvx2(const FlatDrawSetup& setup, int32_t count, int32_t minor, intptr_t majorStep,
                      intptr_t minorStep);
void MappedDrawSse2(const MappedDrawSetup& setup);
void MappedDrawAvx2(const MappedDrawSetup& setup);
void ScaledDrawSse2(const ScaledDrawSetup& setup);
void ScaledDrawAvx2(const ScaledDrawSetup& setup);
