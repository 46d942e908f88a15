#pragma once
// A map event at run time: a character built from its map event when the
// map is entered. Pages, triggers and the erase fade build on this record.

#include <cstdint>

#include "engine/data/map/MapEvent.h"
#include "engine/map/MapCharacter.h"

class MapScene;

class MapEventState : public MapCharacter {
 public:
  int32_t mapId = -1;
  int32_t pageIndex = -1;
  int32_t trigger = 0;
  uint8_t startRequested = 0;
  MapEvent mapEvent{-1};
  int32_t eraseCounter = -1;
  int32_t eraseTotal = -1;
  int32_t eraseStartOpacity = 255;

  // Stands on the event's tile of the map, passing through everything until
  // a page says otherwise.
  MapEventState(const MapScene& map, int32_t mapId, const MapEvent& event);

  // Chooses the page whose conditions hold and takes on its settings.
  void SelectActivePage();
  // One frame of the event.
  void Update();

  bool operator==(const MapEventState&) const = default;
};
