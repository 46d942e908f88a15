// Commands that change the current map at run time: movement during events,
// tile flags, the tile set and tiles written into a layer.

#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/variables/RootEventRunner.h"

namespace {

// The tile index of command 240 that restores the whole table.
constexpr int32_t kRestoreTileFlags = -1000000;

}  // namespace

bool EventInterpreter::AllowMoveDuringEvents() {
  RootRunner.movementDuringEvents = 1;
  return true;
}

bool EventInterpreter::StopMoveDuringEvents() {
  RootRunner.movementDuringEvents = 0;
  return true;
}

bool EventInterpreter::SetTileFlag() {
  const EventCommand& command = Current();
  const MapHooks& map = CurrentMapHooks();
  const int32_t index = ArgumentOf(command, 1);
  if (index == kRestoreTileFlags) {
    map.restoreTileFlags();
  } else if (!map.setTileFlag(GetArgValue(index), ArgumentOf(command, 2))) {
    return true;  // past the table: nothing changed
  }
  // The tile draw levels follow at the next frame.
  SystemStateHub.tileLevelRefresh = 1;
  return true;
}

bool EventInterpreter::ChangeTileSet() {
  if (CurrentMapHooks().changeTileSet(GetArgValue(ArgumentOf(Current(), 1)))) SystemStateHub.spriteRefresh = 1;
  return true;
}

bool EventInterpreter::RewriteMapChips() {
  const EventCommand& command = Current();
  const int32_t layer = GetArgValue(ArgumentOf(command, 1));
  const int32_t x = GetArgValue(ArgumentOf(command, 2));
  const int32_t y = GetArgValue(ArgumentOf(command, 3));
  const int32_t w = GetArgValue(ArgumentOf(command, 4));
  const int32_t h = GetArgValue(ArgumentOf(command, 5));
  const int32_t tile = GetArgValue(ArgumentOf(command, 6));
  // Layers are numbered from 1 in the command.
  if (layer >= 1 && layer <= 3) CurrentMapHooks().rewriteTiles(layer - 1, x, y, w, h, tile);
  return true;
}
