// The map file reader: a scrambled body of version, format marker, header,
// tile layers (layer by layer, column by column) and event records.

#include <algorithm>

#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/data/map/MapData.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kMapHeaderBytes = 20;
constexpr uint8_t kMapFormatMarker = 0x65;

bool ReadTiles(MapData& map, ByteCursor& in) {
  const int64_t width = map.header.width;
  const int64_t height = map.header.height;
  // A layer of height 0 still takes width columns: count those as cells too.
  if (width < 0 || height < 0 || !in.CountFits(width * std::max<int64_t>(height, 1), 3 * 4)) return in.Fail();
  map.ResizeLayers(true, 0, 0);
  for (MapData::TileLayer& layer : map.layers) {
    if (!in.ReadI32Array(layer.data(), width * height)) return false;
  }
  return true;
}

bool ReadEvents(MapData& map, ByteCursor& in) {
  const int32_t count = map.header.eventCount;
  if (!in.CountFits(count, MapEvent::kSmallestRecordBytes)) return false;
  map.events.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    map.events.emplace_back(-1);
    if (!map.events.back().Read(in)) return false;
  }
  // Ascending ids; events with equal ids keep their file order.
  std::stable_sort(map.events.begin(), map.events.end(),
                   [](const MapEvent& a, const MapEvent& b) { return a.id < b.id; });
  return true;
}

void ResetForLoad(MapData& map) {
  map.header = MapHeader{};
  for (MapData::TileLayer& layer : map.layers) layer.clear();
  map.events.clear();
}

}  // namespace

bool MapData::LoadMapData(const std::string& fileName) {
  ResetForLoad(*this);
  const std::string path = DataFolder() + fileName;
  FileBuffer file;
  if (!file.Load(path.c_str())) {
    const std::string text = fileName.empty() ? std::string("マップファイル名が設定されていないマップに移動しようとしました。")
                                              : "マップファイル " + path + " がありません";
    ShowMessageBox(text.c_str(), "読み込みエラー");
    return false;
  }
  return ReadMapFile(file, fileName, path);
}

bool MapData::ReadMapFile(ByteCursor& file, const std::string& fileName, const std::string& path) {
  ResetForLoad(*this);
  DataFileFrame frame;
  int32_t version = 0;
  uint8_t marker = 0;
  bool ok = OpenDataFileFrame(file, kMapHeaderBytes, kDataFileSeeds, frame) && file.ReadI32(version) &&
            file.ReadU8(marker) && marker == kMapFormatMarker;
  ok = ok && header.Read(file) && ReadTiles(*this, file) && ReadEvents(*this, file) && file.ReadU8(marker);
  if (!ok) {
    ResetForLoad(*this);
    const std::string text = "エラー：マップデータ " + fileName + " が破損しているか、\r\nマップファイル形式ではありません。";
    ShowMessageBox(text.c_str(), "マップ移動エラー");
    return false;
  }
  TestDataFileChecksum(path, file, frame);
  return true;
}
