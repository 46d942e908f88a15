#pragma once
// What the game holds, while F8 is held in test play: the pictures and their
// image files, the loaded sounds, the cached scene graphics and the parallel
// common events running, over the darkened frame.

#include <vector>

#include "engine/shell/DebugTexts.h"

std::vector<DebugText> DebugOverlayTexts();

// Just before the flip of a drawn frame.
void DrawDebugOverlay();
