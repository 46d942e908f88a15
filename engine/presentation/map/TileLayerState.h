#pragma once
// The map's three tile layers as they are drawn: the images of the tile set
// and its autotiles in the graphic cache, each tile's draw level, and the
// scroll of this frame. A tile of level 0 is drawn before the characters
// (pass 0), level 1 row by row between them (pass 1), level 2 after them
// (pass 2). The tiles themselves are read from the current map scene at
// each draw.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TileLayerState {
 public:
  static constexpr int32_t kAutotiles = 7;

  std::string tileSetName;
  std::array<std::string, kAutotiles> autotileNames;
  int32_t tileSetIndex = -1;
  std::array<int32_t, kAutotiles> autotileIndexes{-1, -1, -1, -1, -1, -1, -1};
  // Animation frames side by side in each autotile image (its width / t).
  std::array<int32_t, kAutotiles> autotileFrames{};
  // One per tile-flag entry: 1 for flag 0x100, else 2 for flag 0x10, else 0.
  std::vector<uint8_t> drawLevels;
  std::array<uint8_t, kAutotiles> autotilePresent{};
  int32_t animationFrame = 0;
  // The map's scroll in pixels, set by the frame before drawing; pass 0
  // takes the screen shake off it for the rest of the frame.
  int32_t scrollX = 0;
  int32_t scrollY = 0;

  // Draw levels from the current map's tile flags.
  TileLayerState();

  void RefreshTileLevels();
  // pass 0 or 2 draws the 17 rows on the screen; pass 1 the one map row.
  void Draw(int32_t pass, int32_t row);

  bool operator==(const TileLayerState&) const = default;

 private:
  // Loads the images when the tile-set image or one of the first four
  // autotile names of the map differs from those loaded.
  void CheckImages();
};
