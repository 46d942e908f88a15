#pragma once
// The engine's one truncating conversion of a double: toward zero, and
// INT32_MIN for what no int32 holds (out of range, not a number).

#include <cstdint>

inline int32_t TruncateToInt32(double value) {
  if (!(value >= -2147483648.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}
