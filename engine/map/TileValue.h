#pragma once
// Tile values of the map's layers: below 100000 a plain tile v (tile-flag
// index v + 8); from 100000 up an autotile (value / 100000 - 1, 0 the empty
// cell) with its shape (value mod 100000).

#include <cstdint>

inline constexpr int32_t kAutotileBase = 100000;

inline int32_t TileFlagIndex(int32_t value) { return value < kAutotileBase ? value + 8 : value / kAutotileBase - 1; }
