#pragma once
// Numpad directions: how far one step in direction d moves along x and y
// (0 and 5 move nothing).

#include <cstdint>

inline int32_t StepX(int32_t d) { return d == 3 || d == 6 || d == 9 ? 1 : d == 1 || d == 4 || d == 7 ? -1 : 0; }
inline int32_t StepY(int32_t d) { return d == 1 || d == 2 || d == 3 ? 1 : d == 7 || d == 8 || d == 9 ? -1 : 0; }
