#pragma once
// The looping field east of the town.

#include <cstdint>

#include "tests/support/GameFolderWriter.h"

namespace demo {

inline constexpr int32_t kFieldWidth = 20;
inline constexpr int32_t kFieldHeight = 15;
// Where the hero arrives from the town; the door back is one step below.
inline constexpr int32_t kFieldEntranceX = 10;
inline constexpr int32_t kFieldEntranceY = kFieldHeight - 3;

void AddField(GameFolderContent& game);

}  // namespace demo
