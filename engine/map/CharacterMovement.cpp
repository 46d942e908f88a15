// Character movement: the collision test, the eight steps with the diagonal
// slide, the chosen steps, jumps, facings and turns.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/map/Directions.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/map/WrapCoordinate.h"
#include "engine/services/EngineRandom.h"

namespace {

// A jump further than this many half tiles lands nowhere on any map.
constexpr int64_t kMaxJump = int64_t{1} << 20;


int64_t FloorSqrt(int64_t n) {
  auto s = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
  while (s > 0 && s * s > n) --s;
  while ((s + 1) * (s + 1) <= n) ++s;
  return s;
}

// The shorter way round on a looping axis of 2 x tiles precise units.
int32_t LoopDistance(int64_t from, int64_t to, bool loops, int32_t tiles) {
  int64_t d = from - to;
  if (loops) {
    const int64_t side = 2 * int64_t{tiles};
    if (std::llabs(d - side) < std::llabs(d)) d -= side;
    if (std::llabs(from + side - to) < std::llabs(d)) d = from + side - to;
  }
  return ClampToI32(d);
}

// The columns a character arriving at column nx shares with an occupant:
// nx and its neighbours, taken round the map (2W columns).
struct ArrivalColumns {
  int64_t w2;
  int64_t nx;
  int64_t left;
  int64_t right;

  bool Match(int32_t occupantX) const {
    const int64_t x = WrapCoordinate(occupantX, w2);
    return x == nx || x == left || x == right;
  }
};

}  // namespace

int32_t MapCharacter::DistanceX(int32_t targetX) const {
  return LoopDistance(preciseX, targetX, CurrentMap.loopX, CurrentMap.Width());
}

int32_t MapCharacter::DistanceY(int32_t targetY) const {
  return LoopDistance(preciseY, targetY, CurrentMap.loopY, CurrentMap.Height());
}

bool MapCharacter::CanMove(int32_t x, int32_t y, int32_t d) const {
  if (!CanMoveRow(x, y, d)) return false;
  // A tall character with half-tile steps also needs the row above.
  if (stepSize == 1 && tall) return CanMoveRow(x, int64_t{y} - 1, d);
  return true;
}

bool MapCharacter::CanMoveRow(int64_t x, int64_t y, int32_t d) const {
  const MapScene& map = CurrentMap;
  int64_t nx = x + int64_t{StepX(d)} * stepSize;
  int64_t ny = y + int64_t{StepY(d)} * stepSize;
  const int64_t extra = stepSize == 1 && tall ? 1 : 0;
  if (!map.IsInsideMap(nx, ny + extra)) return false;
  const int64_t w2 = 2 * int64_t{map.Width()};
  const int64_t h2 = 2 * int64_t{map.Height()};
  if (map.loopX) nx = WrapCoordinate(nx, w2);
  if (map.loopY) ny = WrapCoordinate(ny, h2);
  if (passThrough) return true;

  if (!map.IsPassable(x, y, d, stepSize)) return false;
  if (!map.IsPassable(nx, ny, d == 0 ? 10 : 10 - d, stepSize)) return false;

  // An occupant stands in the way on row ny, or, when it is tall, on the row
  // below (its upper half row is then ny).
  const ArrivalColumns columns{w2, nx, WrapCoordinate(nx - 1, w2), WrapCoordinate(nx + 1, w2)};
  const int64_t rowBelow = WrapCoordinate(ny + 1, h2);
  // Position first: most events stand elsewhere, and their position is
  // the first thing in the record.
  for (const MapEventState& e : map.events) {
    const int64_t row = WrapCoordinate(e.preciseY, h2);
    if (row != ny && (row != rowBelow || !e.tall)) continue;
    if (!columns.Match(e.preciseX) || e.passThrough || e.id == id) continue;
    // The hero passes events without a graphic.
    if (isHero && !e.HasGraphic()) continue;
    return false;
  }

  // Others give way to the hero, unless they have no graphic themselves.
  if (!isHero && HasGraphic()) {
    if (const MapCharacter* hero = CurrentMapSceneHooks().hero(); hero && !hero->passThrough) {
      const bool rowMatches = WrapCoordinate(hero->preciseY, h2) == ny ||
                              (hero->tall && WrapCoordinate(int64_t{hero->preciseY} - 1, h2) == ny);
      if (rowMatches && columns.Match(hero->preciseX)) return false;
    }
  }
  return true;
}

