#include "engine/data/map/MapData.h"

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
  const size_t keptWidth = fillAll ? 0 : static_cast<size_t>(std::max(oldWidth, 0));
  const size_t keptHeight = fillAll ? 0 : static_cast<size_t>(std::max(oldHeight, 0));
  for (TileLayer& layer : layers) layer.Resize(width, height, keptWidth, keptHeight, kEmptyCell);
}

int32_t MapData::FindEventIndex(int32_t id) const {
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].id == id) return static_cast<int32_t>(i);
  }
  return -1;
}
