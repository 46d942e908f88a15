#pragma once
// Whole game folders for end-to-end tests and the demo game: "Game.dat",
// the three databases, the common events, the tile sets, the maps and any
// other file below Data, all written by the format writers of this folder.
// StarterGame gives a game that starts and shows its first map; callers
// change or add what their case needs before writing it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/data/CommonEvent.h"
#include "engine/data/TileSet.h"
#include "engine/data/database/Database.h"
#include "engine/data/map/MapData.h"
#include "tests/support/GameDatWriter.h"

struct GameFolderContent {
  GameDatContent gameDat;
  Database systemDatabase;
  Database userDatabase;
  Database variableDatabase;
  std::vector<CommonEvent> commonEvents;
  std::vector<TileSet> tileSets;
  // Map files by their name below Data (as the map list names them).
  std::vector<std::pair<std::string, MapData>> maps;
  // Any other file: its path below the game folder ('/' separators) and its
  // bytes.
  std::vector<std::pair<std::string, std::string>> files;
};

// System database types the engine reads.
struct SystemTypes {
  static constexpr int32_t kMapList = 0;
  static constexpr int32_t kStartPosition = 7;
  static constexpr int32_t kWindowImages = 10;
  static constexpr int32_t kTextColours = 12;
};

// Makes `type` of the database (the types before it are made empty when
// missing): items by code (kind x 1000 + slot: 1000 + n integers, 2000 + n
// strings), their names, and `records` records named "0", "1", ...
void SetDatabaseType(Database& database, int32_t type, const std::string& typeName, std::vector<int32_t> itemCodes,
                     std::vector<std::string> itemNames, int32_t records);

// A 32-pixel game at 60 frames a second named title, with map (Map000.mps,
// map 0 of the map list) where a new game starts at tile (startX, startY),
// and one tile set whose tiles all let characters pass. The system
// database has types 0 to 12: the map list, the start position, the window
// images (no file names) and the text colours (13 records); the user and
// variable databases have no types; no common events.
GameFolderContent StarterGame(const std::string& title, MapData map, int32_t startX, int32_t startY);

// A map of width x height tiles, tile 0 on layer 0 everywhere, the upper
// layers empty, no events, tile set 0.
MapData PlainMapData(int32_t width, int32_t height);

// Writes the game into folder (created when missing).
void WriteGameFolder(const std::string& folder, const GameFolderContent& game);
