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
  const int64_t row = y + 1;  // the foot row
  if (!IsInsideMap(x, row)) return false;
  return IsCellPassable(x, row, 0, x, y, d, step) && IsCellPassable(x + 1, row, 1, x, y, d, step);
}

bool MapScene::IsCellPassable(int64_t c, int64_t r, int32_t cellIndex, int64_t x, int64_t y, int32_t d,
                              int32_t step) const {
  const int32_t stepSetting = CurrentMapSettings.stepSetting;
  int32_t layer = 2;
  for (;;) {
    int32_t index = IndexOf(RawTile(c, r, layer));
    while (index == 0 && layer > 0) index = IndexOf(RawTile(c, r, --layer));
    const int32_t flags = FlagsOf(index);

    if (flags & kQuarterMode) {
      if (step == 2 && (flags & kAllEdges)) return false;
      const bool columnOdd = (c & 1) != 0;
      const bool rowOdd = (r & 1) != 0;
      const int32_t quarter = columnOdd ? (rowOdd ? kBottomEdge : kRightEdge) : (rowOdd ? kLeftEdge : kTopEdge);
      if (flags & quarter) return false;
    } else {
      const bool xOdd = (x & 1) != 0;
      // Standing across a tile boundary: the step right leaves the left
      // tile, the step left the right one.
      if (xOdd && ((d == 6 && cellIndex == 0 && (flags & kRightEdge)) ||
                   (d == 4 && cellIndex == 1 && (flags & kLeftEdge)))) {
        return false;
      }
      if (stepSetting == 0) {
        if (!xOdd && cellIndex == 0 && ((d == 6 && (flags & kRightEdge)) || (d == 4 && (flags & kLeftEdge)))) {
          return false;
        }
        // Half-tile steps leave the tile downward from its lower half and
        // upward from its upper half.
        const bool yOdd = (y & 1) != 0;
        if ((d == 2 && !yOdd && (flags & kBottomEdge)) || (d == 8 && yOdd && (flags & kTopEdge))) return false;
      } else if (stepSetting == 1) {
        if ((d == 2 && (flags & kBottomEdge)) || (d == 8 && (flags & kTopEdge)) || (d == 4 && (flags & kLeftEdge)) ||
            (d == 6 && (flags & kRightEdge))) {
          return false;
        }
      }
      if ((flags & kAllEdges) == kAllEdges) return false;
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
