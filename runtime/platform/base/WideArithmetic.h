#pragma once
// Unsigned 128-bit products and quotients, four 32-bit words lowest first.

#include <cstdint>

struct UInt128Words {
  uint32_t word[4];
};

UInt128Words MulU128(uint64_t a, uint64_t b);

// Quotient of n by d; a zero divisor gives all bits set.
UInt128Words DivU128(UInt128Words n, uint64_t d);

uint64_t Low64(UInt128Words value);
