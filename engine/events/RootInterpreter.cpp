#include "engine/events/RootInterpreter.h"

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/events/MapHooks.h"
#include "engine/events/SystemState.h"

EventInterpreter RootInterpreter;

void ResetRootInterpreter() {
  RootInterpreter = EventInterpreter();
  RootInterpreter.Init(0, true);
}

void PickNextEvent(EventInterpreter& root) {
  const MapHooks& map = CurrentMapHooks();
  map.refreshPagesIfRequested();

  const int32_t reserved = SystemStateHub.reservedCommonEvent;
  if (reserved >= 0) {
    SystemStateHub.reservedCommonEvent = -1;
    if (reserved < CommonEvents.Count()) {
      // The map event the root ran last stays its map event.
      root.StartCommonEvent(reserved, root.mapEventId);
      return;
    }
  }

  int32_t eventId = -1;
  int32_t trigger = 0;
  if (map.firstStartRequest(eventId, trigger)) {
    EventCommandList list;
    if (map.mapEventCommands(eventId, -1, list)) {
      // An autorun event keeps its request and starts again whenever the
      // root is idle while its page holds.
      if (trigger != 1) {
        map.clearStartRequest(eventId);
        map.beginTalkFacing(eventId);
      }
      root.StartOwnEvent(std::move(list), eventId, -1);
      return;
    }
    map.clearStartRequest(eventId);  // no page to run: the request goes
  }

  // By number, looked up now: the list may have been read anew since the
  // runner was built.
  for (const int32_t number : root.autoStartCommonEvents) {
    if (number < 0 || number >= CommonEvents.Count()) continue;
    const CommonEvent& event = CommonEvents.events[static_cast<size_t>(number)];
    if ((event.trigger & 15) != 1 || !CheckCommonEventStart(event)) continue;
    root.StartCommonEvent(number, -1);
    return;
  }
}
