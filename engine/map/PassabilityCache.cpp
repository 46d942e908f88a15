#include "engine/map/PassabilityCache.h"

#include "engine/map/MapScene.h"
#include "engine/map/TileValue.h"

PassabilityCache::TileStack PassabilityCache::ReadStack(const MapData& map, size_t column, size_t row) {
  // The layers match the header whenever a map is loaded; a record put
  // together by hand reads empty cells past its end.
  TileStack stack;
  for (size_t layer = 0; layer < 3; ++layer) {
    const MapData::TileLayer& cells = map.layers[layer];
    stack[layer] = column < cells.size() && row < cells[column].size() ? TileFlagIndex(cells[column][row]) : 0;
  }
  return stack;
}

uint16_t PassabilityCache::Summarise(const TileStack& stack, const std::vector<int32_t>& flags) {
  const auto flagsOf = [&flags](int32_t index) {
    return static_cast<uint32_t>(index) < flags.size() ? flags[static_cast<size_t>(index)] : 0;
  };
  // From the top layer down: empty cells fall through, and a tile that asks
  // for the layer below lets that one decide too.
  uint16_t summary = 0;
  size_t layer = 2;
  for (;;) {
    while (stack[layer] == 0 && layer > 0) --layer;
    const int32_t f = flagsOf(stack[layer]);
    const auto edges = static_cast<uint16_t>(f & MapScene::kAllEdges);
    if (f & MapScene::kQuarterMode) {
      summary |= static_cast<uint16_t>(edges << kQuarterShift);
    } else {
      summary |= edges;
      if (edges == MapScene::kAllEdges) summary |= kSolid;
    }
    if (!(f & (MapScene::kTestBelow | MapScene::kAlsoTestBelow)) || layer == 0) return summary;
    --layer;
  }
}

void PassabilityCache::Rebuild(const MapData& map, const std::vector<int32_t>& flags) {
  const auto w = static_cast<size_t>(map.header.width > 0 ? map.header.width : 0);
  const auto h = static_cast<size_t>(map.header.height > 0 ? map.header.height : 0);
  width_ = w;
  height_ = h;
  cells_.assign(w * h, 0);
  for (size_t column = 0; column < w; ++column) {
    for (size_t row = 0; row < h; ++row) cells_[row * w + column] = Summarise(ReadStack(map, column, row), flags);
  }
  current_ = true;
}

void PassabilityCache::Refresh(const MapData& map, const std::vector<int32_t>& flags, size_t column, size_t row) {
  if (!current_ || column >= width_ || row >= height_) return;
  cells_[row * width_ + column] = Summarise(ReadStack(map, column, row), flags);
}
