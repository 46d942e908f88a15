#include "tools/demo/DemoGame.h"

#include "tests/support/CommandListBuilder.h"
#include "tests/support/MovieClipWriter.h"
#include "tools/demo/DemoImages.h"

namespace demo {

namespace {

constexpr int32_t kShowMessage = 101;

// Tile flags: every edge closed, so no character enters the tile.
constexpr int32_t kBlocked = 0xF;

void SetTile(MapData& map, int32_t layer, int32_t x, int32_t y, int32_t tile) {
  map.layers[static_cast<size_t>(layer)][static_cast<size_t>(x)][static_cast<size_t>(y)] = tile;
}

void FillTiles(MapData& map, int32_t layer, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tile) {
  for (int32_t j = y; j < y + height; ++j) {
    for (int32_t i = x; i < x + width; ++i) SetTile(map, layer, i, j, tile);
  }
}

MapEvent Villager() {
  MapEvent villager(kVillagerId);
  villager.name = "村人";
  villager.x = kVillagerX;
  villager.y = kVillagerY;
  EventPage& page = villager.pages[0];
  page.graphic.fileName = "Chara\\villager.bmp";
  page.graphic.direction = 2;
  page.conditions.triggerKind = 0;  // spoken to with the decide key
  page.commands = CommandListBuilder().Add({kShowMessage}, {VillagerMessage()}).Build();
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

// The system database's window images (type 10) and text colours (type 12).
void WindowsAndColours(GameFolderContent& game) {
  Database& system = game.systemDatabase;
  const int32_t windows = SystemTypes::kWindowImages;
  system.SetString(windows, 0, 0, "System\\wait_cursor.bmp");
  system.SetInt(windows, 0, 1, 4);
  system.SetString(windows, 1, 0, "System\\window_skin.bmp");
  system.SetInt(windows, 1, 1, 1);
  system.SetString(windows, 2, 0, "System\\choice_cursor.bmp");
  system.SetInt(windows, 2, 1, 1);
  game.files.emplace_back("Data/System/wait_cursor.bmp", DemoWaitCursor());
  game.files.emplace_back("Data/System/window_skin.bmp", DemoWindowSkin());
  game.files.emplace_back("Data/System/choice_cursor.bmp", DemoChoiceCursor());

  // White, then the usual highlight colours; 10 to 12 colour the text entry.
  const uint32_t colours[13] = {0xFFFFFF, 0xFF6060, 0x60FF60, 0x6080FF, 0xFFFF60, 0xFF60FF, 0x60FFFF,
                                0xC0C0C0, 0x808080, 0xFFA040, 0xFFFFFF, 0x404040, 0xFFE080};
  for (int32_t i = 0; i < 13; ++i) {
    for (int32_t item = 0; item < 3; ++item) {
      system.SetInt(SystemTypes::kTextColours, i, item, static_cast<int32_t>(colours[i] >> (16 - 8 * item) & 0xFF));
    }
  }
}

// A movie in the streaming formats: MPEG-4 pictures with MP2 sound in AVI,
// made by FFmpeg's encoders. Left out where this FFmpeg cannot make it.
void Movies(GameFolderContent& game) {
  MovieClip clip;
  clip.container = "avi";
  clip.videoCodec = "mpeg4";
  clip.audioCodec = "mp2";
  clip.width = kMovieWidth;
  clip.height = kMovieHeight;
  clip.frames = 50;
  clip.keyInterval = 25;
  const std::string bytes = WriteMovieClip(clip);
  if (!bytes.empty()) game.files.emplace_back("Data/Movie/village.avi", bytes);
}

}  // namespace

std::string VillagerMessage() {
  return "こんにちは、旅の人。\nここはＭｏｖａｎの村です。\n矢印キーで歩いて、Ｅｎｔｅｒで話しかけてね。";
}

MapData VillageMap() {
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
  map.events = {Villager()};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  return map;
}

GameFolderContent DemoGame() {
  GameFolderContent game = StarterGame("Ｍｏｖａｎ デモ", VillageMap(), kStartX, kStartY);
  // Four-direction sheets of three patterns, four-way random steps.
  game.gameDat.settingBytes[1] = 4;
  game.gameDat.settingBytes[2] = 4;
  game.gameDat.settingStrings[7] = "Chara\\hero.bmp";
  game.tileSets = {VillageTiles()};
  game.files.emplace_back("Data/MapChip/village.bmp", DemoTileSheet());
  game.files.emplace_back("Data/Chara/hero.bmp", DemoCharacterSheet(0x3050C8, 0x402810, 0x303040));
  game.files.emplace_back("Data/Chara/villager.bmp", DemoCharacterSheet(0x50A040, 0xC8C8C8, 0x604020));
  WindowsAndColours(game);
  Movies(game);
  return game;
}

void WriteDemoGame(const std::string& folder) { WriteGameFolder(folder, DemoGame()); }

}  // namespace demo
