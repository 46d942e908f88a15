#include "tools/demo/Field.h"

#include "tools/demo/DemoMaps.h"
#include "tools/demo/Town.h"

namespace demo {

void AddField(GameFolderContent& game) {
  MapData map = PlainMapData(kFieldWidth, kFieldHeight);
  map.header.name = "野原";
  map.events = {Door(1, kFieldEntranceX, kFieldEntranceY + 1, kTownMap, kTownFromFieldX, kTownFromFieldY)};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  AddRoom(game, kFieldMap, std::move(map));
}

}  // namespace demo
