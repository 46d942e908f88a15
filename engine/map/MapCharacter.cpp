// The character record: settings, placement, screen position, the small
// queries, and the per-frame shake, effect and animation steps.

#include "engine/map/MapCharacter.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/map/MapScene.h"
#include "engine/map/WrapCoordinate.h"
#include "engine/services/ErrorScreen.h"

namespace {

constexpr std::array<int32_t, 7> kPatternIntervals{0, 6, 10, 16, 24, 60, 84};
constexpr std::array<int32_t, 7> kFivePatternIntervals{0, 3, 5, 8, 12, 40, 63};

int64_t QuarterOf(int64_t precise) { return 2 * int64_t{CurrentMapSettings.tileUnit} * precise; }

// Adds the loop's length while the value lies before the screen.
int64_t WrapOnScreen(int64_t value, bool loops, int32_t tiles) {
  const int64_t side = int64_t{tiles} * CurrentMapSettings.tileUnit;
  if (!loops || value >= 0 || side <= 0) return value;
  return value + (-value + side - 1) / side * side;
}

int32_t AddSaturated(int32_t value, int32_t amount) { return ClampToI32(int64_t{value} + amount); }

}  // namespace

MapCharacter::MapCharacter(const MapSettings& settings) {
  eightDirSheet = settings.sheetDirections == 8;
  ApplySystemSettings(settings);
}

void MapCharacter::ApplySystemSettings(const MapSettings& settings) {
  tall = settings.tallByDefault;
  stepSize = settings.stepSetting == 1 ? 2 : 1;
  if (settings.sheetPatterns == 3) {
    animCentre = 1;
    basePattern = 1;
  } else if (settings.sheetPatterns == 5) {
    animCentre = 2;
    basePattern = 2;
  }
}

void MapCharacter::PlaceCharacter(int32_t tileX, int32_t tileY) { PlaceCharacterOn(CurrentMap, tileX, tileY); }

void MapCharacter::PlaceCharacterOn(const MapScene& map, int32_t tileX, int32_t tileY) {
  const int32_t w = map.Width();
  const int32_t h = map.Height();
  if (w <= 0 || h <= 0) return;
  if (tileX >= w || tileY >= h) {
    char first[160];
    char second[160];
    std::snprintf(first, sizeof first, "エラー：キャラクターをマップ外[X%d Y%d](Map%d)に場所移動させようとしました", tileX,
                  tileY, map.mapId);
    std::snprintf(second, sizeof second, "強制的にマップ内におさめます、このマップ最大位置は[%d,%d]です", w - 1, h - 1);
    ShowErrorScreen(first, second, "");
    tileX = std::min(tileX, w - 1);
    tileY = std::min(tileY, h - 1);
  }
  preciseX = tileX % w * 2;
  preciseY = tileY % h * 2;
  quarterX = StandX();
  quarterY = StandY();
  talkDirection = 0;
}

int32_t MapCharacter::StandX() const { return ClampToI32(QuarterOf(preciseX)); }
int32_t MapCharacter::StandY() const { return ClampToI32(QuarterOf(preciseY)); }

int32_t MapCharacter::JumpArc() const {
  const __int128 half = jumpHalf;
  const __int128 d = std::llabs(int64_t{jumpCount} - jumpHalf);
  const __int128 arc = (half * half - d * d) * 3 / (160 / CurrentMapSettings.tileUnit);
  return arc > INT32_MAX ? INT32_MAX : arc < INT32_MIN ? INT32_MIN : static_cast<int32_t>(arc);
}

int32_t MapCharacter::ScreenX(bool wrap) const {
  const int32_t t = CurrentMapSettings.tileUnit;
  const int64_t x = (int64_t{quarterX} - CurrentMap.scrollX) / 4 + t / 2;
  return ClampToI32(WrapOnScreen(x, wrap && CurrentMap.loopX, CurrentMap.Width()) + shakeOffsetX);
}

