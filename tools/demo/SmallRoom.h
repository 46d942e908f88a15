#pragma once
// The small room north of the town.

#include <cstdint>

#include "tests/support/GameFolderWriter.h"

namespace demo {

inline constexpr int32_t kSmallRoomWidth = 20;
inline constexpr int32_t kSmallRoomHeight = 15;
// Where the hero arrives from the town; the door back is one step below.
inline constexpr int32_t kSmallRoomEntranceX = 10;
inline constexpr int32_t kSmallRoomEntranceY = kSmallRoomHeight - 3;

void AddSmallRoom(GameFolderContent& game);

}  // namespace demo
