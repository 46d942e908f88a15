#include "runtime/softrender/SoftDrawIsa.h"

namespace {

SoftDrawIsa gRequested = SoftDrawIsa::Automatic;

}  // namespace

bool ProcessorHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

void SetSoftDrawIsa(SoftDrawIsa isa) { gRequested = isa; }

SoftDrawIsa CurrentSoftDrawIsa() {
  if (gRequested == SoftDrawIsa::Sse2 || !ProcessorHasAvx2()) return SoftDrawIsa::Sse2;
  return SoftDrawIsa::Avx2;
}

const SoftDrawEntryPoints& CurrentSoftDrawEntryPoints() {
  static const SoftDrawEntryPoints sse2{
      .plainDraw = &PlainDrawSse2,
      .scaledDraw = &ScaledDrawSse2,
      .flatFillBox = &FlatFillBoxSse2,
      .flatDrawLine = &FlatDrawLineSse2,
      .mappedDraw = &MappedDrawSse2,
  };
  static const SoftDrawEntryPoints avx2{
      .plainDraw = &PlainDrawAvx2,
      .scaledDraw = &ScaledDrawAvx2,
      .flatFillBox = &FlatFillBoxAvx2,
      .flatDrawLine = &FlatDrawLineAvx2,
      .mappedDraw = &MappedDrawAvx2,
  };
  return CurrentSoftDrawIsa() == SoftDrawIsa::Avx2 ? avx2 : sse2;
}
