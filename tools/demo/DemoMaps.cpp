#include "tools/demo/DemoMaps.h"

#include <cstdio>

#include "engine/map/MapEventState.h"
#include "tests/support/CommandListBuilder.h"

namespace demo {

namespace {

constexpr int32_t kTransfer = 130;
constexpr int32_t kThePlayer = -1;

std::string RoomFileName(int32_t id) {
  char name[16];
  std::snprintf(name, sizeof name, "Map%03d.mps", static_cast<int>(id));
  return name;
}

}  // namespace

void SetTile(MapData& map, int32_t layer, int32_t x, int32_t y, int32_t tile) {
  map.layers[static_cast<size_t>(layer)][static_cast<size_t>(x)][static_cast<size_t>(y)] = tile;
}

void FillTiles(MapData& map, int32_t layer, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tile) {
  for (int32_t j = y; j < y + height; ++j) {
    for (int32_t i = x; i < x + width; ++i) SetTile(map, layer, i, j, tile);
  }
}

void DefineRoomList(GameFolderContent& game) {
  Database& system = game.systemDatabase;
  SetDatabaseType(system, SystemTypes::kMapList, "マップ設定", {2000, 1000, 1001, 1002, 1003, 2001, 2002, 2003},
                  {"ファイル名", "BGM", "BGS", "ループ", "遠景", "BGMファイル", "BGSファイル", "遠景ファイル"},
                  kRoomCount);
  for (int32_t id = 0; id < kRoomCount; ++id) {
    system.SetString(SystemTypes::kMapList, id, 0, RoomFileName(id));
    for (int32_t item = 1; item <= 4; ++item) system.SetInt(SystemTypes::kMapList, id, item, -2);
  }
}

void AddRoom(GameFolderContent& game, int32_t id, MapData map, int32_t music, int32_t backgroundSound) {
  game.systemDatabase.SetInt(SystemTypes::kMapList, id, 1, music);
  game.systemDatabase.SetInt(SystemTypes::kMapList, id, 2, backgroundSound);
  const std::string file = RoomFileName(id);
  for (auto& [name, room] : game.maps) {
    if (name == file) {
      room = std::move(map);
      return;
    }
  }
  game.maps.emplace_back(file, std::move(map));
}

MapEvent Door(int32_t eventId, int32_t x, int32_t y, int32_t toRoom, int32_t toX, int32_t toY) {
  MapEvent door(eventId);
  door.name = "扉";
  door.x = x;
  door.y = y;
  EventPage& page = door.pages[0];
  page.conditions.triggerKind = MapEventState::kHeroTouch;
  page.commands = CommandListBuilder().Add({kTransfer, kThePlayer, toX, toY, toRoom}).Build();
  page.commandCount = static_cast<int32_t>(page.commands.size());
  return door;
}

}  // namespace demo
