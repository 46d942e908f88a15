#pragma once
// What passability needs of each tile, worked out once from its three layers
// and the tile flags: the edges that close it in the normal mode, the
// quarters it blocks in quarter mode, and whether one of its layers is
// closed on every side. A cell then passes when its summary shares no bit
// with the mask of the step being tested.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/data/map/MapData.h"

class PassabilityCache {
 public:
  // Summary bits: normal-mode edges in bits 0-3, quarter-mode edges in bits
  // 4-7, a layer closed on every side.
  static constexpr uint16_t kQuarterShift = 4;
  static constexpr uint16_t kSolid = 0x100;

  // Current, and built for a map of this size (a stale cache is never read
  // past its end).
  bool IsCurrent(int32_t width, int32_t height) const {
    return current_ && static_cast<size_t>(width) == width_ && static_cast<size_t>(height) == height_;
  }
  void Invalidate() { current_ = false; }
  // Works out every tile of the map.
  void Rebuild(const MapData& map, const std::vector<int32_t>& flags);
  // Works out one tile again after its layers changed (nothing while the
  // cache is out of date: the next rebuild sees it).
  void Refresh(const MapData& map, const std::vector<int32_t>& flags, size_t column, size_t row);
  // Tile (column, row) of a current cache.
  uint16_t At(size_t column, size_t row) const { return cells_[row * width_ + column]; }

  // The tile-flag indexes of a tile on layers 0, 1 and 2 (0 past a layer).
  using TileStack = std::array<int32_t, 3>;
  static TileStack ReadStack(const MapData& map, size_t column, size_t row);
  static uint16_t Summarise(const TileStack& stack, const std::vector<int32_t>& flags);

  // Derived data: scenes with the same tiles and flags are equal whatever
  // their caches hold.
  bool operator==(const PassabilityCache&) const { return true; }

 private:
  std::vector<uint16_t> cells_;  // by row, then column
  size_t width_ = 0;
  size_t height_ = 0;
  bool current_ = false;
};
