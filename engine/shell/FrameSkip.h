#pragma once
// The frame-skip mode: 0 draws every frame, 1 every second, 2 about every
// third. It sets the draw credit per frame, the root runner's mode and the
// setting written to "Game.ini".

#include <cstdint>

void SetFrameSkip(int32_t mode);
