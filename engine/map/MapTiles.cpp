// The map scene's tile queries: tiles, bounds, passability, bush, counter
// and terrain tags. Positions are precise units; a cell is column x / 2, row
// y / 2 of the tile layers.

#include <algorithm>
#include <array>

#include "engine/map/MapScene.h"
#include "engine/map/MapSettings.h"
#include "engine/map/TileValue.h"
#include "engine/map/WrapCoordinate.h"

int32_t MapScene::RawTile(int64_t x, int64_t y, int32_t layer) const {
  const int64_t w = Width();
  const int64_t h = Height();
  if (!HasMap() || w <= 0 || h <= 0 || static_cast<uint32_t>(layer) > 2) return kAutotileBase;
  const size_t column = static_cast<size_t>(WrapCoordinate(x, 2 * w) / 2);
  const size_t row = static_cast<size_t>(WrapCoordinate(y, 2 * h) / 2);
  // The layers match the header whenever a map is loaded; a record put
  // together by hand reads empty cells past its end.
  const MapData::TileLayer& cells = mapData.layers[static_cast<size_t>(layer)];
  if (column >= cells.size() || row >= cells[column].size()) return kAutotileBase;
  return cells[column][row];
}

MapTile MapScene::TileAt(int32_t x, int32_t y, int32_t layer) const {
  const int32_t value = RawTile(x, y, layer);
  return {TileFlagIndex(value), value < kAutotileBase ? 0 : value % kAutotileBase};
}

namespace {

// The edge bits that close a normal-mode tile under foot cell cellIndex for a
// character at an x and y of this parity stepping toward d.
constexpr int32_t ClosingEdges(int32_t stepSetting, int32_t d, bool xOdd, bool yOdd, int32_t cellIndex) {
  int32_t edges = 0;
  // Standing across a tile boundary: the step right leaves the left tile,
  // the step left the right one.
  if (xOdd && d == 6 && cellIndex == 0) edges |= MapScene::kRightEdge;
  if (xOdd && d == 4 && cellIndex == 1) edges |= MapScene::kLeftEdge;
  if (stepSetting == 0) {
    if (!xOdd && cellIndex == 0 && d == 6) edges |= MapScene::kRightEdge;
    if (!xOdd && cellIndex == 0 && d == 4) edges |= MapScene::kLeftEdge;
    // Half-tile steps leave the tile downward from its lower half and
    // upward from its upper half.
    if (d == 2 && !yOdd) edges |= MapScene::kBottomEdge;
    if (d == 8 && yOdd) edges |= MapScene::kTopEdge;
  } else if (stepSetting == 1) {
    if (d == 2) edges |= MapScene::kBottomEdge;
    if (d == 8) edges |= MapScene::kTopEdge;
    if (d == 4) edges |= MapScene::kLeftEdge;
    if (d == 6) edges |= MapScene::kRightEdge;
  }
  return edges;
}

// The quarter of its tile that a foot cell is, as the bit that blocks it in
// quarter mode.
constexpr int32_t QuarterBit(bool columnOdd, bool rowOdd) {
  return columnOdd ? (rowOdd ? MapScene::kBottomEdge : MapScene::kRightEdge)
                   : (rowOdd ? MapScene::kLeftEdge : MapScene::kTopEdge);
}

// The summary bits of the cache that stop a character at an x and y of this
// parity stepping toward d: for foot cell 0 in the low half, cell 1 in the
// high half. By step setting (0, 1, any other), direction 0 to 10, x parity
// and y parity; the foot row's parity is the other of y's.
constexpr int MaskIndex(int stepSetting, int d, bool xOdd, bool yOdd) {
  return ((stepSetting * 11 + d) * 2 + xOdd) * 2 + yOdd;
}
constexpr uint32_t CellMask(int stepSetting, int d, bool xOdd, bool yOdd, int cellIndex) {
  const bool columnOdd = xOdd != (cellIndex == 1);
  return PassabilityCache::kSolid | static_cast<uint32_t>(ClosingEdges(stepSetting, d, xOdd, yOdd, cellIndex)) |
         static_cast<uint32_t>(QuarterBit(columnOdd, !yOdd)) << PassabilityCache::kQuarterShift;
}
constexpr std::array<uint32_t, 3 * 11 * 4> kCellMasks = [] {
  std::array<uint32_t, 3 * 11 * 4> table{};
  for (int s = 0; s < 3; ++s) {
    for (int d = 0; d <= 10; ++d) {
      for (int xOdd = 0; xOdd < 2; ++xOdd) {
        for (int yOdd = 0; yOdd < 2; ++yOdd) {
          table[static_cast<size_t>(MaskIndex(s, d, xOdd, yOdd))] =
              CellMask(s, d, xOdd, yOdd, 0) | CellMask(s, d, xOdd, yOdd, 1) << 16;
        }
      }
    }
  }
  return table;
}();
// Whole-tile steps cannot cross a quarter-mode tile with any quarter blocked.
constexpr uint32_t kAnyQuarter = 0xFu << PassabilityCache::kQuarterShift;

}  // namespace

