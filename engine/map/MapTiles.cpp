// The map scene's tile queries: tiles, bounds, passability, bush, counter
// and terrain tags. Positions are precise units; a cell is column x / 2, row
// y / 2 of the tile layers.

#include <algorithm>

#include "engine/map/MapScene.h"
#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"

namespace {

constexpr int32_t kAutotileBase = 100000;

int32_t IndexOf(int32_t value) { return value < kAutotileBase ? value + 8 : value / kAutotileBase - 1; }

}  // namespace

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
  return {IndexOf(value), value < kAutotileBase ? 0 : value % kAutotileBase};
}

bool MapScene::IsInsideMap(int64_t x, int64_t y) const {
  if (!HasMap()) return false;
  if (!loopX && (x < 0 || x >= 2 * int64_t{Width()} - 1)) return false;
  if (!loopY && (y < 0 || y >= 2 * int64_t{Height()})) return false;
  return true;
}

bool MapScene::IsPassable(int64_t x, int64_t y, int32_t d, int32_t step) const {
  const int64_t r = y + 1;  // the foot row
  if (!IsInsideMap(x, r)) return false;
  const int64_t w2 = 2 * int64_t{Width()};
  const int64_t h2 = 2 * int64_t{Height()};
  const int64_t row = WrapCoordinate(r, h2);
  const FootCell first{static_cast<size_t>(WrapCoordinate(x, w2) / 2), static_cast<size_t>(row / 2),
                       (x & 1) != 0, (r & 1) != 0, 0};
  const FootCell second{static_cast<size_t>(WrapCoordinate(x + 1, w2) / 2), first.row, !first.columnOdd,
                        first.rowOdd, 1};
  const bool xOdd = (x & 1) != 0;
  const bool yOdd = (y & 1) != 0;
  return IsCellPassable(first, xOdd, yOdd, d, step) && IsCellPassable(second, xOdd, yOdd, d, step);
}

int32_t MapScene::TileIndexAt(size_t column, size_t row, int32_t layer) const {
  // The layers match the header whenever a map is loaded; a record put
  // together by hand reads empty cells past its end.
  const MapData::TileLayer& cells = mapData.layers[static_cast<size_t>(layer)];
  if (column >= cells.size() || row >= cells[column].size()) return 0;
  return IndexOf(cells[column][row]);
}

namespace {

// The edge bits that close a normal-mode tile under foot cell cellIndex for a
// character at an x and y of this parity stepping toward d.
int32_t ClosingEdges(int32_t stepSetting, int32_t d, bool xOdd, bool yOdd, int32_t cellIndex) {
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

}  // namespace

bool MapScene::IsCellPassable(const FootCell& cell, bool xOdd, bool yOdd, int32_t d, int32_t step) const {
  const int32_t closing = ClosingEdges(CurrentMapSettings.stepSetting, d, xOdd, yOdd, cell.index);
  const int32_t quarter =
      cell.columnOdd ? (cell.rowOdd ? kBottomEdge : kRightEdge) : (cell.rowOdd ? kLeftEdge : kTopEdge);
  // The three layers' tiles are read at once: the reads do not wait for
  // each other.
  const int32_t indexes[3] = {TileIndexAt(cell.column, cell.row, 0), TileIndexAt(cell.column, cell.row, 1),
                              TileIndexAt(cell.column, cell.row, 2)};
  int32_t layer = 2;
  for (;;) {
    while (indexes[layer] == 0 && layer > 0) --layer;
    const int32_t flags = FlagsOf(indexes[layer]);

    if (flags & kQuarterMode) {
      if (step == 2 && (flags & kAllEdges)) return false;
      if (flags & quarter) return false;
    } else if ((flags & closing) || (flags & kAllEdges) == kAllEdges) {
      return false;
    }

    if (!(flags & (kTestBelow | kAlsoTestBelow)) || layer == 0) return true;
    --layer;
  }
}

bool MapScene::HasBushFlag(int32_t x, int32_t y) const {
  if (!HasMap()) return false;
  const int64_t row = int64_t{y} + 1;
  for (int32_t layer = 2; layer >= 0; --layer) {
    if ((FlagsOf(IndexOf(RawTile(x, row, layer))) & kBush) &&
        (FlagsOf(IndexOf(RawTile(int64_t{x} + 1, row, layer))) & kBush)) {
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
        if (FlagsOf(IndexOf(RawTile(x + dx, y + dy, layer))) & kCounter) return true;
      }
    }
  }
  return false;
}

int32_t MapScene::GetTerrainTag(int32_t x, int32_t y) const {
  if (!HasMap()) return 0;
  const auto tagOf = [this](int64_t cx, int64_t cy, int32_t layer) -> int32_t {
    const int32_t index = IndexOf(RawTile(cx, cy, layer));
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
