#pragma once
// The town, where a new game starts: grass inside a stone wall, the road, a
// pond, trees and flowers, the villager, and the doors to the other rooms.

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

// The doors at the road's ends, and where the hero stands on coming back
// through each: one step back along the road.
inline constexpr int32_t kFieldDoorId = 2;
inline constexpr int32_t kFieldDoorX = kMapWidth - 2;
inline constexpr int32_t kFieldDoorY = kRoadRow;
inline constexpr int32_t kTownFromFieldX = kFieldDoorX - 1;
inline constexpr int32_t kTownFromFieldY = kFieldDoorY;
inline constexpr int32_t kSmallRoomDoorId = 3;
inline constexpr int32_t kSmallRoomDoorX = kRoadColumn;
inline constexpr int32_t kSmallRoomDoorY = 1;
inline constexpr int32_t kTownFromSmallRoomX = kSmallRoomDoorX;
inline constexpr int32_t kTownFromSmallRoomY = kSmallRoomDoorY + 1;
inline constexpr int32_t kGalleryDoorId = 4;
inline constexpr int32_t kGalleryDoorX = kRoadColumn;
inline constexpr int32_t kGalleryDoorY = kMapHeight - 2;
inline constexpr int32_t kTownFromGalleryX = kGalleryDoorX;
inline constexpr int32_t kTownFromGalleryY = kGalleryDoorY - 1;

// What the villager says (Shift-JIS).
std::string VillagerMessage();

MapData TownMap();

// The town's map, tile set, sheets and music.
void AddTown(GameFolderContent& game);

}  // namespace demo