bool MapCharacter::CanMoveWrapped(int32_t x, int32_t y, int32_t d) const {
  if (heroSpeed) return true;
  const MapScene& map = CurrentMap;
  if (!map.HasMap()) return false;
  // The step's destination, its remainder keeping the sign: a position past
  // either end of an axis that does not loop stays outside.
  const int64_t w2 = 2 * int64_t{map.Width()};
  const int64_t h2 = 2 * int64_t{map.Height()};
  const int64_t nx = x + int64_t{StepX(d)} * stepSize;
  const int64_t ny = y + int64_t{StepY(d)} * stepSize;
  if (!map.IsInsideMap(nx % w2, ny % h2)) return false;
  return CanMove(x, y, d);
}

bool MapCharacter::StepToward(int32_t d, bool turnFirst) {
  switch (d) {
    case 2:
    case 4:
    case 6:
    case 8:
      return StepStraight(d, turnFirst);
    case 1:
    case 3:
    case 7:
    case 9:
      return StepDiagonal(d, turnFirst);
    default:
      return false;
  }
}

bool MapCharacter::StepStraight(int32_t d, bool turnFirst) {
  if (turnFirst) FaceStraight(d);
  if (!CanMove(preciseX, preciseY, d)) return false;
  FaceStraight(d);
  preciseX = ClampToI32(int64_t{preciseX} + int64_t{StepX(d)} * stepSize);
  preciseY = ClampToI32(int64_t{preciseY} + int64_t{StepY(d)} * stepSize);
  idleFrames = 0;
  if (isHero) CurrentMapSceneHooks().recordHeroStep(d);
  return true;
}

bool MapCharacter::StepDiagonal(int32_t d, bool turnFirst) {
  const int32_t vertical = d <= 3 ? 2 : 8;
  const int32_t horizontal = d == 1 || d == 7 ? 4 : 6;
  const int32_t sx = ClampToI32(int64_t{StepX(d)} * stepSize);
  const int32_t sy = ClampToI32(int64_t{StepY(d)} * stepSize);
  const int32_t x = preciseX;
  const int32_t y = preciseY;
  if (turnFirst) FaceDiagonal(d);
  int32_t recorded = d;
  if (CanMove(x, y, vertical) && CanMove(x, ClampToI32(int64_t{y} + sy), horizontal) && CanMove(x, y, horizontal) &&
      CanMove(ClampToI32(int64_t{x} + sx), y, vertical)) {
    FaceDiagonal(d);
    preciseX = ClampToI32(int64_t{x} + sx);
    preciseY = ClampToI32(int64_t{y} + sy);
  } else if ((slide || slideToward) && CanMove(x, y, vertical)) {
    FaceDiagonal(d);
    preciseY = ClampToI32(int64_t{y} + sy);
    recorded = vertical;
  } else if (!slide && !slideToward) {
    return false;
  } else if (CanMove(x, y, horizontal)) {
    FaceDiagonal(d);
    preciseX = ClampToI32(int64_t{x} + sx);
    recorded = horizontal;
  } else {
    return false;
  }
  idleFrames = 0;
  if (isHero) CurrentMapSceneHooks().recordHeroStep(recorded);
  return true;
}

void MapCharacter::StepRandom(StepMaker step) {
  static constexpr int32_t kEight[8] = {2, 4, 6, 8, 1, 3, 7, 9};
  static constexpr int32_t kFour[4] = {2, 4, 6, 8};
  const int32_t directions = CurrentMapSettings.moveDirections;
  if (directions == 8) {
    step(*this, kEight[EngineRandom(kRandomStep) & 7], false);
  } else if (directions == 4) {
    step(*this, kFour[EngineRandom(kRandomStep) & 3], false);
  }
}

