#include "engine/map/MapScene.h"
#include "engine/map/SceneMapHooks.h"

#include <algorithm>
#include <cstdio>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/services/ErrorScreen.h"
#include "engine/sound/SoundManager.h"

MapScene CurrentMap;

namespace {

// Map-list items of the system database.
constexpr int32_t kMapListType = 0;
constexpr int32_t kMapFileItem = 0;
constexpr int32_t kMusicItem = 1;
constexpr int32_t kSoundItem = 2;
constexpr int32_t kLoopItem = 3;
constexpr int32_t kPanoramaItem = 4;
constexpr int32_t kMusicFileItem = 5;
constexpr int32_t kSoundFileItem = 6;
constexpr int32_t kPanoramaFileItem = 7;
constexpr int32_t kByFileName = -3;

// Every "mod W" of the map divides by its sides, and every tile lookup trusts
// the layers to have them.
bool HasUsableSize(const MapData& map) {
  const int32_t w = map.header.width;
  const int32_t h = map.header.height;
  if (w <= 0 || h <= 0 || w > MapScene::kMaxSide || h > MapScene::kMaxSide) return false;
  for (const MapData::TileLayer& layer : map.layers) {
    if (layer.size() != static_cast<size_t>(w)) return false;
    if (layer.Height() != static_cast<size_t>(h)) return false;
  }
  return true;
}

std::string Format(const char* format, int32_t a, int32_t b, int32_t c = 0) {
  char line[256];
  std::snprintf(line, sizeof line, format, a, b, c);
  return line;
}

void StartMapSound(int32_t mapId, int32_t kind, int32_t entryItem, int32_t fileItem) {
  const int32_t entry = SystemDatabase.GetInt(kMapListType, mapId, entryItem);
  if (entry == kByFileName && SystemDatabase.GetItemCount(kMapListType) > fileItem) {
    const std::string name = SystemDatabase.GetString(kMapListType, mapId, fileItem);
    const int32_t prepared = GameSounds.PlayFile(name, kind, 5, 0, 100, 100);
    if (prepared != SoundManager::kAdjusted) GameSounds.Play(kind, prepared, 5, 0);
  } else if (entry >= -1) {
    GameSounds.Play(kind, entry, 5, 0);
  }
}

}  // namespace

void MapScene::Reset() {
  // From its first reset on, the scene answers the interpreter's map
  // questions.
  InstallSceneMapHooks();
  mapId = -1;
  scrollX = 0;
  scrollY = 0;
  zoom = MapZoom{};
  pageRefresh = 0;
  frameCounter = 0;
  shake = ScreenShake{};
  events.clear();
  commonEventRunners.clear();
  CurrentMapSceneHooks().resetCommonEventRunners();
  reservedList.clear();
  TileDataChanged();
  tileSetList = TileSetList{};
  tileSetList.LoadTileSetFile(kTileSetFileName);
}

