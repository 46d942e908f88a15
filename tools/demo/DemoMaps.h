#pragma once
// The demo's rooms by map id (records of the map list, files MapNNN.mps),
// and what every room's map is drawn and joined with.

#include <cstdint>

#include "engine/data/map/MapData.h"
#include "tests/support/GameFolderWriter.h"

namespace demo {

enum RoomMap : int32_t {
  kTownMap = 0,
  kFieldMap = 1,
  kSmallRoomMap = 2,
  kGalleryMap = 3,
  kRoomCount = 4,
};

// Tile flags: every edge closed, so no character enters the tile.
inline constexpr int32_t kBlocked = 0xF;

void SetTile(MapData& map, int32_t layer, int32_t x, int32_t y, int32_t tile);
void FillTiles(MapData& map, int32_t layer, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tile);

// Makes the map list one record per room, each keeping the music and
// background sound that play (-2) until its room sets them.
void DefineRoomList(GameFolderContent& game);

// Puts map in as room id: its file, its map list record, and the music and
// background sound entries it plays on entry (-2 keeps what plays).
void AddRoom(GameFolderContent& game, int32_t id, MapData map, int32_t music = -2, int32_t backgroundSound = -2);

// An event on tile (x, y) that takes the hero to tile (toX, toY) of room
// toRoom as soon as the hero steps onto it.
MapEvent Door(int32_t eventId, int32_t x, int32_t y, int32_t toRoom, int32_t toX, int32_t toY);

}  // namespace demo
