#include "engine/map/MapEventState.h"

MapEventState::MapEventState(const MapScene& map, int32_t mapNumber, const MapEvent& event)
    : mapId(mapNumber), mapEvent(event) {
  id = event.id;
  erased = 0;
  passThrough = 1;
  PlaceCharacterOn(map, event.x, event.y);
}

void MapEventState::SelectActivePage() {}

void MapEventState::Update() { UpdateMovement(); }
