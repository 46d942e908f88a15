#pragma once
// A fresh current map for each test: the game's Data folder in a temporary
// directory, default map settings, the error screen and message boxes
// recorded, and a hero of the test's own that the scene finds through its
// hooks. UseMap builds a loaded map in memory; WriteMap and WriteMapList put
// real files and map-list entries in place for ChangeMap.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/map/MapData.h"
#include "engine/data/TileSet.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "tests/support/TestDirectory.h"

struct ThrownExit {
  int code;
};

class MapTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A loaded map (id 1) of w x h tiles, every cell plain tile 0 (flag index
  // 8) on layer 0 and empty above; flags[i] are the flags of index i.
  void UseMap(int32_t w, int32_t h, std::vector<int32_t> flags = {});
  static void SetTile(int32_t layer, int32_t tileX, int32_t tileY, int32_t value);
  // Flags of plain tile v (index v + 8).
  static void SetPlainTileFlags(int32_t v, int32_t flags);
  // A map event standing on precise (x, y) that blocks (graphic, no pass).
  static MapEventState& AddEvent(int32_t id, int32_t x, int32_t y);

  // Files and map-list entries for ChangeMap.
  void WriteTileSets(const std::vector<TileSet>& tileSets);
  void WriteMap(const std::string& fileName, const MapData& map);
  static MapData PlainMap(int32_t w, int32_t h, int32_t tileSetNumber = 0);
  // Map-list record per entry: file name, music, sound, loop, panorama,
  // music file, sound file, panorama file.
  struct MapListEntry {
    std::string file;
    int32_t music = -2;
    int32_t sound = -2;
    int32_t loop = 0;
    int32_t panorama = -2;
    std::string musicFile = {};
    std::string soundFile = {};
    std::string panoramaFile = {};
  };
  static void WriteMapList(const std::vector<MapListEntry>& entries, int32_t itemCount = 8);

  TestDirectory dir_;
  MapCharacter hero_;
  static MapCharacter* hero;
  static std::vector<std::string> errorLines;  // three per screen
  static std::vector<std::string> messageBoxes;
  static int endGameCalls;
  static std::vector<int32_t> heroSteps;
};
