#include "tests/engine/presentation/PresentationFixture.h"

#include <algorithm>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/PresentationHooks.h"
#include "engine/services/DataFolder.h"
#include "engine/services/ErrorScreen.h"
#include "tests/support/DatabaseBuilder.h"

MapCharacter* PresentationTest::hero = nullptr;
int32_t PresentationTest::followerCount = 0;
std::array<MapCharacter, 5>* PresentationTest::followers = nullptr;
std::vector<std::string> PresentationTest::messageBoxes;
std::vector<std::string> PresentationTest::errorLines;

void PresentationTest::SetUp() {
  GraphicsFixture::SetUp();
  Start(32);
  SetDrawTarget(kBackScreen);
  SetTransparentColor(254, 0, 254);
  messageBoxes.clear();
  errorLines.clear();
  SetMessageBoxHook([](const char* text, const char* title) {
    messageBoxes.emplace_back(text);
    messageBoxes.emplace_back(title);
  });
  SetExitProgramHook([](int code) { throw ThrownExit{code}; });
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    errorLines.insert(errorLines.end(), {a, b, c});
  });
  SetDataFolder("Data\\");
  CurrentMapSettings = MapSettings{};
  CurrentMap = MapScene();
  SystemDatabase = Database();
  GameInformation = GameInfo();
  RootRunner = RootEventRunner();
  SystemStateHub = SystemState();
  hero_ = MapCharacter();
  hero_.isHero = 1;
  hero = &hero_;
  followers_.fill(MapCharacter());
  followers = &followers_;
  followerCount = 0;
  MapSceneHooks hooks{};
  hooks.hero = [] { return hero; };
  hooks.follower = [](int32_t i) { return i >= 0 && i < followerCount ? &(*followers)[static_cast<size_t>(i)] : nullptr; };
  SetMapSceneHooks(&hooks);
  SetPresentationHooks(nullptr);
}

void PresentationTest::TearDown() {
  ClearGraphicCache();
  SetMapSceneHooks(nullptr);
  SetPresentationHooks(nullptr);
  SetMessageBoxHook(nullptr);
  SetExitProgramHook(nullptr);
  SetErrorScreenHandler(nullptr);
  SetGraphicsRestoreHandler(nullptr);
  CurrentMap = MapScene();
  CurrentMapSettings = MapSettings{};
  SystemDatabase = Database();
  GameInformation = GameInfo();
  RootRunner = RootEventRunner();
  SystemStateHub = SystemState();
  hero = nullptr;
  followers = nullptr;
  GraphicsFixture::TearDown();
}

void PresentationTest::WriteImage(const std::string& name, const PixelImage& image) {
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  dir.Write("Data/" + path, image.ToBmp());
}

void PresentationTest::UseMap(int32_t w, int32_t h) {
  MapScene& map = CurrentMap;
  map.mapId = 1;
  map.mapData = MapData();
  map.mapData.header.width = w;
  map.mapData.header.height = h;
  map.mapData.ResizeLayers(true, 0, 0);
  for (auto& column : map.mapData.layers[0]) std::fill(column.begin(), column.end(), 0);
  map.tileFlags.assign(64, 0);
  map.loadedTileFlags = map.tileFlags;
  map.terrainTags.assign(64, 0);
}

void PresentationTest::SetTile(int32_t layer, int32_t tileX, int32_t tileY, int32_t value) {
  CurrentMap.mapData.layers[static_cast<size_t>(layer)][static_cast<size_t>(tileX)][static_cast<size_t>(tileY)] = value;
}

void PresentationTest::SetFlags(int32_t index, int32_t flags) {
  std::vector<int32_t>& table = CurrentMap.tileFlags;
  if (table.size() <= static_cast<size_t>(index)) table.resize(static_cast<size_t>(index) + 1, 0);
  table[static_cast<size_t>(index)] = flags;
}

void PresentationTest::PlaceOnTile(MapCharacter& character, int32_t tileX, int32_t tileY) {
  character.preciseX = 2 * tileX;
  character.preciseY = 2 * tileY;
  character.quarterX = 2 * CurrentMapSettings.tileUnit * character.preciseX;
  character.quarterY = 2 * CurrentMapSettings.tileUnit * character.preciseY;
}

MapEventState& PresentationTest::AddEvent(int32_t id, int32_t tileX, int32_t tileY, const std::string& sheet) {
  MapEvent source(id);
  CurrentMap.mapData.events.push_back(source);
  CurrentMap.events.emplace_back(CurrentMap, CurrentMap.mapId, source);
  MapEventState& event = CurrentMap.events.back();
  PlaceOnTile(event, tileX, tileY);
  event.passThrough = 0;
  event.graphicFile = sheet;
  // The default page asks for extra image 0: no extra image unless a test asks.
  event.extraBytes.assign(1, 255);
  return event;
}

void PresentationTest::SetSystemType(int32_t type, const std::vector<int32_t>& codes, int32_t records) {
  Database& database = SystemDatabase;
  while (database.GetTypeCount() <= type) {
    const int32_t t = database.GetTypeCount();
    database.typeData.push_back(MakeTypeData({}, 0));
    database.typeDefinitions.push_back(MakeDefinition("type" + std::to_string(t), {}, {}));
  }
  std::vector<std::string> itemNames;
  for (size_t i = 0; i < codes.size(); ++i) itemNames.push_back("item" + std::to_string(i));
  database.typeData[static_cast<size_t>(type)] = MakeTypeData(codes, records);
  database.typeDefinitions[static_cast<size_t>(type)] =
      MakeDefinition("type" + std::to_string(type), itemNames, std::vector<std::string>(static_cast<size_t>(records), "d"));
}