int32_t MapCharacter::ScreenY(bool wrap) const {
  const int32_t t = CurrentMapSettings.tileUnit;
  const int64_t y = (int64_t{quarterY} - CurrentMap.scrollY) / 4 + t - height - JumpArc();
  return ClampToI32(WrapOnScreen(y, wrap && CurrentMap.loopY, CurrentMap.Height()) + shakeOffsetY);
}

int32_t MapCharacter::ScreenYBase(bool wrap) const {
  const int32_t t = CurrentMapSettings.tileUnit;
  const int64_t y = (int64_t{quarterY} - CurrentMap.scrollY) / 4 + t;
  return ClampToI32(WrapOnScreen(y, wrap && CurrentMap.loopY, CurrentMap.Height()) + shakeOffsetY);
}

bool MapCharacter::IsStanding() const { return quarterX == QuarterOf(preciseX) && quarterY == QuarterOf(preciseY); }

bool MapCharacter::IsMoving() {
  moving = !IsStanding();
  return moving;
}

bool MapCharacter::WasMoving() {
  const bool result = wasMoving || moving;
  wasMoving = moving;
  return result;
}

void MapCharacter::ResetAnimation() {
  if (walkAnim || stepAnim) pattern = basePattern;
  animCounter = 0;
  talkDirection = 0;
}

void MapCharacter::BeginTalkFacing() {
  if (talking) return;
  talkDirection = direction;
  FaceHero();
  talking = 1;
}

void MapCharacter::EndTalkFacing() {
  if (!talking) return;
  talking = 0;
  if (!directionFixed && talkDirection != 0) direction = static_cast<int16_t>(talkDirection);
}

void MapCharacter::SetEffect(int32_t value, int32_t frames) {
  effectKind = value;
  effectTimer = frames;
  effectDuration = frames;
}

void MapCharacter::StartShake(int32_t ampX, int32_t ampY, int32_t swings, int32_t period) {
  shakeAmpX = ampX;
  shakeAmpY = ampY;
  shakeSwings = swings;
  shakePeriod = period > 0 ? period : 1;
  shakeTimer = ClampToI32(2 * int64_t{shakePeriod});
}

int32_t MapCharacter::TerrainTagUnder() const { return CurrentMap.GetTerrainTag(preciseX, preciseY); }

int32_t MapCharacter::CollisionWidth(int32_t axis) const {
  if (extraBytes.size() < 3) return 0;
  return extraBytes[axis == 0 ? 1 : 2];
}

void MapCharacter::WrapOnLoopingMap() {
  const MapScene& map = CurrentMap;
  if (!map.HasMap()) return;
  const int64_t w2 = 2 * int64_t{map.Width()};
  const int64_t h2 = 2 * int64_t{map.Height()};
  if (map.loopX && (preciseX < 0 || preciseX >= w2) && quarterX == QuarterOf(preciseX)) {
    preciseX = static_cast<int32_t>(WrapCoordinate(preciseX, w2));
    quarterX = StandX();
  }
  if (map.loopY && (preciseY < 0 || preciseY >= h2) && quarterY == QuarterOf(preciseY)) {
    preciseY = static_cast<int32_t>(WrapCoordinate(preciseY, h2));
    quarterY = StandY();
  }
}

void MapCharacter::ShakeAndEffectUpdate() {
  if (effectTimer > 0) --effectTimer;
  if (shakeSwings > 0) {
    const int64_t sign = (shakeSwings & 1) ? 1 : -1;
    const int64_t period = std::max(shakePeriod, 1);
    const int64_t timer = shakeTimer;
    const auto offset = [&](int64_t amp) {
      return ClampToI32(timer >= period ? sign * (amp - (timer - period) * amp / period) : sign * (amp * timer / period));
    };
    shakeOffsetX = offset(shakeAmpX);
    shakeOffsetY = offset(shakeAmpY);
    // Lowered by one; a swing ends when that leaves nothing.
    if (shakeTimer <= 1) {
      --shakeSwings;
      shakeTimer = ClampToI32(2 * period);
    } else {
      --shakeTimer;
    }
  }
  if (shakeSwings <= 0) {
    shakeOffsetX = 0;
    shakeOffsetY = 0;
  }
}

