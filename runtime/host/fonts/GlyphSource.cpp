#include "runtime/host/fonts/GlyphSource.h"

#include <atomic>

#include "runtime/host/fonts/FreeTypeGlyphSource.h"

namespace {
std::atomic<const HostGlyphSource*> gSource{nullptr};
}

const HostGlyphSource* HostCurrentGlyphSource() {
  const HostGlyphSource* source = gSource.load();
  return source ? source : FreeTypeGlyphSource();
}

void HostSetGlyphSource(const HostGlyphSource* source) { gSource.store(source); }
