#pragma once
// One map in memory: its header, three tile layers and its events in
// ascending id order.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/map/MapEvent.h"
#include "engine/data/map/TileLayer.h"

struct MapHeader {
  std::string name = "なし";
  int32_t tileSetNumber = 0;
  int32_t width = 20;   // tiles
  int32_t height = 15;  // tiles
  int32_t eventCount = 0;

  // Name, tile-set number, width, height, event count.
  bool Read(ByteCursor& in);

  bool operator==(const MapHeader&) const = default;
};

struct MapData {
  static constexpr int32_t kEmptyCell = 100000;

  // A layer is width columns of height cells in one block: layers[l][x][y].
  using TileLayer = ::TileLayer;

  MapHeader header;
  std::array<TileLayer, 3> layers;
  std::vector<MapEvent> events;

  // Default header and three 20 x 15 layers of empty cells, no events.
  MapData();

  // Resizes the layers to the header's size, every cell empty.
  void Clear();
  // Makes the layers header width x height; a cell becomes empty when fillAll
  // is set or it lies outside oldWidth x oldHeight, else keeps its value.
  void ResizeLayers(bool fillAll, int32_t oldWidth, int32_t oldHeight);
  // Index of the first event with this id, -1 when there is none.
  int32_t FindEventIndex(int32_t id) const;

  // Replaces the map with the map file DataFolder() + fileName. False, after
  // a message box, when the file is missing or is not an intact map file; the
  // map is then left empty (default header, no layers, no events).
  bool LoadMapData(const std::string& fileName);
  // The same on a file already in memory: fileName as the game gave it, path
  // the file it was read from.
  bool ReadMapFile(ByteCursor& file, const std::string& fileName, const std::string& path);

  bool operator==(const MapData&) const = default;
};