void MapCharacter::AnimationStep() {
  const bool fivePatterns = CurrentMapSettings.sheetPatterns == 5;
  const std::array<int32_t, 7>& intervals = fivePatterns ? kFivePatternIntervals : kPatternIntervals;
  // Move routes set any speed; the table has seven.
  const int32_t interval = intervals[static_cast<size_t>(std::clamp<int32_t>(animSpeed, 0, 6))];
  if (!(interval < animCounter)) return;
  if (!stepAnim && idleFrames > CurrentMapSettings.frameStep) {
    pattern = basePattern;
    animPhase = 0;
  } else if (fivePatterns) {
    animPhase = static_cast<int16_t>(WrapCoordinate(animPhase + 1, 8));
    pattern = static_cast<int16_t>(animPhase <= 4 ? animCentre + 2 - std::abs(2 - animPhase)
                                                  : animCentre + std::abs(6 - animPhase) - 2);
  } else {
    animPhase = static_cast<int16_t>(WrapCoordinate(animPhase + 1, 4));
    pattern = static_cast<int16_t>(animPhase <= 1 ? animCentre + animPhase : animCentre - (animPhase - 2));
  }
  animCounter = 0;
}

void MapCharacter::UpdateMovement() {
  if (IsJumping()) {
    JumpUpdate();
  } else if (IsMoving()) {
    WalkUpdate();
  } else {
    StandUpdate();
  }
  ShakeAndEffectUpdate();
  AnimationStep();
  if (waitFrames > 0) {
    waitFrames -= CurrentMapSettings.frameStep;
  } else if (!isHero && forcedRoute) {
    // The hero runs its forced route from its control.
    RunMoveRoute();
  }
}

void MapCharacter::JumpUpdate() {
  jumpCount -= CurrentMapSettings.frameStep;
  // A frame step larger than the count left lands the jump at once.
  if (jumpCount <= 0) {
    jumpCount = 0;
    quarterX = StandX();
    quarterY = StandY();
    return;
  }
  const int64_t n = jumpCount;
  quarterX = ClampToI32((int64_t{quarterX} * n + QuarterOf(preciseX)) / (n + 1));
  quarterY = ClampToI32((int64_t{quarterY} * n + QuarterOf(preciseY)) / (n + 1));
}

void MapCharacter::WalkUpdate() {
  const MapSettings& s = CurrentMapSettings;
  // 2^speed quarter pixels a frame; fractions of a quarter pixel are none.
  const int64_t base = moveSpeed < 0 ? 0 : int64_t{1} << std::min<int32_t>(moveSpeed, 30);
  const int64_t factor = isHero || heroSpeed ? s.heroSpeedFactor : s.eventSpeedFactor;
  const int64_t v = base * s.frameStep * factor / 4;
  const int64_t tx = QuarterOf(preciseX);
  const int64_t ty = QuarterOf(preciseY);
  int64_t qx = quarterX;
  int64_t qy = quarterY;
  if (qy < ty) qy = std::min(qy + v, ty);
  if (qx > tx) qx = std::max(qx - v, tx);
  if (qx < tx) qx = std::min(qx + v, tx);
  if (qy > ty) qy = std::max(qy - v, ty);
  quarterX = ClampToI32(qx);
  quarterY = ClampToI32(qy);
  if (qx > tx && qy == ty) slideToward = 0;
  if (qx == tx && qy == ty) idleFrames = AddSaturated(idleFrames, s.frameStep);
  if (walkAnim) {
    animCounter += s.frameStep;
  } else if (stepAnim) {
    animCounter += 0.75 * s.frameStep;
  }
}

void MapCharacter::StandUpdate() {
  const int32_t step = CurrentMapSettings.frameStep;
  if (stepAnim) {
    animCounter += 0.75 * step;
  } else if (pattern != basePattern) {
    animCounter += step;
  }
  idleFrames = AddSaturated(idleFrames, step);
}
