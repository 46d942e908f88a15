#pragma once
// Integer arithmetic of the event commands. Sums, differences and products
// that the commands let wrap go through unsigned arithmetic; quotients and
// remainders are defined for every pair: INT32_MIN / -1 wraps to INT32_MIN
// and INT32_MIN % -1 is 0.

#include <cstdint>

inline int32_t WrapToInt32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }
// The low 16 bits, as an int16 field keeps a value written to it.
inline int16_t WrapToInt16(int64_t value) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value))); }
inline int32_t WrappingAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
inline int32_t WrappingSub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
inline int32_t WrappingMul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }
// A divisor of 0 is the caller's to handle.
inline int32_t WrappingDiv(int32_t a, int32_t b) { return b == -1 ? WrappingSub(0, a) : a / b; }
inline int32_t WrappingRem(int32_t a, int32_t b) { return b == -1 ? 0 : a % b; }
inline int32_t WrappingAbs(int32_t a) { return a < 0 ? WrappingSub(0, a) : a; }

inline int32_t ClampToTwoBillion(int64_t value) {
  if (value > 2000000000) return 2000000000;
  if (value < -2000000000) return -2000000000;
  return static_cast<int32_t>(value);
}

inline int32_t ClampToMillion(bool clamp, int32_t value) {
  if (!clamp) return value;
  if (value > 999999) return 999999;
  if (value < -999999) return -999999;
  return value;
}

// The integer assignment operators of the variable commands: x := r, x + r,
// x - r, x * r (saturated), x / r, x % r (a zero divisor counting as 1),
// max, min, |r|. False for the operators that store nothing.
inline bool IntegerAssignment(int32_t assign, int32_t x, int32_t r, int32_t& out) {
  switch (assign) {
    case 0: out = r; return true;
    case 1: out = ClampToTwoBillion(int64_t{x} + r); return true;
    case 2: out = ClampToTwoBillion(int64_t{x} - r); return true;
    case 3: out = ClampToTwoBillion(int64_t{x} * r); return true;
    case 4: out = WrappingDiv(x, r == 0 ? 1 : r); return true;
    case 5: out = WrappingRem(x, r == 0 ? 1 : r); return true;
    case 6: out = x > r ? x : r; return true;
    case 7: out = x < r ? x : r; return true;
    case 8: out = WrappingAbs(r); return true;
    default: return false;
  }
}
