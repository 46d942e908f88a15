#pragma once
// Tile sets: the images a map is drawn with and, per tile index, a terrain
// tag and a word of tile flags. Index 0 is the empty cell, 1 to 7 the
// autotiles, 8 + t the plain tile t of the tile image.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"

struct TileSet {
  std::string name;
  // 0: the tile image; 1 to 7: the seven autotile images.
  std::array<std::string, 8> imageNames;
  std::vector<uint8_t> terrainTags{0, 1, 2, 3, 4, 5, 6, 7};
  std::vector<int32_t> tileFlags = std::vector<int32_t>(8, 0);

  // Reads one tile-set record whose flag entries are flagEntryBytes (1 or 4)
  // wide. False, with the cursor's overrun flag set, when it is damaged.
  bool Read(ByteCursor& in, int flagEntryBytes);

  // Nine string lengths, separator, tag count, spare byte, flag count.
  static constexpr int64_t kSmallestRecordBytes = 9 * 4 + 1 + 4 + 1 + 4;

  bool operator==(const TileSet&) const = default;
};

struct TileSetList {
  std::vector<TileSet> tileSets{TileSet{}};

  int32_t Count() const { return static_cast<int32_t>(tileSets.size()); }

  // Reads DataFolder() + fileName. False without a message when the file is
  // missing or its version byte unknown; false after a message box when it
  // is damaged (the tile sets read until then stay in the list).
  bool LoadTileSetFile(const std::string& fileName);
  // The same on a file already in memory; path names it in messages.
  bool ReadTileSetFile(ByteCursor& file, const std::string& path);

  bool operator==(const TileSetList&) const = default;
};
