// The transfer command: a character to a tile of the current map, or the
// player to a tile of any map. A player transfer is only recorded here; the
// game's frame carries it out.

#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/CommandArguments.h"

namespace {

// Who moves, as the command names it.
constexpr int32_t kPlayer = -1;
constexpr int32_t kThisEvent = -2;
constexpr int32_t kPlayerToStartPosition = -10001;
constexpr int32_t kNobodyBelow = -1000;  // this value and below move no one

// The start positions of the system database: items 0-2 the map, x and y.
constexpr int32_t kStartPositionType = 7;

}  // namespace

bool EventInterpreter::DoTransfer() {
  const EventCommand& command = Current();
  const int32_t argument = ArgumentOf(command, 1);
  // The command's codes for the player and this event are the reverse of the
  // character codes.
  int32_t who = 0;
  if (argument == kPlayer) {
    who = -2;
  } else if (argument == kThisEvent) {
    who = -1;
  } else if (argument == kPlayerToStartPosition) {
    who = kPlayerToStartPosition;
  } else {
    who = GetArgValue(argument);
    if (who <= kNobodyBelow) return true;
  }

  const MapHooks& map = CurrentMapHooks();
  if (who == -2 || who == kPlayerToStartPosition) {
    SystemState& hub = SystemStateHub;
    // One transfer at a time, and none while a window or transition is up.
    if (hub.mapChangePending || hub.windowOpen || hub.transitionActive) return false;
    hub.mapChangePending = 1;
    if (who == -2) {
      const int32_t target = ArgumentOf(command, 4);
      hub.transferMapId = target == -1 ? map.currentMapId() : GetArgValue(target);
      hub.transferX = GetArgValue(ArgumentOf(command, 2));
      hub.transferY = GetArgValue(ArgumentOf(command, 3));
    } else {
      // Each item may itself name a variable.
      const int32_t entry = GetArgValue(ArgumentOf(command, 2));
      hub.transferMapId = GetArgValue(SystemDatabase.GetInt(kStartPositionType, entry, 0));
      hub.transferX = GetArgValue(SystemDatabase.GetInt(kStartPositionType, entry, 1));
      hub.transferY = GetArgValue(SystemDatabase.GetInt(kStartPositionType, entry, 2));
    }
    hub.transferDirection = map.heroDirection();
  } else {
    const CharacterReference character = ResolveCharacter(who);
    if (character.kind == CharacterReference::kNone) return true;
    const int32_t y = GetArgValue(ArgumentOf(command, 3));
    const int32_t x = GetArgValue(ArgumentOf(command, 2));
    map.placeCharacter(character.MapId(), x, y);
  }
  // The event goes on at the next frame, after the map change.
  waitFrames = 1;
  return true;
}
