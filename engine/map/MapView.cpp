// The map scene's view: manual and requested scrolling, the screen shake
// and the zoom. The screen shows 20 x 15 tiles, 80 x t by 60 x t quarter
// pixels.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/map/MapScene.h"
#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"

namespace {

// Shake amplitudes and speeds are powers of two of a command's value; past
// this the swing leaves any screen, and the sums would leave 32 bits.
constexpr int32_t kMaxShakeExponent = 12;
// Bounds on a shake's amplitude and speed as the update multiplies them
// (a loaded record may hold anything).
constexpr int64_t kMaxShakeFactor = int64_t{1} << 15;

int64_t ViewSide(int32_t tiles, int32_t screenTiles) {
  const int64_t t = CurrentMapSettings.tileUnit;
  return std::max<int64_t>(0, 4 * int64_t{tiles} * t - 4 * screenTiles * t);
}

int32_t PowerOfTwo(int32_t exponent) {
  return exponent < 0 ? 0 : int32_t{1} << std::min(exponent, kMaxShakeExponent);
}

// One axis of the screen shake.
void ShakeAxis(int32_t amplitude, int32_t speed, int32_t& framesLeft, int32_t& accumulator, int32_t& direction) {
  if (framesLeft <= 0 && accumulator == 0) return;
  const int64_t amp = std::clamp<int64_t>(amplitude, -kMaxShakeFactor, kMaxShakeFactor);
  const int64_t spd = std::clamp<int64_t>(speed, -kMaxShakeFactor, kMaxShakeFactor);
  const int64_t dir = std::clamp<int64_t>(direction, -1, 1);
  const int64_t e = amp * spd * dir * 64 / CurrentMapSettings.frameStep / 10;
  const int64_t acc = accumulator;
  // The last frame lets the swing run out on its way through 0.
  if (framesLeft > 1 || (acc + e) * acc > 0) {
    accumulator = ClampToI32(acc + e);
  } else {
    accumulator = 0;
  }
  if (accumulator > amp * 128) {
    direction = -1;
  } else if (accumulator < -amp * 128) {
    direction = 1;
  }
  if (framesLeft > 0) --framesLeft;
}

// Where a glide from start to target stands with framesLeft of total to go.
int32_t Glide(int32_t target, int32_t start, int64_t framesLeft, int64_t total) {
  const __int128 left = static_cast<__int128>(int64_t{target} - start) * framesLeft / std::max<int64_t>(total, 1);
  const __int128 value = target - left;
  return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

}  // namespace

int32_t MapScene::MaxScrollX() const { return ClampToI32(ViewSide(Width(), 20)); }
int32_t MapScene::MaxScrollY() const { return ClampToI32(ViewSide(Height(), 15)); }

// On a looping axis the scroll moves freely: the hero's loop wrap shifts it
// back by the map's size together with the hero, so play never takes it far.
void MapScene::ScrollDown(int32_t amount) {
  const int64_t next = int64_t{scrollY} + amount;
  scrollY = ClampToI32(loopY ? next : std::min<int64_t>(next, MaxScrollY()));
}

void MapScene::ScrollUp(int32_t amount) {
  const int64_t next = int64_t{scrollY} - amount;
  scrollY = ClampToI32(loopY ? next : std::max<int64_t>(next, 0));
}

void MapScene::ScrollRight(int32_t amount) {
  const int64_t next = int64_t{scrollX} + amount;
  scrollX = ClampToI32(loopX ? next : std::min<int64_t>(next, MaxScrollX()));
}

void MapScene::ScrollLeft(int32_t amount) {
  const int64_t next = int64_t{scrollX} - amount;
  scrollX = ClampToI32(loopX ? next : std::max<int64_t>(next, 0));
}

void MapScene::RequestScroll(int32_t dx, int32_t dy, int32_t speed) {
  // An empty request has no length to divide by, and nothing to do.
  if (dx == 0 && dy == 0) return;
  const int64_t ax = std::llabs(int64_t{dx});
  const int64_t ay = std::llabs(int64_t{dy});
  scrollRequest.directionX = dx <= 0 ? 4 : 6;
  scrollRequest.directionY = dy <= 0 ? 8 : 2;
  scrollRequest.remainingX = ClampToI32(ax);
  scrollRequest.remainingY = ClampToI32(ay);
  const double f = speed == 8 ? 100000000.0 : std::ldexp(1.0, std::clamp(speed, -64, 62) + 1);
  const double length = std::sqrt(static_cast<double>(ax) * ax + static_cast<double>(ay) * ay);
  const auto step = [&](int64_t amount) {
    const double s = std::floor(static_cast<double>(amount) * f / length);
    return s > 0 ? (s >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(s)) : 1;
  };
  scrollRequest.stepX = step(ax);
  scrollRequest.stepY = step(ay);
}

void MapScene::UpdateScrollRequest() {
  ScrollRequest& r = scrollRequest;
  if (r.remainingX > 0) {
    const int32_t stepX = std::max(r.stepX, 1);
    const int32_t amount = std::min(stepX, r.remainingX);
    if (r.directionX == 4) {
      ScrollLeft(amount);
    } else {
      ScrollRight(amount);
    }
    r.remainingX = std::max(0, r.remainingX - stepX);
  }
  if (r.remainingY > 0) {
    const int32_t stepY = std::max(r.stepY, 1);
    const int32_t amount = std::min(stepY, r.remainingY);
    if (r.directionY == 8) {
      ScrollUp(amount);
    } else {
      ScrollDown(amount);
    }
    r.remainingY = std::max(0, r.remainingY - stepY);
  }
}

void MapScene::StartShake(int32_t a, int32_t b, int32_t axis, int32_t frames) {
  const int32_t framesLeft = ClampToI32(int64_t{frames} + 1);
  if (axis == 1) {
    shake.amplitudeX = PowerOfTwo(a);
    shake.speedX = PowerOfTwo(b);
    shake.framesLeftX = framesLeft;
    shake.directionX = 1;
  } else if (axis == 0) {
    shake.amplitudeY = PowerOfTwo(a);
    shake.speedY = PowerOfTwo(b);
    shake.framesLeftY = framesLeft;
    shake.directionY = 1;
  }
}

void MapScene::StopShake() {
  shake.framesLeftX = 0;
  shake.framesLeftY = 0;
}

void MapScene::UpdateShake() {
  ShakeAxis(shake.amplitudeX, shake.speedX, shake.framesLeftX, shake.accumulatorX, shake.directionX);
  ShakeAxis(shake.amplitudeY, shake.speedY, shake.framesLeftY, shake.accumulatorY, shake.directionY);
  const int64_t s = CurrentMapSettings.tileSizeByte;
  shakeOffsetX = static_cast<int32_t>(s * shake.accumulatorX / 2048);
  shakeOffsetY = static_cast<int32_t>(s * shake.accumulatorY / 2048);
}

void MapScene::StartZoom(int32_t centreX, int32_t centreY, int32_t percent, int32_t frames) {
  MapZoom& z = zoom;
  const int64_t total = z.totalFrames > 0 ? z.totalFrames : 1;
  z.startZoom = Glide(z.targetZoom, z.startZoom, z.framesLeft, total);
  if (z.startZoom == 100) {
    // An unzoomed view does not glide to its new centre.
    z.startCentreX = centreX;
    z.startCentreY = centreY;
  } else {
    z.startCentreX = Glide(z.targetCentreX, z.startCentreX, z.framesLeft, total);
    z.startCentreY = Glide(z.targetCentreY, z.startCentreY, z.framesLeft, total);
  }
  z.targetCentreX = centreX;
  z.targetCentreY = centreY;
  z.targetZoom = percent;
  z.totalFrames = frames;
  z.framesLeft = frames;
}

void MapScene::UpdateZoom() {
  MapZoom& z = zoom;
  if (z.framesLeft <= 0) {
    z.centreX = z.targetCentreX;
    z.centreY = z.targetCentreY;
    z.zoom = z.targetZoom;
    return;
  }
  if (--z.framesLeft == 0) z.startZoom = z.targetZoom;
  z.centreX = Glide(z.targetCentreX, z.startCentreX, z.framesLeft, z.totalFrames);
  z.centreY = Glide(z.targetCentreY, z.startCentreY, z.framesLeft, z.totalFrames);
  z.zoom = Glide(z.targetZoom, z.startZoom, z.framesLeft, z.totalFrames);
}