void MapCharacter::StepTowardHero(StepMaker step) {
  if (const MapCharacter* hero = CurrentMapSceneHooks().hero()) {
    StepTowardPosition(hero->preciseX, hero->preciseY, step);
  }
}

void MapCharacter::StepTowardCharacter(int32_t mode, int32_t a, int32_t b) {
  if (mode == 0) {
    StepTowardPosition(ClampToI32(2 * int64_t{a}), ClampToI32(2 * int64_t{b}));
  } else if (mode == 1) {
    if (CurrentMap.events.empty() || a == -1) return;
    const MapCharacter* target = FindCharacter(a);
    if (target) StepTowardPosition(target->preciseX, target->preciseY);
  }
}

void MapCharacter::StepTowardPosition(int32_t targetX, int32_t targetY, StepMaker step) {
  const int32_t dx = DistanceX(targetX);
  const int32_t dy = DistanceY(targetY);
  if (dx == 0 && dy == 0) return;
  const int32_t left = dx > 0 ? 4 : 6;
  const int32_t up = dy > 0 ? 8 : 2;
  const int32_t directions = CurrentMapSettings.moveDirections;
  if (directions == 8) {
    slideToward = 1;
    if (dx != 0 && dy != 0) {
      step(*this, dx > 0 ? (dy > 0 ? 7 : 1) : (dy > 0 ? 9 : 3), true);
    } else if (dx != 0) {
      step(*this, left, true);
    } else {
      step(*this, up, true);
    }
    return;
  }
  if (directions != 4) return;
  int64_t ax = std::llabs(int64_t{dx});
  int64_t ay = std::llabs(int64_t{dy});
  if (ax == ay) (EngineRandom(kRandomStep) % 2 == 0 ? ax : ay) += 1;
  if (ax > ay) {
    step(*this, left, true);
    if (!IsMoving() && dy != 0) step(*this, up, true);
  } else {
    step(*this, up, true);
    if (!IsMoving() && dx != 0) step(*this, left, true);
  }
}

void MapCharacter::StepAwayFromHero() {
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  if (!hero) return;
  const int32_t dx = DistanceX(hero->preciseX);
  const int32_t dy = DistanceY(hero->preciseY);
  if (dx == 0 && dy == 0) return;
  const int32_t away = dx <= 0 ? 4 : 6;
  const int32_t awayUp = dy <= 0 ? 8 : 2;
  int64_t ax = std::llabs(int64_t{dx});
  int64_t ay = std::llabs(int64_t{dy});
  if (ax == ay) (EngineRandom(kRandomStep) % 2 == 0 ? ax : ay) += 1;
  if (ax > ay) {
    StepStraight(away, true);
    if (!IsMoving() && dy != 0) StepStraight(awayUp, true);
  } else {
    StepStraight(awayUp, true);
    if (!IsMoving() && dx != 0) StepStraight(away, true);
  }
}

void MapCharacter::StepForward(StepMaker step) { step(*this, direction, false); }

void MapCharacter::StepBackward() {
  const uint8_t fixed = directionFixed;
  directionFixed = 1;
  StepToward(10 - direction, false);
  directionFixed = fixed;
}

void MapCharacter::JumpBy(int32_t dx, int32_t dy) {
  const int64_t jx = int64_t{dx} * stepSize;
  const int64_t jy = int64_t{dy} * stepSize;
  const bool moves = jx != 0 || jy != 0;
  if (moves) {
    if (std::llabs(jx) > std::llabs(jy)) {
      jx < 0 ? FaceLeft() : FaceRight();
    } else {
      jy < 0 ? FaceUp() : FaceDown();
    }
  }
  const int64_t tx = int64_t{preciseX} + jx;
  const int64_t ty = int64_t{preciseY} + jy;
  if (moves && (std::llabs(jx) > kMaxJump || std::llabs(jy) > kMaxJump ||
                !CanMove(static_cast<int32_t>(tx), static_cast<int32_t>(ty), 0))) {
    return;
  }
  ResetAnimation();
  preciseX = static_cast<int32_t>(tx);
  preciseY = static_cast<int32_t>(ty);
  jumpHalf = ClampToI32((FloorSqrt(jx * jx + jy * jy) + 15 - moveSpeed) / 2);
  jumpCount = ClampToI32(2 * int64_t{jumpHalf});
  idleFrames = 0;
}

