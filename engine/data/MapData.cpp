#include "engine/data/MapData.h"

#include <algorithm>

MapData::MapData() { Clear(); }

bool MapHeader::Read(ByteCursor& in) {
  return in.ReadString(name, 512) && in.ReadI32(tileSetNumber) && in.ReadI32(width) && in.ReadI32(height) &&
         in.ReadI32(eventCount);
}

void MapData::Clear() { ResizeLayers(true, 0, 0); }

void MapData::ResizeLayers(bool fillAll, int32_t oldWidth, int32_t oldHeight) {
  const size_t width = static_cast<size_t>(std::max(header.width, 0));
  const size_t height = static_cast<size_t>(std::max(header.height, 0));
  for (TileLayer& layer : layers) {
    layer.resize(width);
    for (size_t x = 0; x < width; ++x) {
      std::vector<int32_t>& column = layer[x];
      column.resize(height, kEmptyCell);
      const bool oldColumn = !fillAll && static_cast<int64_t>(x) < oldWidth;
      for (size_t y = 0; y < height; ++y) {
        if (!oldColumn || static_cast<int64_t>(y) >= oldHeight) column[y] = kEmptyCell;
      }
    }
  }
}

int32_t MapData::FindEventIndex(int32_t id) const {
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].id == id) return static_cast<int32_t>(i);
  }
  return -1;
}
