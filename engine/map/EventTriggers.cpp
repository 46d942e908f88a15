// The triggers that start map events: touch ranges around a position, the
// hero's arrival, bump and decide-key tests, the events' own touching steps,
// and the autonomous moves built on them.

#include <cstdlib>

#include "engine/events/RootInterpreter.h"
#include "engine/map/Directions.h"
#include "engine/map/MapEventState.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"
#include "engine/services/EngineRandom.h"

namespace {

// Where an event stands against a position (px, py), within its collision
// half-widths: on the rows (a tall event also one row further down), on the
// exact columns, on the wide columns (one more to either side).
struct TouchRange {
  int64_t px;
  int64_t py;

  bool InRows(const MapEventState& e) const {
    const int64_t wy = e.CollisionWidth(1);
    const int64_t ey = e.preciseY;
    return (py - wy <= ey && ey <= py + wy) || (e.tall && ey == py + wy + 1);
  }
  bool InColumns(const MapEventState& e, bool wide) const {
    const int64_t w = e.CollisionWidth(0) + (wide ? 1 : 0);
    const int64_t ex = e.preciseX;
    return px - w <= ex && ex <= px + w;
  }
};

// The first event in list order that the decide key reaches at (x, y).
bool ConfirmAt(int64_t x, int64_t y, const TriggerKinds& kinds) {
  const TouchRange range{x, y};
  for (MapEventState& e : CurrentMap.events) {
    if (!kinds.Has(e.trigger) || e.IsJumping() || !range.InRows(e) || !range.InColumns(e, true)) continue;
    if (e.CanBeWalkedOnto()) continue;
    e.RequestStart();
    return true;
  }
  return false;
}

}  // namespace

TriggerKinds TriggerKinds::Of(std::initializer_list<int32_t> kinds) {
  TriggerKinds k;
  for (const int32_t kind : kinds) {
    if (kind >= 0 && kind < 5) k.allowed[kind] = true;
  }
  return k;
}

void MapEventState::CheckAutoTriggers() {
  if (trigger == kAutorun) {
    RequestStart();
    return;
  }
  if (trigger != kEventTouch || IsJumping()) return;
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  if (hero && hero->preciseX == preciseX && hero->preciseY == preciseY && CanBeWalkedOnto()) RequestStart();
}

bool TouchTriggerCheck(const MapCharacter& hero, const TriggerKinds& kinds) {
  if (RootInterpreter.IsRunning()) return false;
  const TouchRange range{hero.preciseX, hero.preciseY};
  bool started = false;
  for (MapEventState& e : CurrentMap.events) {
    if (!kinds.Has(e.trigger) || e.IsJumping() || !range.InRows(e)) continue;
    if (!range.InColumns(e, e.trigger == MapEventState::kEventTouch) || !e.CanBeWalkedOnto()) continue;
    e.RequestStart();
    started = true;
  }
  return started;
}

bool EventTouchCheck(int32_t x, int32_t y) {
  if (RootInterpreter.IsRunning()) return false;
  const TouchRange range{x, y};
  bool started = false;
  for (MapEventState& e : CurrentMap.events) {
    if (e.trigger != MapEventState::kHeroTouch && e.trigger != MapEventState::kEventTouch) continue;
    if (e.IsJumping() || !range.InRows(e) || !range.InColumns(e, true) || e.CanBeWalkedOnto()) continue;
    e.RequestStart();
    started = true;
  }
  return started;
}

bool ConfirmTriggerCheck(const MapCharacter& hero, const TriggerKinds& kinds) {
  if (RootInterpreter.IsRunning()) return false;
  const int32_t d = hero.direction;
  const bool up = d == 7 || d == 8 || d == 9;
  int64_t fx = hero.preciseX + int64_t{StepX(d)} * hero.stepSize;
  int64_t fy = hero.preciseY + (up && hero.tall ? -2 : int64_t{StepY(d)} * hero.stepSize);
  // Looping or not, the position in front is taken round the map's edges.
  const int64_t w2 = 2 * int64_t{CurrentMap.Width()};
  const int64_t h2 = 2 * int64_t{CurrentMap.Height()};
  if (fx >= w2 - 1) fx = fx + 1 - w2;
  if (fy >= h2 - 1) fy = fy + 1 - h2;
  if (fx < 0) fx += w2;
  if (fy < 0) fy += h2;
  if (fx < 0) fx = 0;
  if (fy < 0) fy = 0;
  if (ConfirmAt(fx, fy, kinds)) return true;
  if (!CurrentMap.HasCounterFlag(ClampToI32(fx), ClampToI32(fy))) return false;
  // Across a counter: one more step, then one more unit.
  fx += int64_t{StepX(d)} * hero.stepSize;
  fy += int64_t{StepY(d)} * hero.stepSize;
  if (ConfirmAt(fx, fy, kinds)) return true;
  return ConfirmAt(fx + StepX(d), fy + StepY(d), kinds);
}

void MapEventState::EventTouchAt(int32_t x, int32_t y) {
  if (RootInterpreter.IsRunning() || trigger != kEventTouch || IsJumping()) return;
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  if (!hero) return;
  const int64_t wx = CollisionWidth(0);
  const int64_t wy = CollisionWidth(1);
  const int64_t hx = hero->preciseX;
  const int64_t hy = hero->preciseY;
  const bool columns = x - wx - 1 <= hx && hx <= x + wx + 1;
  const bool rows = (y - wy <= hy && hy <= y + wy) || (hero->tall && hy == y + wy + 1);
  if (columns && rows && !CanBeWalkedOnto()) RequestStart();
}

bool MapEventState::StepWithEventTouch(int32_t d, bool turnFirst) {
  if (!CanMove(preciseX, preciseY, d) || CollisionWidth(0) != 0 || CollisionWidth(1) != 0) {
    EventTouchAt(ClampToI32(preciseX + int64_t{StepX(d)} * stepSize),
                 ClampToI32(preciseY + int64_t{StepY(d)} * stepSize));
  }
  return StepToward(d, turnFirst);
}

bool MapEventState::TouchingStep(MapCharacter& c, int32_t d, bool turnFirst) {
  return static_cast<MapEventState&>(c).StepWithEventTouch(d, turnFirst);
}

void MapEventState::RandomStepWithTouch() { StepRandom(TouchingStep); }
void MapEventState::StepTowardHeroWithTouch() { StepTowardHero(TouchingStep); }
void MapEventState::StepForwardWithTouch() { StepForward(TouchingStep); }

void MapEventState::MoveRandomly() {
  switch (EngineRandom(kRandomStep) % 6) {
    case 4: StepForwardWithTouch(); break;
    case 5: idleFrames = 0; break;  // waits another interval
    default: RandomStepWithTouch(); break;
  }
}

void MapEventState::MoveTowardHero() {
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  const bool near = hero && std::llabs(int64_t{DistanceX(hero->preciseX)}) + std::llabs(int64_t{DistanceY(hero->preciseY)}) < 20;
  if (!near) {
    RandomStepWithTouch();
    return;
  }
  switch (EngineRandom(kRandomStep) % 6) {
    case 4: RandomStepWithTouch(); break;
    case 5: StepForwardWithTouch(); break;
    default: StepTowardHeroWithTouch(); break;
  }
}
