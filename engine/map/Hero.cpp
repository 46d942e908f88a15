// The hero: player control, the view that follows it, the loop wrap, its
// routes and triggers, and the followers with their step history.

#include "engine/map/Hero.h"

#include <algorithm>

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/Directions.h"
#include "engine/map/MapEventState.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"
#include "engine/services/InputState.h"

namespace {

// The extra image the hero shows (and followers whose entry is -1).
int32_t HeroExtraImage() { return RootRunner.followerSetting & 0xFF; }

bool EventsMayMove() { return RootRunner.movementDuringEvents || !RootInterpreter.IsRunning(); }

bool TransitionHoldsTheHero() { return SystemStateHub.transitionActive && SystemStateHub.transitionWait; }

}  // namespace

// The root runner's default extra image: the title makes a fresh hero once
// the runner exists.
Hero PlayerHero(0);

Hero::Hero() : Hero(HeroExtraImage()) {}

Hero::Hero(int32_t extraImage) {
  ApplySystemSettings();
  graphicFile.clear();
  isHero = 1;
  slide = 1;
  extraBytes.assign(1, static_cast<uint8_t>(extraImage));
  stepHistory.assign(kHistoryLength, 0);
  followers.reserve(kFollowerCount);
  for (int32_t i = 0; i < kFollowerCount; ++i) {
    MapCharacter& f = followers.emplace_back();
    f.id = kFirstFollowerId - i;
    f.passThrough = 1;
    f.heroSpeed = 1;
  }
}

bool Hero::MayAct() {
  return !IsMoving() && !RootInterpreter.IsRunning() && !forcedRoute && !SystemStateHub.windowOpen &&
         !TransitionHoldsTheHero();
}

void Hero::Control() {
  const bool wasWalking = IsMoving();
  const int32_t x0 = preciseX;
  const int32_t y0 = preciseY;
  if (extraImageLoaded != HeroExtraImage()) {
    if (extraBytes.empty()) extraBytes.resize(1);
    extraBytes[0] = static_cast<uint8_t>(HeroExtraImage());
  }

  if (MayAct()) {
    const int32_t directions = CurrentMapSettings.moveDirections;
    const int32_t d = directions == 8 ? Input.direction8 : directions == 4 ? Input.direction4 : 0;
    if (d != 0) StepWithTouch(d, !directionFixed);
  }
  if (preciseX != x0 || preciseY != y0) moved = 1;

  const int32_t qx0 = quarterX;
  const int32_t qy0 = quarterY;
  UpdateMovement();
  UpdateFollowers();
  if (!RootRunner.screenLock) FollowView(qx0, qy0);
  WrapAroundLoopingMap();

  if (EventsMayMove() && moveType == 1 && idleFrames > int64_t{moveFrequency} * moveFrequency * 20) RunMoveRoute();
  if (forcedRoute) RunMoveRoute();
  if (IsMoving()) return;
  if (wasWalking || moved) {
    moved = 0;
    TouchTriggerCheck(*this, TriggerKinds::Of({MapEventState::kHeroTouch, MapEventState::kEventTouch}));
  }
  if (!MayAct()) return;
  if (Input.buttonsPressed[kButtonDecide]) {
    const TriggerKinds decide = TriggerKinds::Of({MapEventState::kDecideKey});
    TouchTriggerCheck(*this, decide);
    ConfirmTriggerCheck(*this, decide);
  }
}

void Hero::FollowView(int32_t qx0, int32_t qy0) const {
  MapScene& map = CurrentMap;
  const int64_t t = CurrentMapSettings.tileUnit;
  const int64_t qx = quarterX;
  const int64_t qy = quarterY;
  const int64_t sx = map.scrollX;
  const int64_t sy = map.scrollY;
  if (qy > qy0 && qy - sy > 28 * t) map.ScrollDown(ClampToI32(qy - qy0));
  if (qx < qx0 && qx - sx < 38 * t) map.ScrollLeft(ClampToI32(qx0 - qx));
  if (qx > qx0 && qx - sx > 38 * t) map.ScrollRight(ClampToI32(qx - qx0));
  if (qy < qy0 && qy - sy < 28 * t) map.ScrollUp(ClampToI32(qy0 - qy));
}

