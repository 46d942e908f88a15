// Changes to the map's tiles at run time: tile flags, the tile set, and
// tiles written into a layer with the autotiles around them reshaped.

#include <algorithm>
#include <array>

#include "engine/map/MapScene.h"
#include "engine/map/TileValue.h"

namespace {

// The plain tiles follow the empty cell and the seven autotiles in the
// tile set.
constexpr int32_t kFirstPlainTile = 8;
// A written autotile before reshaping: every quarter of the cell joined.
constexpr int32_t kJoinedShape = 4444;

// One quarter of an autotile cell, by which of its neighbours are of its
// kind: the vertical and horizontal ones beside the quarter and the one on
// its diagonal.
int32_t CornerCode(bool vertical, bool horizontal, bool diagonal) {
  if (vertical && horizontal) return diagonal ? 4 : 3;
  if (vertical) return 1;
  return horizontal ? 2 : 0;
}

// The shape of an autotile cell from its 3 x 3 neighbourhood (n[4] the cell,
// n[0] top left, n[8] bottom right): top left, top right, bottom left and
// bottom right quarters as four decimal digits.
int32_t NeighbourShape(const std::array<bool, 9>& n) {
  return CornerCode(n[1], n[3], n[0]) * 1000 + CornerCode(n[1], n[5], n[2]) * 100 + CornerCode(n[7], n[3], n[6]) * 10 +
         CornerCode(n[7], n[5], n[8]);
}

}  // namespace

bool MapScene::SetTileFlag(int32_t index, int32_t flags) {
  if (index < 0 || static_cast<size_t>(index) >= tileFlags.size()) return false;
  tileFlags[static_cast<size_t>(index)] = flags;
  TileDataChanged();
  return true;
}

void MapScene::RestoreTileFlags() {
  tileFlags = loadedTileFlags;
  TileDataChanged();
}

bool MapScene::ChangeTileSet(int32_t number) {
  if (number < 0 || number >= tileSetList.Count()) return false;
  tileSet = tileSetList.tileSets[static_cast<size_t>(number)];
  AdoptTileSetTables();
  return true;
}

void MapScene::AdoptTileSetTables() {
  tileImageName = tileSet.imageNames[0];
  for (size_t i = 0; i < autotileImageNames.size(); ++i) autotileImageNames[i] = tileSet.imageNames[i + 1];
  tileFlags = tileSet.tileFlags;
  loadedTileFlags = tileSet.tileFlags;
  terrainTags = tileSet.terrainTags;
  TileDataChanged();
}

void MapScene::RewriteTiles(int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h, int32_t tile) {
  const int64_t width = Width();
  const int64_t height = Height();
  if (!HasMap() || layer < 0 || layer > 2 || tile < 0 || static_cast<size_t>(tile) >= tileFlags.size()) return;
  if (x < 0 || x >= width || y < 0 || y >= height) return;
  MapData::TileLayer& cells = mapData.layers[static_cast<size_t>(layer)];
  // A record put together by hand may hold fewer cells than its header says.
  const auto cell = [&cells](int64_t i, int64_t j) -> int32_t* {
    const auto column = static_cast<size_t>(i);
    const auto row = static_cast<size_t>(j);
    return column < cells.size() && row < cells[column].size() ? &cells[column][row] : nullptr;
  };

  const int64_t right = x + std::min<int64_t>(w, width - x);  // one past the rectangle
  const int64_t bottom = y + std::min<int64_t>(h, height - y);
  const int32_t value = tile < kFirstPlainTile ? (tile + 1) * kAutotileBase + kJoinedShape : tile - kFirstPlainTile;
  for (int64_t i = x; i < right; ++i) {
    for (int64_t j = y; j < bottom; ++j) {
      if (int32_t* c = cell(i, j)) *c = value;
      passability_.Refresh(mapData, tileFlags, static_cast<size_t>(i), static_cast<size_t>(j));
    }
  }

  // The autotiles on the rectangle's rim and one cell around it take the
  // shape their neighbours give them; outside the map counts as their kind.
  const auto ofKind = [&](int64_t i, int64_t j, int32_t kind) {
    if (i < 0 || i >= width || j < 0 || j >= height) return true;
    const int32_t* c = cell(i, j);
    return c && int64_t{*c} >= int64_t{kind} * kAutotileBase && int64_t{*c} < (int64_t{kind} + 1) * kAutotileBase;
  };
  for (int64_t i = std::max<int64_t>(x - 1, 0); i < std::min(width, right + 1); ++i) {
    for (int64_t j = std::max<int64_t>(y - 1, 0); j < std::min(height, bottom + 1); ++j) {
      if (x < i && i < right - 1 && y < j && j < bottom - 1) continue;
      int32_t* c = cell(i, j);
      if (!c) continue;
      const int32_t kind = *c / kAutotileBase;
      if (kind < 2) continue;  // plain tiles and the empty cell keep their values
      std::array<bool, 9> n{};
      for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) n[static_cast<size_t>((oy + 1) * 3 + ox + 1)] = ofKind(i + ox, j + oy, kind);
      }
      *c = kind * kAutotileBase + NeighbourShape(n);
    }
  }
}
