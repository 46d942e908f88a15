// Starting inputs for the save fuzzers, written by the engine's own
// writers: a save body of a small game (behind the kind and version bytes of
// the save-file fuzzer), a map scene record with tiles, events and a
// reserved list, and a picture list of every kind (behind the version byte).

#include <string>

#include "engine/data/file/SaveBuffer.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SaveSlotRecord.h"
#include "fuzz/WriteSeed.h"

namespace {

constexpr char kNewest = static_cast<char>(111 - 95);

std::string BytesOf(const SaveBuffer& out) {
  return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
}

MapScene SmallScene() {
  MapScene scene;
  scene.mapId = 2;
  scene.scrollX = 64;
  scene.mapData.header.width = 3;
  scene.mapData.header.height = 2;
  for (MapData::TileLayer& layer : scene.mapData.layers) layer.Resize(3, 2, 0, 0, 0);
  scene.mapData.layers[0][1][1] = 200105;
  scene.tileImageName = "tiles.png";
  scene.tileFlags = {0, 1, 0x0F};
  scene.events.push_back(MapEventState(scene, 0, MapEvent{4}));
  scene.reservedList = {1, 2};
  return scene;
}

PictureList EveryKindOfPicture() {
  PictureList list;
  list.pictures = {Picture(-100000), Picture(1), Picture(2), Picture(100000)};
  list.pictures[0].fileName = "Picture\\a.png";
  list.pictures[1].isNinePiece = 1;
  list.pictures[1].fileName = "Picture\\frame.png";
  list.pictures[2].isText = 1;
  list.pictures[2].text.sourceText = "\\c[2]text";
  list.pictures[3].erasing = 1;
  list.pictures[3].followsMap = 1;
  list.pictures[3].effects.Apply(PictureEffects::kZoom, 1, 2, 150, 10);
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::string self = argv[0];
  SaveBuffer out;
  if (self.find("map_scene") != std::string::npos) {
    if (!SmallScene().SaveState(out)) return 1;
    WriteSeed(argv, "scene", kNewest + BytesOf(out));
    return 0;
  }
  if (self.find("picture") != std::string::npos) {
    if (!EveryKindOfPicture().Write(out)) return 1;
    WriteSeed(argv, "pictures", kNewest + BytesOf(out));
    return 0;
  }
  SaveSlotRecord record;
  record.mapScene = SmallScene();
  record.pictures = EveryKindOfPicture();
  if (!record.Write(out)) return 1;
  WriteSeed(argv, "body", std::string(1, '\0') + kNewest + BytesOf(out));
  return 0;
}
