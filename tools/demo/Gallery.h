#pragma once
// The gallery south of the town.

#include <cstdint>

#include "tests/support/GameFolderWriter.h"

namespace demo {

inline constexpr int32_t kGalleryWidth = 20;
inline constexpr int32_t kGalleryHeight = 15;
// Where the hero arrives from the town; the door back is one step below.
inline constexpr int32_t kGalleryEntranceX = 10;
inline constexpr int32_t kGalleryEntranceY = kGalleryHeight - 3;

void AddGallery(GameFolderContent& game);

}  // namespace demo
