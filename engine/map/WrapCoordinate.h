#pragma once
// Coordinates on a looping map: brought into 0 .. size - 1 however far they
// left it.

#include <cstdint>

inline int64_t WrapCoordinate(int64_t value, int64_t size) {
  if (static_cast<uint64_t>(value) < static_cast<uint64_t>(size)) return value;  // the usual case: inside
  const int64_t r = value % size;
  return r < 0 ? r + size : r;
}

// Saturates a 64-bit result into the i32 fields of the records.
inline int32_t ClampToI32(int64_t value) {
  return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}
