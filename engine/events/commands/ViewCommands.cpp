// Commands that move the view and add effects: the screen shake, the map
// scroll with its lock, and effects on a character or the map view.

#include <algorithm>
#include <cstdint>

#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"
#include "engine/events/PictureHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/variables/RootEventRunner.h"

namespace {

int32_t Saturated(int64_t v) { return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v); }

}  // namespace

bool EventInterpreter::ShakeCommand() {
  const EventCommand& command = Current();
  const int32_t word = ArgumentOf(command, 1);
  const int32_t axis = (word >> 8) & 15;
  const MapHooks& map = CurrentMapHooks();
  if (axis == 0 || axis == 1) {
    map.startShake(word & 15, (word >> 4) & 15, axis, GetArgValue(ArgumentOf(command, 2)));
  } else if (axis == 2) {
    map.stopShake();
  }
  return true;
}

bool EventInterpreter::ScrollCommand() {
  const EventCommand& command = Current();
  const int32_t word = ArgumentOf(command, 1);
  const int32_t speed = (word >> 4) & 15;
  const MapHooks& map = CurrentMapHooks();
  MapViewState view;
  map.mapView(view);
  const int64_t t = view.tileUnit;
  switch (word & 15) {
    case 0: {
      // Tiles or pixels into quarter pixels.
      const int64_t divisor = (word & 0x200) ? t : 1;
      const int64_t dy = GetArgValue(ArgumentOf(command, 3));
      const int64_t dx = GetArgValue(ArgumentOf(command, 2));
      map.requestScroll(Saturated(dx * 2 * t / divisor * 2), Saturated(dy * 2 * t / divisor * 2), speed);
      SystemStateHub.waitForScroll = (word & 0x100) ? 1 : 0;
      break;
    }
    case 1: {
      // Back to the hero: 9.5 tiles from the left, 7 from the top.
      CharacterPosition hero;
      map.partyMemberPosition(0, hero);
      int64_t x = int64_t{hero.preciseX} * 2 * t - 38 * t;
      int64_t y = int64_t{hero.preciseY} * 2 * t - 28 * t;
      if (!view.loopX) x = std::max<int64_t>(std::min<int64_t>(x, (int64_t{view.width} - 20) * 4 * t), 0);
      if (!view.loopY) y = std::max<int64_t>(std::min<int64_t>(y, (int64_t{view.height} - 15) * 4 * t), 0);
      map.requestScroll(Saturated(x - view.scrollX), Saturated(y - view.scrollY), speed);
      SystemStateHub.waitForScroll = (word & 0x100) ? 1 : 0;
      break;
    }
    case 2: RootRunner.screenLock = 1; break;
    case 3: RootRunner.screenLock = 0; break;
    default: break;
  }
  return true;
}

bool EventInterpreter::EffectCommand() {
  const EventCommand& command = Current();
  const int32_t word = ArgumentOf(command, 1);
  const int32_t kind = (word >> 4) & 15;
  const int32_t frames = GetArgValue(ArgumentOf(command, 2));
  const MapHooks& map = CurrentMapHooks();
  switch (word & 15) {
    case 0: {
      // The range is passed as given: the pictures do nothing for a first above the last.
      const int32_t first = GetArgValue(ArgumentOf(command, 3));
      const int32_t last = GetArgValue(ArgumentOf(command, 4));
      const int32_t a = GetArgValue(ArgumentOf(command, 5));
      const int32_t b = GetArgValue(ArgumentOf(command, 6));
      const int32_t c = GetArgValue(ArgumentOf(command, 7));
      CurrentPictureHooks().applyEffect(first, last, kind, a, b, c, frames);
      break;
    }
    case 1: {
      const CharacterReference who = ResolveCharacter(ArgumentOf(command, 3));
      if (who.kind == CharacterReference::kNone) break;
      if (kind == 0) {
        const auto channel = [&](size_t i) { return std::clamp(GetArgValue(ArgumentOf(command, i)), -100, 100) + 100; };
        const int32_t r = channel(5);
        const int32_t g = channel(6);
        const int32_t b = channel(7);
        map.setCharacterEffect(who.MapId(), r * 65536 + g * 256 + b, frames);
      } else if (kind == 1) {
        const int32_t ampX = GetArgValue(ArgumentOf(command, 5));
        const int32_t ampY = GetArgValue(ArgumentOf(command, 6));
        const int32_t swings = GetArgValue(ArgumentOf(command, 7));
        map.startCharacterShake(who.MapId(), ampX, ampY, swings, frames);
      }
      break;
    }
    case 2:
      if (kind == 0) {
        const int32_t x = GetArgValue(ArgumentOf(command, 5));
        const int32_t y = GetArgValue(ArgumentOf(command, 6));
        const int32_t zoom = GetArgValue(ArgumentOf(command, 7));
        map.startZoom(x, y, zoom, frames);
      }
      break;
    default:
      break;
  }
  return true;
}
