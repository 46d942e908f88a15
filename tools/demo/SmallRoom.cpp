#include "tools/demo/SmallRoom.h"

#include "tools/demo/DemoMaps.h"
#include "tools/demo/Town.h"

namespace demo {

void AddSmallRoom(GameFolderContent& game) {
  MapData map = PlainMapData(kSmallRoomWidth, kSmallRoomHeight);
  map.header.name = "小部屋";
  map.events = {Door(1, kSmallRoomEntranceX, kSmallRoomEntranceY + 1, kTownMap, kTownFromSmallRoomX, kTownFromSmallRoomY)};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  AddRoom(game, kSmallRoomMap, std::move(map));
}

}  // namespace demo
