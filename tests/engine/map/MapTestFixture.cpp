#include "tests/engine/map/MapTestFixture.h"

#include "engine/data/database/Databases.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/services/DataFolder.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/StartupSettings.h"
#include "runtime/host/system/MessageBox.h"
#include "runtime/host/system/ProcessExit.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TileSetFileWriter.h"

MapCharacter* MapTest::hero = nullptr;
std::vector<std::string> MapTest::errorLines;
std::vector<std::string> MapTest::messageBoxes;
int MapTest::endGameCalls = 0;
std::vector<int32_t> MapTest::heroSteps;

void MapTest::SetUp() {
  errorLines.clear();
  messageBoxes.clear();
  heroSteps.clear();
  endGameCalls = 0;
  HostSetMessageBoxHook([](const char* text, const char*) { messageBoxes.push_back(text); });
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    errorLines.insert(errorLines.end(), {a, b, c});
  });
  HostSetExitHook([](int code) { throw ThrownExit{code}; });
  SetDataFolder(dir_.Path() + "/Data/");
  CurrentMapSettings = MapSettings{};
  CurrentMap = MapScene();
  SystemDatabase = Database();
  hero_ = MapCharacter();
  hero_.isHero = 1;
  hero_.slide = 1;
  hero_.passThrough = 1;  // out of the way unless a test places it
  hero = &hero_;
  MapSceneHooks hooks{};
  hooks.endGame = [] { ++endGameCalls; };
  hooks.hero = [] { return hero; };
  // The test's hero has no followers.
  hooks.follower = [](int32_t) -> MapCharacter* { return nullptr; };
  hooks.recordHeroStep = [](int32_t d) { heroSteps.push_back(d); };
  SetMapSceneHooks(&hooks);
}

void MapTest::TearDown() {
  SetMapSceneHooks(nullptr);
  Settings.soundSwitch = 3;
  HostSetMessageBoxHook(nullptr);
  SetErrorScreenHandler(nullptr);
  HostSetExitHook(nullptr);
  SetDataFolder("Data\\");
  CurrentMap = MapScene();
  CurrentMapSettings = MapSettings{};
  SystemDatabase = Database();
  hero = nullptr;
}

void MapTest::UseMap(int32_t w, int32_t h, std::vector<int32_t> flags) {
  MapScene& map = CurrentMap;
  map.mapId = 1;
  map.mapData = PlainMap(w, h);
  if (flags.size() < 16) flags.resize(16, 0);
  map.tileFlags = flags;
  map.loadedTileFlags = flags;
  map.terrainTags.assign(flags.size(), 0);
  map.TileDataChanged();
}

MapData MapTest::PlainMap(int32_t w, int32_t h, int32_t tileSetNumber) {
  MapData map;
  map.header.width = w;
  map.header.height = h;
  map.header.tileSetNumber = tileSetNumber;
  map.ResizeLayers(true, 0, 0);
  for (auto& column : map.layers[0]) std::fill(column.begin(), column.end(), 0);
  return map;
}

void MapTest::SetTile(int32_t layer, int32_t tileX, int32_t tileY, int32_t value) {
  CurrentMap.mapData.layers[static_cast<size_t>(layer)][static_cast<size_t>(tileX)][static_cast<size_t>(tileY)] = value;
  CurrentMap.TileDataChanged();
}

void MapTest::SetPlainTileFlags(int32_t v, int32_t flags) {
  std::vector<int32_t>& table = CurrentMap.tileFlags;
  if (table.size() <= static_cast<size_t>(v + 8)) table.resize(static_cast<size_t>(v + 9), 0);
  table[static_cast<size_t>(v + 8)] = flags;
  CurrentMap.TileDataChanged();
}

MapEventState& MapTest::AddEvent(int32_t id, int32_t x, int32_t y) {
  MapEvent source(id);
  CurrentMap.mapData.events.push_back(source);
  CurrentMap.events.emplace_back(CurrentMap, CurrentMap.mapId, source);
  MapEventState& event = CurrentMap.events.back();
  event.preciseX = x;
  event.preciseY = y;
  event.quarterX = 2 * CurrentMapSettings.tileUnit * x;
  event.quarterY = 2 * CurrentMapSettings.tileUnit * y;
  event.passThrough = 0;
  event.graphicId = 1;
  return event;
}

void MapTest::WriteTileSets(const std::vector<TileSet>& tileSets) {
  dir_.Write("Data/BasicData/TileSetData.dat", WriteTileSetFile(tileSets));
}

void MapTest::WriteMap(const std::string& fileName, const MapData& map) {
  dir_.Write("Data/" + fileName, WriteMapFile(map));
}

void MapTest::WriteMapList(const std::vector<MapListEntry>& entries, int32_t itemCount) {
  const std::vector<int32_t> allCodes{2000, 1000, 1001, 1002, 1003, 2001, 2002, 2003};
  const std::vector<int32_t> codes(allCodes.begin(), allCodes.begin() + itemCount);
  std::vector<std::string> names;
  for (int32_t i = 0; i < itemCount; ++i) names.push_back("item" + std::to_string(i));
  std::vector<std::string> dataNames(entries.size(), "map");
  SystemDatabase = Database();
  SystemDatabase.typeData = {MakeTypeData(codes, static_cast<int32_t>(entries.size()))};
  SystemDatabase.typeDefinitions = {MakeDefinition("マップ", names, dataNames)};
  for (size_t i = 0; i < entries.size(); ++i) {
    const MapListEntry& e = entries[i];
    const auto data = static_cast<int32_t>(i);
    const std::vector<int32_t> ints{e.music, e.sound, e.loop, e.panorama};
    const std::vector<std::string> texts{e.musicFile, e.soundFile, e.panoramaFile};
    SystemDatabase.SetString(0, data, 0, e.file);
    for (int32_t item = 1; item < std::min(itemCount, 5); ++item) SystemDatabase.SetInt(0, data, item, ints[static_cast<size_t>(item - 1)]);
    for (int32_t item = 5; item < itemCount; ++item) SystemDatabase.SetString(0, data, item, texts[static_cast<size_t>(item - 5)]);
  }
}
