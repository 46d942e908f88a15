#include "runtime/platform/base/WideArithmetic.h"

namespace {

unsigned __int128 ToWide(UInt128Words v) {
  unsigned __int128 r = 0;
  for (int i = 3; i >= 0; --i) r = (r << 32) | v.word[i];
  return r;
}

UInt128Words FromWide(unsigned __int128 v) {
  UInt128Words r;
  for (int i = 0; i < 4; ++i) {
    r.word[i] = static_cast<uint32_t>(v);
    v >>= 32;
  }
  return r;
}

}  // namespace

UInt128Words MulU128(uint64_t a, uint64_t b) {
  return FromWide(static_cast<unsigned __int128>(a) * b);
}

UInt128Words DivU128(UInt128Words n, uint64_t d) {
  if (d == 0) return UInt128Words{{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}};
  return FromWide(ToWide(n) / d);
}

uint64_t Low64(UInt128Words value) {
  return static_cast<uint64_t>(value.word[1]) << 32 | value.word[0];
}
