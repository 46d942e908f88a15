// The map scene's part of a save body. A scene read from a save keeps what
// the file holds, tiles included, so that a saved game written back from
// its snapshot loses nothing; entering it into the running game builds the
// map afresh and lays the saved state over it.

#include <algorithm>

#include "engine/map/MapScene.h"

namespace {

// Saves from this version on carry the map size and the tiles; those up to
// kByteFlagsVersion keep one byte per tile flag.
constexpr int32_t kTilesVersion = 105;
constexpr int32_t kByteFlagsVersion = 99;

// A run-time map event that only holds a saved character.
MapEventState BlankEvent() {
  static const MapScene kEmptyScene;
  return MapEventState(kEmptyScene, -1, MapEvent{-1});
}

bool ReadTiles(ByteCursor& in, MapData& map) {
  int32_t w = 0, h = 0;
  if (!in.ReadI32(w) || !in.ReadI32(h)) return false;
  if (w < 0 || h < 0 || w > MapScene::kMaxSide || h > MapScene::kMaxSide) return in.Fail();
  if (!in.CountFits(int64_t{w} * h * 3, 4)) return in.Fail();
  map.header.width = w;
  map.header.height = h;
  for (MapData::TileLayer& layer : map.layers) {
    // The file holds each layer column by column, as the layer keeps it.
    layer.Resize(static_cast<size_t>(w), static_cast<size_t>(h), 0, 0, 0);
    in.ReadI32Array(layer.data(), int64_t{w} * h);
  }
  return !in.Overrun();
}

bool ReadTileFlags(ByteCursor& in, std::vector<int32_t>& flags, int32_t version) {
  if (version > kByteFlagsVersion) return in.ReadI32List(flags);
  std::vector<uint8_t> bytes;
  if (!in.ReadByteList(bytes)) return false;
  flags.assign(bytes.begin(), bytes.end());
  return true;
}

// The saved tiles fit the map as it is now.
bool SameShape(const MapData& saved, const MapData& live) {
  if (saved.header.width != live.header.width || saved.header.height != live.header.height) return false;
  for (size_t l = 0; l < live.layers.size(); ++l) {
    if (saved.layers[l].size() != live.layers[l].size()) return false;
    for (size_t x = 0; x < live.layers[l].size(); ++x) {
      if (saved.layers[l][x].size() != live.layers[l][x].size()) return false;
    }
  }
  return true;
}

}  // namespace

bool MapScene::SaveState(SaveBuffer& out) const {
  out.WriteI32(mapId);
  out.WriteI32(scrollX);
  out.WriteI32(scrollY);
  const int32_t w = Width(), h = Height();
  out.WriteI32(w);
  out.WriteI32(h);
  for (const MapData::TileLayer& columns : mapData.layers) {
    for (int32_t x = 0; x < w; ++x) {
      const bool present = static_cast<size_t>(x) < columns.size();
      for (int32_t y = 0; y < h; ++y) {
        const MapData::TileLayer::ConstColumn column =
            present ? columns[static_cast<size_t>(x)] : MapData::TileLayer::ConstColumn();
        out.WriteI32(static_cast<size_t>(y) < column.size() ? column[static_cast<size_t>(y)] : MapData::kEmptyCell);
      }
    }
  }
  out.WriteString(tileImageName);
  for (const std::string& name : autotileImageNames) out.WriteString(name);
  out.WriteI32(static_cast<int32_t>(tileFlags.size()));
  out.WriteBytes(tileFlags.data(), static_cast<int64_t>(tileFlags.size()) * 4);
  out.WriteI32(static_cast<int32_t>(events.size()));
  for (const MapEventState& event : events) event.SaveCharacter(out);
  out.WriteI32(static_cast<int32_t>(reservedList.size()));
  out.WriteBytes(reservedList.data(), static_cast<int64_t>(reservedList.size()) * 4);
  return !out.Overrun();
}

bool MapScene::LoadState(ByteCursor& in, int32_t version) {
  in.ReadI32(mapId);
  in.ReadI32(scrollX);
  in.ReadI32(scrollY);
  // Without tiles in the record the scene holds none: the map file's stay.
  mapData.header.width = 0;
  mapData.header.height = 0;
  for (MapData::TileLayer& layer : mapData.layers) layer.clear();
  if (version >= kTilesVersion && !ReadTiles(in, mapData)) return false;
  in.ReadTerminatedString(tileImageName, 4);
  for (std::string& name : autotileImageNames) in.ReadTerminatedString(name, 4);
  if (in.Overrun() || !ReadTileFlags(in, tileFlags, version)) return false;
  // A record holds as many events as the file says, the map's own count
  // aside: the reader's list is the record's alone.
  events.clear();
  int32_t count = 0;
  if (!in.ReadCount(count, MapCharacter::MinimumSaveBytes())) return false;
  for (int32_t i = 0; i < count; ++i) {
    events.push_back(BlankEvent());
    if (!events.back().LoadCharacter(in)) return false;
  }
  return in.ReadI32List(reservedList);
}

void MapScene::EnterSavedState(const MapScene& saved) {
  ChangeMap(saved.mapId);
  if (mapId != saved.mapId) return;
  scrollX = saved.scrollX;
  scrollY = saved.scrollY;
  // A map that changed size since the save keeps its own tiles.
  if (SameShape(saved.mapData, mapData)) mapData.layers = saved.mapData.layers;
  tileImageName = saved.tileImageName;
  autotileImageNames = saved.autotileImageNames;
  tileFlags = saved.tileFlags;
  for (size_t i = 0; i < saved.events.size(); ++i) {
    if (i == events.size()) events.push_back(BlankEvent());
    events[i].TakeSavedFields(saved.events[i]);
  }
  reservedList = saved.reservedList;
}
