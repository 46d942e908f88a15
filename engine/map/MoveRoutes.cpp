// Move routes: the runner shared by the plain and the map-event form, the
// step codes with their arguments, and forced routes.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapEventState.h"
#include "engine/map/MapScene.h"
#include "engine/map/WrapCoordinate.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/sound/SoundHooks.h"

namespace {

constexpr int32_t kRepeatRoute = 0x1;
constexpr int32_t kSkipBlockedMove = 0x2;

// Step directions of codes 0-7 and facings of codes 8-15.
constexpr int32_t kDirections[8] = {2, 4, 6, 8, 1, 3, 7, 9};

// The character graphics of the system database (route code 44).
constexpr int32_t kCharacterGraphicType = 8;

bool IsMoveCode(int32_t code) { return code <= 7 || (code >= 16 && code <= 21) || code == 53 || code == 54; }
bool IsTurnCode(int32_t code) { return (code >= 8 && code <= 15) || (code >= 22 && code <= 27); }

int32_t ArgumentAt(const std::vector<int32_t>& arguments, size_t i) { return i < arguments.size() ? arguments[i] : 0; }

// The value of a route argument: a number, or the variable it names.
int32_t ValueOf(const std::vector<int32_t>& arguments, size_t i) { return Variables.GetVariable(ArgumentAt(arguments, i)); }

// A route argument that names this character's own variables is rebased onto
// them: its map event's self variables and its map-event slots.
int32_t RebaseRouteArgument(int32_t v, int32_t id) {
  if (v >= 1100000 && v < 1200000) return ClampToI32(1000000 + int64_t{id} * 10 + v % 10);
  if (v >= 9190000 && v < 9200000) return ClampToI32(9100000 + int64_t{id} * 10 + v % 10);
  if (v >= 1600000 && v < 1700000) {
    ShowErrorScreen("[動作指定]ではコモンセルフ変数を利用できません。", ErrorLocationText(), "");
    return 0;
  }
  return v;
}

}  // namespace

void MapCharacter::RunMoveRoute() { RunRoute(nullptr); }

void MapEventState::RunEventMoveRoute() { RunRoute(this); }

void MapCharacter::ForceMoveRoute(const MoveRoute& forced) {
  // A route forced while another runs replaces it; the own route stays
  // aside.
  if (!forcedRoute) {
    savedRoute = route;
    savedRouteIndex = routeIndex;
  }
  route = forced;
  routeIndex = 0;
  forcedRoute = 1;
  waitFrames = 0;
  talkDirection = 0;
  RunMoveRoute();
}

void MapCharacter::RunRoute(MapEventState* touching) {
  if (IsJumping() || IsMoving()) return;
  std::vector<int32_t> arguments;
  for (;;) {
    const auto count = static_cast<int64_t>(route.steps.size());
    if (routeIndex < 0 || routeIndex > count || waitFrames > 0) return;
    const int32_t flags = route.options[MoveRoute::kRouteOptions];
    if (routeIndex == count) {
      if (flags & kRepeatRoute) {
        routeIndex = 0;
      } else {
        if (forcedRoute) {
          forcedRoute = 0;
          route = std::move(savedRoute);
          routeIndex = savedRouteIndex;
          savedRoute.steps.clear();
        }
        idleFrames = 0;
      }
      return;
    }
    const MoveRouteStep& step = route.steps[static_cast<size_t>(routeIndex)];
    const int32_t code = step.code;
    arguments = step.arguments;
    for (int32_t& v : arguments) v = RebaseRouteArgument(v, id);
    if (IsMoveCode(code)) {
      RouteMove(code, arguments, touching);
      if ((flags & kSkipBlockedMove) || IsMoving() || IsJumping()) ++routeIndex;
      return;
    }
    if (IsTurnCode(code)) {
      RouteTurn(code);
      ++routeIndex;
      return;
    }
    RouteInstant(code, arguments);
    ++routeIndex;
  }
}

void MapCharacter::RouteMove(int32_t code, const std::vector<int32_t>& arguments, MapEventState* touching) {
  if (code <= 7) {
    const int32_t d = kDirections[code];
    touching ? touching->StepWithEventTouch(d, true) : StepToward(d, true);
    return;
  }
  switch (code) {
    case 16:
      touching ? touching->RandomStepWithTouch() : StepRandom();
      break;
    case 17:
      touching ? touching->StepTowardHeroWithTouch() : StepTowardHero();
      break;
    case 18:
      StepAwayFromHero();
      break;
    case 19:
      touching ? touching->StepForwardWithTouch() : StepForward();
      break;
    case 20:
      StepBackward();
      break;
    case 21:
      JumpBy(ValueOf(arguments, 0), ValueOf(arguments, 1));
      break;
    case 53:
      StepTowardCharacter(1, ValueOf(arguments, 0), 0);
      break;
    case 54:
      StepTowardCharacter(0, ValueOf(arguments, 0), ValueOf(arguments, 1));
      break;
    default:
      break;
  }
}

void MapCharacter::RouteTurn(int32_t code) {
  if (code <= 15) {
    Face(kDirections[code - 8]);
    return;
  }
  switch (code) {
    case 22: TurnRight90(); break;
    case 23: TurnLeft90(); break;
    case 24: TurnRandom90(); break;
    case 25: FaceRandom(); break;
    case 26: FaceHero(); break;
    default: FaceAwayFromHero(); break;
  }
}

void MapCharacter::RouteInstant(int32_t code, const std::vector<int32_t>& arguments) {
  const int32_t n = ArgumentAt(arguments, 0);
  switch (code) {
    case 28:
      Variables.SetVariable(n, ValueOf(arguments, 1));
      CurrentMap.RequestPageRefresh();
      break;
    case 29: moveSpeed = static_cast<int16_t>(n); break;
    case 30: moveFrequency = static_cast<int16_t>(n); break;
    case 31: animSpeed = static_cast<int16_t>(n); break;
    case 32: stepAnim = 1; break;
    case 33: stepAnim = 0; break;
    case 34: walkAnim = 1; break;
    case 35: walkAnim = 0; break;
    case 36: directionFixed = 1; break;
    case 37: directionFixed = 0; break;
    case 38: passThrough = 1; break;
    case 39: passThrough = 0; break;
    case 40: alwaysAbove = 1; break;
    case 41: alwaysAbove = 0; break;
    case 44: graphicFile = SystemDatabase.GetString(kCharacterGraphicType, ValueOf(arguments, 0), 0); break;
    case 45: opacity = static_cast<int16_t>(std::clamp(ValueOf(arguments, 0), 0, 255)); break;
    case 46: SoundPlay(2, ValueOf(arguments, 0), 1, 0); break;
    case 47: waitFrames = ValueOf(arguments, 0); break;
    case 48: stepSize = 1; break;
    case 49: stepSize = 2; break;
    case 50: basePattern = 0; break;
    case 51: basePattern = 1; break;
    case 52: basePattern = 2; break;
    case 55: {
      // Wrapping, as the variable operations add.
      const auto sum = static_cast<uint32_t>(Variables.GetVariable(n)) + static_cast<uint32_t>(ValueOf(arguments, 1));
      Variables.SetVariable(n, static_cast<int32_t>(sum));
      CurrentMap.RequestPageRefresh();
      break;
    }
    default:
      break;  // 42, 43 and codes past the table do nothing
  }
}