void MapCharacter::Face(int32_t d) {
  switch (d) {
    case 2:
    case 4:
    case 6:
    case 8:
      FaceStraight(d);
      break;
    case 1:
    case 3:
    case 7:
    case 9:
      FaceDiagonal(d);
      break;
    default:
      break;
  }
}

void MapCharacter::FaceStraight(int32_t d) {
  if (directionFixed) return;
  direction = static_cast<int16_t>(d);
  idleFrames = 0;
}

void MapCharacter::FaceDiagonal(int32_t d) {
  if (directionFixed) return;
  if (eightDirSheet) {
    direction = static_cast<int16_t>(d);
  } else {
    // Four-direction sheets keep the side the character faced, else take
    // the vertical part.
    switch (d) {
      case 1:
        direction = direction == 6 ? 4 : 2;
        break;
      case 7:
        direction = direction == 6 ? 4 : 8;
        break;
      case 9:
        direction = direction == 4 ? 6 : 8;
        break;
      case 3:
        direction = direction == 4 ? 6 : 2;
        break;
      default:
        break;
    }
  }
  idleFrames = 0;
}

void MapCharacter::TurnRight90() {
  //                               0  1  2  3  4  5  6  7  8  9
  static constexpr int32_t kEight[10] = {0, 4, 1, 2, 7, 0, 3, 8, 9, 6};
  static constexpr int32_t kFour[10] = {0, 0, 4, 0, 8, 0, 2, 0, 6, 0};
  if (direction < 0 || direction > 9) return;
  Face((eightDirSheet ? kEight : kFour)[direction]);
}

void MapCharacter::TurnLeft90() {
  static constexpr int32_t kEight[10] = {0, 2, 3, 6, 1, 0, 9, 4, 7, 8};
  static constexpr int32_t kFour[10] = {0, 0, 6, 0, 2, 0, 8, 0, 4, 0};
  if (direction < 0 || direction > 9) return;
  Face((eightDirSheet ? kEight : kFour)[direction]);
}

void MapCharacter::TurnRandom90() {
  if (EngineRandom(kRandomStep) & 1) {
    TurnLeft90();
  } else {
    TurnRight90();
  }
}

void MapCharacter::FaceRandom() {
  static constexpr int32_t kEight[8] = {8, 6, 4, 2, 1, 3, 7, 9};
  static constexpr int32_t kFour[4] = {8, 6, 4, 2};
  const int32_t directions = CurrentMapSettings.moveDirections;
  if (directions == 8) {
    Face(kEight[EngineRandom(kRandomStep) & 7]);
  } else if (directions == 4) {
    Face(kFour[EngineRandom(kRandomStep) & 3]);
  }
}

void MapCharacter::FaceHero() {
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  if (!hero) return;
  const int64_t dx = DistanceX(hero->preciseX);
  const int64_t dy = DistanceY(hero->preciseY);
  if (dx == 0 && dy == 0) return;
  const int64_t ax = std::llabs(dx);
  const int64_t ay = std::llabs(dy);
  if (dx != 0 && dy != 0 && ax * 3 >= ay && ay * 3 >= ax) {
    Face(dx > 0 ? (dy <= 0 ? 1 : 7) : (dy <= 0 ? 3 : 9));
  } else if (ay < ax) {
    Face(dx <= 0 ? 6 : 4);
  } else {
    Face(dy <= 0 ? 2 : 8);
  }
}

void MapCharacter::FaceAwayFromHero() {
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  if (!hero || (hero->preciseX == preciseX && hero->preciseY == preciseY)) return;
  const int64_t dx = DistanceX(hero->preciseX);
  const int64_t dy = DistanceY(hero->preciseY);
  if (std::llabs(dy) < std::llabs(dx)) {
    Face(dx <= 0 ? 4 : 6);
  } else {
    Face(dy <= 0 ? 8 : 2);
  }
}
