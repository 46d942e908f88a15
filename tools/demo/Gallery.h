#pragma once
// The gallery south of the town. The curator in front of the entrance,
// spoken to, runs a show of the pictures: every kind of picture on each of
// the four picture layers, their effects, the screen's tone and flash, a
// transition, the map drawing held still and let go, and the speech command
// (no speech library here: its error shows). At its end the pictures fade.

#include <cstdint>

#include "tests/support/GameFolderWriter.h"

namespace demo {

inline constexpr int32_t kGalleryWidth = 20;
inline constexpr int32_t kGalleryHeight = 15;
// Where the hero arrives from the town; the door back is one step below.
inline constexpr int32_t kGalleryEntranceX = 10;
inline constexpr int32_t kGalleryEntranceY = kGalleryHeight - 3;

// Picture numbers of the show, by layer: behind the map, between the map
// and the characters, over the characters, over everything.
inline constexpr int32_t kBehindMapPicture = -100000;
inline constexpr int32_t kUnderCharactersPicture = -1;
inline constexpr int32_t kTopPicture = 100000;
// Over the characters: the pictures 1 to kGalleryPictures - 1.
inline constexpr int32_t kGalleryPictures = 8;

void AddGallery(GameFolderContent& game);

}  // namespace demo