void MapScene::ChangeMap(int32_t id) {
  const MapSceneHooks& hooks = CurrentMapSceneHooks();
  const std::string fileName = SystemDatabase.GetString(kMapListType, id, kMapFileItem);
  MapData loaded;
  if (!loaded.LoadMapData(fileName)) {
    hooks.endGame();
    return;
  }
  if (!HasUsableSize(loaded)) {
    ShowErrorScreen("エラー：マップデータ " + fileName + " の大きさが不正です",
                    Format("幅%d 高さ%d (Map%d)", loaded.header.width, loaded.header.height, id), "");
    hooks.endGame();
    return;
  }

  mapId = id;
  mapData = std::move(loaded);

  const int32_t number = mapData.header.tileSetNumber;
  if (number >= 0 && number < tileSetList.Count()) {
    tileSet = tileSetList.tileSets[static_cast<size_t>(number)];
  } else {
    ShowErrorScreen(Format("エラー：タイルセット番号[%d]は存在しません(Map%d)", number, id),
                    Format("タイルセットの数は%dです", tileSetList.Count(), 0), "");
    tileSet = TileSet{};
  }
  AdoptTileSetTables();

  scrollX = 0;
  scrollY = 0;
  pageRefresh = 0;
  loopX = 0;
  loopY = 0;
  events.clear();
  events.reserve(mapData.events.size());
  for (const MapEvent& event : mapData.events) events.emplace_back(*this, id, event);

  commonEventRunners.clear();
  hooks.resetCommonEventRunners();
  if (const CommonEventList* list = hooks.commonEvents()) {
    for (const CommonEvent& event : list->events) {
      const int kind = event.trigger & 0xF;
      if (kind == 2 || kind == 3) commonEventRunners.push_back(event.number);
    }
  }
  // A new runner looks at its condition once.
  for (const int32_t number : commonEventRunners) hooks.refreshCommonEventRunner(number);

  scrollRequest = ScrollRequest{};

  const int32_t items = SystemDatabase.GetItemCount(kMapListType);
  if (items > kPanoramaItem) {
    const int32_t panorama = SystemDatabase.GetInt(kMapListType, id, kPanoramaItem);
    if (panorama >= -1) {
      hooks.setPanoramaNumber(panorama);
    } else if (panorama == kByFileName && items > kPanoramaFileItem) {
      const std::string name = SystemDatabase.GetString(kMapListType, id, kPanoramaFileItem);
      hooks.setPanoramaName(name);
      hooks.setPanoramaByName(true);
      if (name.size() <= 1) {
        hooks.setPanoramaByName(false);
        hooks.setPanoramaNumber(-1);
      }
    }
  }

  const int32_t loops = SystemDatabase.GetInt(kMapListType, id, kLoopItem);
  loopX = loops == 1 || loops == 3;
  loopY = loops == 2 || loops == 3;
}

void MapScene::StartMapSounds() const {
  StartMapSound(mapId, 0, kMusicItem, kMusicFileItem);
  StartMapSound(mapId, 1, kSoundItem, kSoundFileItem);
}

void MapScene::RefreshPages() {
  if (HasMap()) {
    for (MapEventState& event : events) event.SelectActivePage();
    const MapSceneHooks& hooks = CurrentMapSceneHooks();
    for (const int32_t number : commonEventRunners) hooks.refreshCommonEventRunner(number);
  }
  pageRefresh = 0;
}

void MapScene::Update() {
  if (pageRefresh) RefreshPages();
  UpdateScrollRequest();
  UpdateShake();
  UpdateZoom();
  // By index: an event's update may reach the scene.
  for (size_t i = 0; i < events.size(); ++i) events[i].Update();
  const MapSceneHooks& hooks = CurrentMapSceneHooks();
  for (size_t i = 0; i < commonEventRunners.size(); ++i) hooks.runCommonEventRunner(commonEventRunners[i]);
  frameCounter = static_cast<int32_t>((int64_t{frameCounter} + 1) % kFrameCounterPeriod);
}

MapEventState* MapScene::FindEvent(int32_t eventId) {
  // Events stand in ascending id order, the first of equal ids first: a
  // binary search finds it; a list put together out of order is searched
  // in full.
  size_t low = 0;
  size_t high = events.size();
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    if (events[mid].id < eventId) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low < events.size() && events[low].id == eventId && (low == 0 || events[low - 1].id < eventId)) {
    return &events[low];
  }
  for (MapEventState& event : events) {
    if (event.id == eventId) return &event;
  }
  return nullptr;
}

const MapEventState* MapScene::FindEvent(int32_t eventId) const {
  return const_cast<MapScene*>(this)->FindEvent(eventId);
}

MapCharacter* FindCharacter(int32_t id) {
  if (id >= 0) return CurrentMap.FindEvent(id);
  const MapSceneHooks& hooks = CurrentMapSceneHooks();
  if (id == MapCharacter::kHeroId) return hooks.hero();
  if (id <= MapCharacter::kFirstFollowerId) return hooks.follower(MapCharacter::kFirstFollowerId - id);
  return nullptr;
}