bool MapScene::IsPassable(int64_t x, int64_t y, int32_t d, int32_t step) const {
  const int64_t r = y + 1;  // the foot row
  if (!IsInsideMap(x, r)) return false;
  if (!passability_.IsCurrent(Width(), Height())) passability_.Rebuild(mapData, tileFlags);
  const int64_t w2 = 2 * int64_t{Width()};
  // Wrapped coordinates are never negative: halve them by a shift.
  const size_t row = static_cast<size_t>(WrapCoordinate(r, 2 * int64_t{Height()})) >> 1;
  const int64_t left = WrapCoordinate(x, w2);
  const int64_t right = left + 1 == w2 ? 0 : left + 1;

  const int32_t stepSetting = CurrentMapSettings.stepSetting;
  const int setting = stepSetting == 0 || stepSetting == 1 ? stepSetting : 2;
  const int direction = d >= 0 && d <= 10 ? d : 0;
  uint32_t masks = kCellMasks[static_cast<size_t>(MaskIndex(setting, direction, (x & 1) != 0, (y & 1) != 0))];
  if (step == 2) masks |= kAnyQuarter | kAnyQuarter << 16;
  // Both cells read without a branch: the answer is hard to predict.
  return !((passability_.At(static_cast<size_t>(left) >> 1, row) & masks) |
           (passability_.At(static_cast<size_t>(right) >> 1, row) & (masks >> 16)));
}

bool MapScene::HasBushFlag(int32_t x, int32_t y) const {
  if (!HasMap()) return false;
  const int64_t row = int64_t{y} + 1;
  for (int32_t layer = 2; layer >= 0; --layer) {
    if ((FlagsOf(TileFlagIndex(RawTile(x, row, layer))) & kBush) &&
        (FlagsOf(TileFlagIndex(RawTile(int64_t{x} + 1, row, layer))) & kBush)) {
      return true;
    }
  }
  return false;
}

bool MapScene::HasCounterFlag(int32_t x, int32_t y) const {
  if (!HasMap()) return false;
  for (int32_t layer = 2; layer >= 0; --layer) {
    for (int64_t dy = 0; dy <= 1; ++dy) {
      for (int64_t dx = -1; dx <= 1; ++dx) {
        if (FlagsOf(TileFlagIndex(RawTile(x + dx, y + dy, layer))) & kCounter) return true;
      }
    }
  }
  return false;
}

int32_t MapScene::GetTerrainTag(int32_t x, int32_t y) const {
  if (!HasMap()) return 0;
  const auto tagOf = [this](int64_t cx, int64_t cy, int32_t layer) -> int32_t {
    const int32_t index = TileFlagIndex(RawTile(cx, cy, layer));
    return static_cast<uint32_t>(index) < terrainTags.size() ? terrainTags[static_cast<size_t>(index)] : 0;
  };
  const int64_t row = int64_t{y} + 1;
  for (int32_t layer = 2; layer >= 0; --layer) {
    const int32_t left = tagOf(x, row, layer);
    const int32_t right = tagOf(int64_t{x} + 1, row, layer);
    if (left != 0 || right != 0) return std::max(left, right);
  }
  return 0;
}
