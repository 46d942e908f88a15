#pragma once
// A rectangle in whole pixels: left and top inside, right and bottom outside.

#include <cstdint>

struct IntRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
