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
  static const SoftDrawEntryPoints sse2{&PlainDrawSse2};
  static const SoftDrawEntryPoints avx2{&PlainDrawAvx2};
  return CurrentSoftDrawIsa() == SoftDrawIsa::Avx2 ? avx2 : sse2;
}
