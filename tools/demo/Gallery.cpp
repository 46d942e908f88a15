#include "tools/demo/Gallery.h"

#include "tools/demo/DemoMaps.h"
#include "tools/demo/Town.h"

namespace demo {

void AddGallery(GameFolderContent& game) {
  MapData map = PlainMapData(kGalleryWidth, kGalleryHeight);
  map.header.name = "画廊";
  map.events = {Door(1, kGalleryEntranceX, kGalleryEntranceY + 1, kTownMap, kTownFromGalleryX, kTownFromGalleryY)};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  AddRoom(game, kGalleryMap, std::move(map));
}

}  // namespace demo
