#include "engine/presentation/pictures/PictureEffects.h"

#include <algorithm>

using picture::Between;
using picture::Saturate;

namespace {

// Each channel limited to -100..100 and packed.
int32_t PackClamped(int32_t r, int32_t g, int32_t b) {
  const auto c = [](int32_t v) { return std::clamp<int64_t>(int64_t{v} + 100, 0, 200); };
  return static_cast<int32_t>(c(r) * 65536 + c(g) * 256 + c(b));
}

// The channels of a packed colour read back by masks: 0..255 whatever the
// value.
std::array<int32_t, 3> MaskedComponents(int32_t packed) {
  const uint32_t p = static_cast<uint32_t>(packed);
  return {static_cast<int32_t>((p & 0xFF0000) >> 16), static_cast<int32_t>((p & 0xFF00) >> 8),
          static_cast<int32_t>(p & 0xFF)};
}

int32_t AtLeastOne(int32_t total) { return std::max(total, 1); }

}  // namespace

void PictureEffects::Apply(int32_t kind, int32_t a, int32_t b, int32_t c, int32_t frames) {
  switch (kind) {
    case kFlash:
      flashColor = PackClamped(a, b, c);
      flashTotal = flashLeft = frames;
      break;
    case kTint:
      tintFrom = CurrentTint();
      tint = PackClamped(a, b, c);
      tintTotal = tintLeft = frames;
      break;
    case kOffset:
      offsetXFrom = Between(offsetX, offsetXFrom, offsetLeft, AtLeastOne(offsetTotal));
      offsetYFrom = Between(offsetY, offsetYFrom, offsetLeft, AtLeastOne(offsetTotal));
      offsetX = a;
      offsetY = b;
      offsetTotal = offsetLeft = frames;
      break;
    case kShake:
      shakeX = a;
      shakeY = b;
      shakeCount = c;
      // A period below one frame would divide by zero.
      shakePeriod = std::max(frames, 1);
      shakeTimer = Saturate(int64_t{shakePeriod} * 2);
      break;
    case kZoom: {
      const int32_t total = AtLeastOne(effectZoomTotal);
      effectZoomFrom = Between(effectZoom, effectZoomFrom, effectZoomLeft, total);
      if (effectZoomFrom == 100) {
        // An unzoomed picture starts zooming about the new point.
        zoomCenterXFrom = a;
        zoomCenterYFrom = b;
      } else {
        zoomCenterXFrom = Between(zoomCenterX, zoomCenterXFrom, effectZoomLeft, total);
        zoomCenterYFrom = Between(zoomCenterY, zoomCenterYFrom, effectZoomLeft, total);
      }
      zoomCenterX = a;
      zoomCenterY = b;
      effectZoom = c;
      effectZoomTotal = effectZoomLeft = frames;
      break;
    }
    default:
      break;
  }
}

void PictureEffects::Advance() {
  if (flashLeft > 0) --flashLeft;
  if (tintLeft > 0) --tintLeft;
  if (offsetLeft > 0) --offsetLeft;
  if (shakeCount > 0) {
    shakeTimer = Saturate(int64_t{shakeTimer} - 1);
    if (shakeTimer <= 0) {
      --shakeCount;
      shakeTimer = Saturate(int64_t{shakePeriod} * 2);
    }
  }
  if (effectZoomLeft > 0 && --effectZoomLeft <= 0) effectZoomFrom = effectZoom;
}

// The tint's channels shown now.
static std::array<int32_t, 3> CurrentTintComponents(const PictureEffects& e) {
  std::array<int32_t, 3> k = MaskedComponents(e.tint);
  if (e.tintLeft < 1) return k;
  const std::array<int32_t, 3> f = MaskedComponents(e.tintFrom);
  for (size_t i = 0; i < 3; ++i) k[i] = Between(k[i], f[i], e.tintLeft, AtLeastOne(e.tintTotal));
  return k;
}

int32_t PictureEffects::CurrentTint() const {
  int32_t packed = 0;
  for (const int32_t k : CurrentTintComponents(*this)) packed = packed * 256 + std::clamp(k, 0, 255);
  return packed;
}

PictureEffects::Values PictureEffects::Current() const {
  Values v;
  const std::array<int32_t, 3> flash = MaskedComponents(flashColor);
  const std::array<int32_t, 3> current = CurrentTintComponents(*this);
  for (size_t i = 0; i < 3; ++i) {
    const int32_t f =
        flashLeft >= 1 ? TruncateToInt32((flash[i] - 100) * 2.55 * flashLeft / AtLeastOne(flashTotal)) : 0;
    v.colorOffsets[i] = TruncateToInt32(f + (current[i] - 100) * 2.55);
  }

  int64_t hx = Between(offsetX, offsetXFrom, offsetLeft, AtLeastOne(offsetTotal));
  int64_t hy = Between(offsetY, offsetYFrom, offsetLeft, AtLeastOne(offsetTotal));
  if (shakeCount > 0) {
    // Each swing leaves 0, reaches the amplitude after P frames and comes
    // back after 2P, on alternating sides.
    const int64_t d = (shakeCount % 2 != 0) ? 1 : -1;
    const int64_t p = std::max(shakePeriod, 1);
    const int64_t t = shakeTimer;
    if (t >= p) {
      hx += d * (shakeX - picture::MulDiv(t - p, shakeX, p));
      hy += d * (shakeY - picture::MulDiv(t - p, shakeY, p));
    } else {
      hx += d * picture::MulDiv(shakeX, t, p);
      hy += d * picture::MulDiv(shakeY, t, p);
    }
  }
  v.offsetX = Saturate(hx);
  v.offsetY = Saturate(hy);

  if (effectZoom == 100 && effectZoomFrom == 100) return v;
  if (effectZoomLeft <= 0) {
    v.zoomCenterX = zoomCenterX;
    v.zoomCenterY = zoomCenterY;
    v.zoom = effectZoom;
  } else {
    const int32_t total = AtLeastOne(effectZoomTotal);
    v.zoomCenterX = Between(zoomCenterX, zoomCenterXFrom, effectZoomLeft, total);
    v.zoomCenterY = Between(zoomCenterY, zoomCenterYFrom, effectZoomLeft, total);
    v.zoom = Between(effectZoom, effectZoomFrom, effectZoomLeft, total);
  }
  return v;
}
