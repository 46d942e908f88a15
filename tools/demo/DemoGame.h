#pragma once
// The demo game: a small village map where the hero walks on the arrow keys
// and a villager speaks when spoken to. Everything is made here, from the
// project's own format writers and pictures drawn from shapes. Each part
// of the game has its own function below; a new room or feature adds its
// own and joins DemoGame().

#include <cstdint>
#include <string>

#include "engine/data/map/MapData.h"
#include "tests/support/GameFolderWriter.h"

namespace demo {

inline constexpr int32_t kMapWidth = 25;
inline constexpr int32_t kMapHeight = 20;
// Where a new game starts, on the village road.
inline constexpr int32_t kStartX = 5;
inline constexpr int32_t kStartY = 10;
// The villager, map event 1, stands here facing down.
inline constexpr int32_t kVillagerId = 1;
inline constexpr int32_t kVillagerX = 14;
inline constexpr int32_t kVillagerY = 8;
// The road runs along this row from the left edge to the right one, and
// down this column.
inline constexpr int32_t kRoadRow = 10;
inline constexpr int32_t kRoadColumn = 12;

// A movie of two seconds with sound, for whatever shows movies; nothing in
// the game plays it yet.
inline constexpr const char* kMovieFile = "Data\\Movie\\village.avi";
inline constexpr int32_t kMovieWidth = 160;
inline constexpr int32_t kMovieHeight = 120;

// The village music loops back to its second bar; the villager's tune
// plays by file name once he has spoken.
inline constexpr int32_t kMusicLoopStartMs = 500;
inline constexpr const char* kTuneFile = "BGM\\tune.mid";

// What the villager says (Shift-JIS).
std::string VillagerMessage();

// The village: grass inside a stone wall, the road, a pond, trees and
// flowers, and the villager.
MapData VillageMap();

// The whole game.
GameFolderContent DemoGame();
void WriteDemoGame(const std::string& folder);

}  // namespace demo
