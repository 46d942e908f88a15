#pragma once
// The sound effects the demo's choice windows play: the game sets them once,
// at the start, through a common event.

#include <cstdint>

#include "tests/support/GameFolderWriter.h"

namespace demo {

// Sound-effect entries, in the order the demo's sounds list them.
inline constexpr int32_t kDecideSoundEntry = 0;
inline constexpr int32_t kCursorSoundEntry = 1;
inline constexpr int32_t kCancelSoundEntry = 2;

// Appends the common event that sets them; it runs while the decide sound
// is still unset, so once.
void AddChoiceSounds(GameFolderContent& game);

}  // namespace demo
