// The map scene's tile queries: tiles, bounds, passability, bush, counter
// and terrain tags. Positions are precise units; a cell is column x / 2, row
// y / 2 of the tile layers.

#include <algorithm>
#include <array>

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

// ClosingEdges for both foot cells (cell 0 in the low nibble), by step
// setting (0, 1, any other), direction 0 to 10, x parity and y parity.
constexpr int ClosingIndex(int stepSetting, int d, bool xOdd, bool yOdd) {
  return ((stepSetting * 11 + d) * 2 + xOdd) * 2 + yOdd;
}
constexpr std::array<uint8_t, 3 * 11 * 4> kClosingEdges = [] {
  std::array<uint8_t, 3 * 11 * 4> table{};
  for (int s = 0; s < 3; ++s) {
    for (int d = 0; d <= 10; ++d) {
      for (int xOdd = 0; xOdd < 2; ++xOdd) {
        for (int yOdd = 0; yOdd < 2; ++yOdd) {
          table[static_cast<size_t>(ClosingIndex(s, d, xOdd, yOdd))] =
              static_cast<uint8_t>(ClosingEdges(s, d, xOdd, yOdd, 0) | ClosingEdges(s, d, xOdd, yOdd, 1) << 4);
        }
      }
    }
  }
  return table;
}();

// The quarter of its tile that a foot cell is, as the bit that blocks it in
// quarter mode.
constexpr int32_t QuarterBit(bool columnOdd, bool rowOdd) {
  return columnOdd ? (rowOdd ? MapScene::kBottomEdge : MapScene::kRightEdge)
                   : (rowOdd ? MapScene::kLeftEdge : MapScene::kTopEdge);
}

}  // namespace

bool MapScene::IsPassable(int64_t x, int64_t y, int32_t d, int32_t step) const {
  const int64_t r = y + 1;  // the foot row
  if (!IsInsideMap(x, r)) return false;
  const int64_t w2 = 2 * int64_t{Width()};
  const size_t row = static_cast<size_t>(WrapCoordinate(r, 2 * int64_t{Height()}) / 2);
  const int64_t left = WrapCoordinate(x, w2);
  const int64_t right = left + 1 == w2 ? 0 : left + 1;
  const bool xOdd = (x & 1) != 0;
  const bool rowOdd = (r & 1) != 0;

  // A character aligned to a tile has both feet on it: one read of its
  // layers serves both cells.
  TileStack first;
  TileStack second;
  ReadTileStack(static_cast<size_t>(left / 2), row, first);
  if (right / 2 == left / 2) {
    second = first;
  } else {
    ReadTileStack(static_cast<size_t>(right / 2), row, second);
  }

  const int32_t stepSetting = CurrentMapSettings.stepSetting;
  const int setting = stepSetting == 0 || stepSetting == 1 ? stepSetting : 2;
  const int direction = d >= 0 && d <= 10 ? d : 0;
  const int32_t closing = kClosingEdges[static_cast<size_t>(ClosingIndex(setting, direction, xOdd, (y & 1) != 0))];
  return IsCellPassable(first, closing & 0xF, QuarterBit(xOdd, rowOdd), step) &&
         IsCellPassable(second, closing >> 4, QuarterBit(!xOdd, rowOdd), step);
}

void MapScene::ReadTileStack(size_t column, size_t row, TileStack& stack) const {
  // The layers match the header whenever a map is loaded; a record put
  // together by hand reads empty cells past its end.
  for (size_t layer = 0; layer < 3; ++layer) {
    const MapData::TileLayer& cells = mapData.layers[layer];
    stack[layer] = column < cells.size() && row < cells[column].size() ? IndexOf(cells[column][row]) : 0;
  }
}

bool MapScene::IsCellPassable(const TileStack& stack, int32_t closing, int32_t quarter, int32_t step) const {
  size_t layer = 2;
  for (;;) {
    while (stack[layer] == 0 && layer > 0) --layer;
    const int32_t flags = FlagsOf(stack[layer]);
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
