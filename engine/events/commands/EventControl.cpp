// Commands that end or pause the running event, erase map events, end the
// game, freeze the map picture and drive characters along move routes.

#include "engine/events/EventInterpreter.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/MapHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

bool EventInterpreter::EndEvent() { return EndEventProcessing(); }

bool EventInterpreter::EraseEvent() {
  const EventCommand& command = Current();
  const int32_t raw = ArgumentOf(command, 1);
  const int32_t frames = ArgumentOf(command, 2);  // a plain number
  const MapHooks& map = CurrentMapHooks();
  if (raw <= -1) {
    // Without a map event there is nothing to erase: the event ends rather
    // than stay on this line and hold the root runner for good.
    if (mapEventId >= 0 && mapId == map.currentMapId()) map.startErase(mapEventId, frames);
    EndEventProcessing();
    return false;
  }
  const int32_t target = GetArgValue(raw);
  if (target >= 0 && map.mapEventPageCount(target) >= 0) map.startErase(target, frames);
  ++line;
  return false;
}

bool EventInterpreter::ReturnToTitle() {
  SystemStateHub.gameState = 0;
  return EndEventProcessing();
}

bool EventInterpreter::QuitGame() {
  SystemStateHub.gameState = -1;
  return EndEventProcessing();
}

bool EventInterpreter::MapDrawingOff() {
  RootRunner.mapDrawing = 0;
  // The picture on the screen now stands in for the map until drawing is on
  // again.
  const int32_t side = TileUnit * DisplayScale();
  CaptureScreenToGraphic(0, 0, 20 * side, 15 * side, SystemStateHub.frozenMapGraphic);
  return true;
}

bool EventInterpreter::MapDrawingOn() {
  RootRunner.mapDrawing = 1;
  return true;
}

bool EventInterpreter::Wait() {
  const int32_t argument = ArgumentOf(Current(), 1);
  waitFrames = GetArgValue(argument) < 0 ? 0 : GetArgValue(argument);
  return true;
}

bool EventInterpreter::SetMoveRoute() {
  const EventCommand& command = Current();
  const CharacterReference who = ResolveCharacter(ArgumentOf(command, 1));
  if (who.kind == CharacterReference::kNone || command.routes.empty()) return true;
  CurrentMapHooks().forceMoveRoute(who.MapId(), command.routes.front());
  return true;
}

bool EventInterpreter::WaitForMoveRoutes() {
  waitingForMoveRoutes = true;
  return true;
}