void Hero::WrapAroundLoopingMap() {
  MapScene& map = CurrentMap;
  if (!map.HasMap()) return;
  const int64_t quarterPerUnit = 2 * int64_t{CurrentMapSettings.tileUnit};
  // One axis: the precise and quarter coordinates and the scroll move by
  // whole map lengths together, so the view does not jump; with the view
  // locked only the hero moves.
  const auto wrap = [&](int32_t& precise, int32_t& quarter, int32_t& scroll, int64_t side) {
    if ((precise >= 0 && precise < side) || quarter != quarterPerUnit * precise) return;
    const int64_t wrapped = WrapCoordinate(precise, side);
    const int64_t shift = (wrapped - precise) * quarterPerUnit;  // whole lengths, in quarter pixels
    precise = static_cast<int32_t>(wrapped);
    quarter = ClampToI32(quarterPerUnit * wrapped);
    if (!RootRunner.screenLock) scroll = ClampToI32(scroll + shift);
  };
  if (map.loopX) wrap(preciseX, quarterX, map.scrollX, 2 * int64_t{map.Width()});
  if (map.loopY) wrap(preciseY, quarterY, map.scrollY, 2 * int64_t{map.Height()});
}

void Hero::RecordStep(int32_t d) {
  if (followersInStep) {
    lastStep = d;
  } else {
    stepHistory.insert(stepHistory.begin(), d);
  }
  stepped = 1;
}

void Hero::UpdateFollowers() {
  const bool shown = RootRunner.partyFlag != 0;
  // Follower i replays the step spacing x (i + 1) back; a history too short
  // for that has no step for it.
  const int64_t spacing = RootRunner.followerSpacing > 0 ? RootRunner.followerSpacing : 1;
  const std::vector<int32_t>& entries = RootRunner.followerValues;
  for (size_t i = 0; i < followers.size(); ++i) {
    MapCharacter& f = followers[i];
    if (shown) f.moveSpeed = moveSpeed;
    const int32_t entry = i < entries.size() ? entries[i] : -1;
    if (f.extraBytes.empty()) f.extraBytes.resize(1);
    f.extraBytes[0] = static_cast<uint8_t>(entry == -1 ? HeroExtraImage() : entry < -1 ? 255 : entry & 0xFF);
    if (shown && stepped) {
      int32_t d = lastStep;
      if (!followersInStep) {
        const int64_t at = spacing * static_cast<int64_t>(i + 1);
        d = at < static_cast<int64_t>(stepHistory.size()) ? stepHistory[static_cast<size_t>(at)] : 0;
      }
      f.StepToward(d, true);
    }
    f.UpdateMovement();
    f.WrapOnLoopingMap();
  }
  if (stepped && !followersInStep && !stepHistory.empty()) stepHistory.pop_back();
  stepped = 0;
}

void Hero::ResetFollowers() {
  for (MapCharacter& f : followers) {
    f.preciseX = preciseX;
    f.preciseY = preciseY;
    f.quarterX = quarterX;
    f.quarterY = quarterY;
  }
  stepHistory.assign(kHistoryLength, 0);
}

void Hero::CenterScrollOnHero(int32_t tileX, int32_t tileY) const {
  MapScene& map = CurrentMap;
  const int64_t t = CurrentMapSettings.tileUnit;
  int64_t x = 4 * t * tileX - 38 * t;
  int64_t y = 4 * t * tileY - 28 * t;
  // A map smaller than the screen has nowhere to scroll.
  if (!map.loopX) x = std::clamp<int64_t>(x, 0, std::max<int64_t>(0, 4 * int64_t{map.Width()} * t - 80 * t));
  if (!map.loopY) y = std::clamp<int64_t>(y, 0, std::max<int64_t>(0, 4 * int64_t{map.Height()} * t - 60 * t));
  map.scrollX = ClampToI32(x);
  map.scrollY = ClampToI32(y);
}

void Hero::WarpTo(int32_t tileX, int32_t tileY) {
  PlaceCharacter(tileX, tileY);
  CenterScrollOnHero(tileX, tileY);
}

bool Hero::StepWithTouch(int32_t d, bool turnFirst) {
  int64_t x = preciseX + int64_t{StepX(d)} * stepSize;
  int64_t y = preciseY + int64_t{StepY(d)} * stepSize;
  // A tall hero with half-tile steps reaches one unit further up.
  if (tall && stepSize == 1 && StepY(d) < 0) --y;
  EventTouchCheck(ClampToI32(x), ClampToI32(y));
  return StepToward(d, turnFirst);
}
