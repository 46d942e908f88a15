#pragma once
// A fresh game around the current map: the live scene hooks, the root
// runner, the variables, the system state, the root interpreter and the
// input as at a new start, and a fresh hero on a tile with its followers
// gathered on it. For tests and benchmarks that run the map as the game
// does.

#include <cstdint>

void ResetLiveMapGame(int32_t heroTileX, int32_t heroTileY);
