// A map event at run time: building it, choosing its page, the erase fade
// and its frame.

#include "engine/map/MapEventState.h"

#include <algorithm>

#include "engine/events/RootInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"

namespace {

// The highest page whose conditions hold, -1 when none does.
int32_t HighestPageThatHolds(const MapEvent& event) {
  for (size_t i = event.pages.size(); i-- > 0;) {
    if (event.pages[i].CheckConditions(event.id)) return static_cast<int32_t>(i);
  }
  return -1;
}

const EventCommandList kNoCommands;

}  // namespace

MapEventState::MapEventState(const MapScene& map, int32_t mapNumber, const MapEvent& event)
    : mapId(mapNumber), mapEvent(event) {
  id = event.id;
  erased = 0;
  startRequested = 0;
  passThrough = 1;
  PlaceCharacterOn(map, event.x, event.y);
  if (!mapEvent.pages.empty()) {
    const int32_t first = std::max(HighestPageThatHolds(mapEvent), 0);
    // A page may stand its event half a tile higher.
    if (mapEvent.pages[static_cast<size_t>(first)].route.FlagBit6()) {
      preciseY -= 1;
      quarterY = ClampToI32(2 * int64_t{CurrentMapSettings.tileUnit} * preciseY);
    }
  }
  SelectActivePage();
}

const EventPage* MapEventState::ActivePage() const {
  if (pageIndex < 0 || static_cast<size_t>(pageIndex) >= mapEvent.pages.size()) return nullptr;
  return &mapEvent.pages[static_cast<size_t>(pageIndex)];
}

const EventCommandList& MapEventState::Commands() const {
  const EventPage* page = ActivePage();
  return page ? page->commands : kNoCommands;
}

void MapEventState::SelectActivePage() {
  const int32_t n = erased ? -1 : HighestPageThatHolds(mapEvent);
  if (n == pageIndex) return;
  pageIndex = n;
  startRequested = 0;
  if (n < 0) {
    graphicId = -1;
    graphicFile.clear();
    moveType = 0;
    passThrough = 1;
    trigger = 0;
    parallelRunner.clear();
    return;
  }
  ApplyPage(mapEvent.pages[static_cast<size_t>(n)]);
}

void MapEventState::ApplyPage(const EventPage& page) {
  const PageGraphic& g = page.graphic;
  graphicId = g.graphicId;
  graphicFile = g.fileName;
  if (pageDirection != g.direction) {
    direction = g.direction;
    pageDirection = g.direction;
    talkDirection = 0;
  }
  if (basePattern != g.pattern) {
    pattern = g.pattern;
    basePattern = g.pattern;
  }
  opacity = g.opacity;
  blend = g.blendMode;
  const MoveRoute& r = page.route;
  moveType = r.options[MoveRoute::kMovementType];
  moveSpeed = r.options[MoveRoute::kMovementSpeed];
  moveFrequency = r.options[MoveRoute::kMovementFrequency];
  animSpeed = r.options[MoveRoute::kAnimationSpeed];
  // A forced route goes on; the new page's route follows it.
  if (forcedRoute) {
    savedRoute = r;
    savedRouteIndex = 0;
  } else {
    route = r;
    routeIndex = 0;
  }
  eraseCounter = -1;
  eraseTotal = -1;
  stepAnim = static_cast<uint8_t>(r.FlagBit0());
  walkAnim = static_cast<uint8_t>(r.FlagBit1());
  directionFixed = static_cast<uint8_t>(r.FlagBit2());
  passThrough = static_cast<uint8_t>(r.FlagBit3());
  alwaysAbove = static_cast<uint8_t>(r.FlagBit4());
  tall = static_cast<uint8_t>(r.FlagBit5());
  trigger = page.conditions.triggerKind;
  extraBytes = page.extraBytes;
  stepSize = CurrentMapSettings.stepSetting == 1 ? 2 : 1;
  parallelRunner.clear();
  if (trigger == kParallel) {
    parallelRunner.emplace_back();
    parallelRunner.back().Init(0, false);
  }
  CheckAutoTriggers();
}

void MapEventState::RequestStart() {
  // A page of the end command alone has nothing to run.
  if (Commands().size() <= 1 || eraseTotal != -1) return;
  startRequested = 1;
}

void MapEventState::StartErase(int32_t frames) {
  eraseCounter = frames;
  eraseTotal = frames;
  eraseStartOpacity = opacity;
}

bool MapEventState::CanBeWalkedOnto() const {
  if (HasGraphic() && !passThrough) return false;
  return CurrentMap.IsPassable(preciseX, preciseY, 0, CurrentMapSettings.stepSetting + 1);
}

int32_t MapEventState::CollisionWidth(int32_t axis) const {
  return pageIndex < 0 ? 0 : MapCharacter::CollisionWidth(axis);
}

void MapEventState::UpdateErase() {
  if (eraseTotal == -1 || erased) return;
  if (eraseCounter <= 0) {
    erased = 1;
    SelectActivePage();
  }
  eraseCounter = ClampToI32(int64_t{eraseCounter} - CurrentMapSettings.frameStep);
  const int64_t total = eraseTotal == 0 ? 1 : eraseTotal;
  // The fade ends at 0: the frame that erases the event has counted past it.
  opacity = static_cast<int16_t>(std::clamp<int64_t>(int64_t{eraseStartOpacity} * eraseCounter / total, 0, 255));
}

void MapEventState::Update() {
  UpdateErase();
  UpdateMovement();
  if (RootRunner.movementDuringEvents || !RootInterpreter.IsRunning()) {
    const int64_t interval = int64_t{moveFrequency} * moveFrequency * 20;
    if (idleFrames > interval) {
      switch (moveType) {
        case 1: RunEventMoveRoute(); break;
        case 2: MoveRandomly(); break;
        case 3: MoveTowardHero(); break;
        default: break;
      }
    }
  }
  WrapOnLoopingMap();
  CheckAutoTriggers();
  if (!parallelRunner.empty() && eraseTotal == -1) {
    EventInterpreter& runner = parallelRunner.front();
    if (!runner.IsRunning()) runner.StartMapEventPage(id, pageIndex);
    runner.RunFrame();
  }
}

void MapEventState::DrawTextEntry() {
  if (!parallelRunner.empty()) parallelRunner.front().DrawTextEntry();
}

bool MapEventState::operator==(const MapEventState& other) const {
  const auto sameRunners = [&] {
    if (parallelRunner.size() != other.parallelRunner.size()) return false;
    for (size_t i = 0; i < parallelRunner.size(); ++i) {
      const EventInterpreter& a = parallelRunner[i];
      const EventInterpreter& b = other.parallelRunner[i];
      if (a.IsRunning() != b.IsRunning() || a.line != b.line) return false;
    }
    return true;
  };
  return static_cast<const MapCharacter&>(*this) == static_cast<const MapCharacter&>(other) && mapId == other.mapId &&
         pageIndex == other.pageIndex && trigger == other.trigger && startRequested == other.startRequested &&
         mapEvent == other.mapEvent && eraseCounter == other.eraseCounter && eraseTotal == other.eraseTotal &&
         eraseStartOpacity == other.eraseStartOpacity && sameRunners();
}
