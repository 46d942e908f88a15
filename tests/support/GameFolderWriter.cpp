#include "tests/support/GameFolderWriter.h"

#include <filesystem>

#include "tests/support/CommonEventFileWriter.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/DatabaseFileWriter.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TileSetFileWriter.h"

namespace {

void WriteDatabasePair(const std::string& folder, const std::string& name, const Database& database) {
  WriteWholeFile(folder + "/Data/BasicData/" + name + ".dat", WriteDatabaseDat(database));
  WriteWholeFile(folder + "/Data/BasicData/" + name + ".project", WriteDatabaseProject(database));
}

// Game paths use '\'; the files are written at their host paths.
std::string HostPath(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

namespace {

// A definition whose per-item lists are as long as its item names, as the
// editor writes them.
DatabaseTypeDefinition Definition(const std::string& typeName, std::vector<std::string> itemNames, int32_t records) {
  std::vector<std::string> dataNames;
  for (int32_t i = 0; i < records; ++i) dataNames.push_back(std::to_string(i));
  const size_t items = itemNames.size();
  DatabaseTypeDefinition definition =
      MakeDefinition(typeName, std::move(itemNames), std::move(dataNames), std::vector<int32_t>(items, 0));
  definition.itemTexts.assign(items, "");
  definition.itemOptionTexts.assign(items, {});
  definition.itemOptionValues.assign(items, {});
  return definition;
}

}  // namespace

void SetDatabaseType(Database& database, int32_t type, const std::string& typeName, std::vector<int32_t> itemCodes,
                     std::vector<std::string> itemNames, int32_t records) {
  while (database.GetTypeCount() <= type) {
    database.typeData.push_back(MakeTypeData({}, 0));
    database.typeDefinitions.push_back(Definition("", {}, 0));
  }
  database.typeData[static_cast<size_t>(type)] = MakeTypeData(std::move(itemCodes), records);
  database.typeDefinitions[static_cast<size_t>(type)] = Definition(typeName, std::move(itemNames), records);
}

MapData PlainMapData(int32_t width, int32_t height) {
  MapData map;
  map.header.width = width;
  map.header.height = height;
  map.header.tileSetNumber = 0;
  map.ResizeLayers(true, 0, 0);
  for (auto& column : map.layers[0]) std::fill(column.begin(), column.end(), 0);
  return map;
}

GameFolderContent StarterGame(const std::string& title, MapData map, int32_t startX, int32_t startY) {
  GameFolderContent game;
  game.gameDat.settingBytes = {32, 8, 8, 1, 60, 1, 0, 3, 0, 0, 0, 6, 6, 0, 0, 4, 4, 0};
  game.gameDat.settingStrings = {title, "0000-0000", "", "", "", "", "", ""};
  game.gameDat.values16 = {20000};

  Database& system = game.systemDatabase;
  SetDatabaseType(system, SystemTypes::kMapList, "マップ設定", {2000, 1000, 1001, 1002, 1003, 2001, 2002, 2003},
                  {"ファイル名", "BGM", "BGS", "ループ", "遠景", "BGMファイル", "BGSファイル", "遠景ファイル"}, 1);
  system.SetString(SystemTypes::kMapList, 0, 0, "Map000.mps");
  for (int32_t item = 1; item <= 4; ++item) system.SetInt(SystemTypes::kMapList, 0, item, -2);
  SetDatabaseType(system, SystemTypes::kStartPosition, "初期位置", {1000, 1001, 1002}, {"マップ", "X", "Y"}, 1);
  system.SetInt(SystemTypes::kStartPosition, 0, 0, 0);
  system.SetInt(SystemTypes::kStartPosition, 0, 1, startX);
  system.SetInt(SystemTypes::kStartPosition, 0, 2, startY);
  SetDatabaseType(system, SystemTypes::kWindowImages, "ウィンドウ", {2000, 1000}, {"ファイル名", "コマ数"}, 3);
  SetDatabaseType(system, SystemTypes::kTextColours, "文字色", {1000, 1001, 1002}, {"R", "G", "B"}, 13);
  for (int32_t colour = 0; colour < 13; ++colour) {
    for (int32_t item = 0; item < 3; ++item) system.SetInt(SystemTypes::kTextColours, colour, item, 255);
  }

  TileSet tiles;
  tiles.name = "基本";
  tiles.tileFlags.assign(8 + 64, 0);
  tiles.terrainTags.assign(8 + 64, 0);
  game.tileSets = {tiles};
  game.maps = {{"Map000.mps", std::move(map)}};
  return game;
}

void WriteGameFolder(const std::string& folder, const GameFolderContent& game) {
  std::filesystem::create_directories(folder + "/Data/BasicData");
  WriteWholeFile(folder + "/Game.dat", WriteGameDat(game.gameDat));
  WriteDatabasePair(folder, "SysDataBase", game.systemDatabase);
  WriteDatabasePair(folder, "DataBase", game.userDatabase);
  WriteDatabasePair(folder, "CDataBase", game.variableDatabase);
  WriteWholeFile(folder + "/Data/BasicData/CommonEvent.dat", WriteCommonEventDat(game.commonEvents));
  WriteWholeFile(folder + "/Data/BasicData/TileSetData.dat", WriteTileSetFile(game.tileSets));
  for (const auto& [name, map] : game.maps) WriteWholeFile(folder + "/Data/" + HostPath(name), WriteMapFile(map));
  for (const auto& [path, bytes] : game.files) WriteWholeFile(folder + "/" + HostPath(path), bytes);
}
