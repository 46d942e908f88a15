#include "tools/demo/Town.h"

#include "tests/support/CommandListBuilder.h"
#include "tools/demo/DemoAssets.h"
#include "tools/demo/DemoImages.h"
#include "tools/demo/DemoMaps.h"
#include "tools/demo/Field.h"
#include "tools/demo/Gallery.h"
#include "tools/demo/SmallRoom.h"

namespace demo {

namespace {

constexpr int32_t kShowMessage = 101;
constexpr int32_t kSoundCommand = 140;
// The sound command's flags: play music given by file name.
constexpr int32_t kPlayMusicFile = 2 << 24;

MapEvent Villager() {
  MapEvent villager(kVillagerId);
  villager.name = "村人";
  villager.x = kVillagerX;
  villager.y = kVillagerY;
  EventPage& page = villager.pages[0];
  page.graphic.fileName = "Chara\\villager.bmp";
  page.graphic.direction = 2;
  page.conditions.triggerKind = 0;  // spoken to with the decide key
  // After speaking he strikes up his tune, over the village music.
  page.commands = CommandListBuilder()
                      .Add({kShowMessage}, {VillagerMessage()})
                      .Add({kSoundCommand, kPlayMusicFile, 30, 0, 0, 100, 100, 0}, {kTuneFile})
                      .Build();
  page.commandCount = static_cast<int32_t>(page.commands.size());
  return villager;
}

TileSet VillageTiles() {
  TileSet tiles;
  tiles.name = "村";
  tiles.imageNames[0] = "MapChip\\village.bmp";
  tiles.tileFlags.assign(8 + 8 * 8, 0);
  tiles.terrainTags.assign(tiles.tileFlags.size(), 0);
  for (const int32_t tile : {kTreeTile, kWaterTile, kStoneTile}) tiles.tileFlags[static_cast<size_t>(8 + tile)] = kBlocked;
  return tiles;
}

}  // namespace

std::string VillagerMessage() {
  return "こんにちは、旅の人。\nここはＭｏｖａｎの村です。\n矢印キーで歩いて、Ｅｎｔｅｒで話しかけてね。";
}

MapData TownMap() {
  MapData map = PlainMapData(kMapWidth, kMapHeight);
  map.header.name = "村";
  FillTiles(map, 0, 0, 0, kMapWidth, 1, kStoneTile);
  FillTiles(map, 0, 0, kMapHeight - 1, kMapWidth, 1, kStoneTile);
  FillTiles(map, 0, 0, 0, 1, kMapHeight, kStoneTile);
  FillTiles(map, 0, kMapWidth - 1, 0, 1, kMapHeight, kStoneTile);
  FillTiles(map, 0, 1, kRoadRow, kMapWidth - 2, 1, kPathTile);
  FillTiles(map, 0, kRoadColumn, 1, 1, kMapHeight - 2, kPathTile);
  FillTiles(map, 0, 17, 3, 5, 4, kWaterTile);
  for (const auto& [x, y] : {std::pair{3, 3}, {4, 3}, {3, 4}, {7, 15}, {8, 15}, {8, 16}, {20, 14}, {21, 15}, {2, 17}}) {
    SetTile(map, 1, x, y, kTreeTile);
  }
  for (const auto& [x, y] : {std::pair{5, 6}, {6, 7}, {15, 13}, {16, 14}, {9, 4}}) SetTile(map, 1, x, y, kFlowerTile);
  map.events = {Villager(),
                Door(kFieldDoorId, kFieldDoorX, kFieldDoorY, kFieldMap, kFieldEntranceX, kFieldEntranceY),
                Door(kSmallRoomDoorId, kSmallRoomDoorX, kSmallRoomDoorY, kSmallRoomMap, kSmallRoomEntranceX,
                     kSmallRoomEntranceY),
                Door(kGalleryDoorId, kGalleryDoorX, kGalleryDoorY, kGalleryMap, kGalleryEntranceX, kGalleryEntranceY)};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  return map;
}

void AddTown(GameFolderContent& game) {
  game.tileSets = {VillageTiles()};
  game.files.emplace_back("Data/MapChip/village.bmp", DemoTileSheet());
  game.files.emplace_back("Data/Chara/villager.bmp", DemoCharacterSheet(0x50A040, 0xC8C8C8, 0x604020));
  // The village music and the brook, entries 0 of their sound types.
  AddRoom(game, kTownMap, TownMap(), 0, 0);
}

}  // namespace demo
