#pragma once
// The effects that run on top of whatever a picture shows: a flash, a tint,
// a position offset, a shake and a zoom about a point. Their counters move
// by one each frame whatever the frame step; tint, offset and zoom stay in
// force after their frames have run out, the flash and the shake end.

#include <array>
#include <cstdint>

#include "engine/presentation/pictures/PictureValues.h"

struct PictureEffects {
  enum Kind : int32_t { kFlash = 0, kTint = 1, kOffset = 2, kShake = 3, kZoom = 4 };

  // What the drawing folds in each frame.
  struct Values {
    std::array<int32_t, 3> colorOffsets{};  // -255..255 per channel, flash and tint
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t zoomCenterX = 0;  // game pixels
    int32_t zoomCenterY = 0;
    int32_t zoom = 100;  // percent
  };

  int32_t flashColor = 0;
  int32_t flashTotal = 0;
  int32_t flashLeft = 0;
  int32_t tint = picture::kNeutralColor;
  int32_t tintFrom = picture::kNeutralColor;
  int32_t tintTotal = 0;
  int32_t tintLeft = 0;
  int32_t offsetX = 0;
  int32_t offsetXFrom = 0;
  int32_t offsetY = 0;
  int32_t offsetYFrom = 0;
  int32_t offsetTotal = 0;
  int32_t offsetLeft = 0;
  int32_t shakeX = 0;
  int32_t shakeY = 0;
  int32_t shakeCount = 0;   // swings left
  int32_t shakePeriod = 0;  // frames of half a swing
  int32_t shakeTimer = 0;   // frames left of the current swing
  int32_t zoomCenterX = 0;
  int32_t zoomCenterXFrom = 0;
  int32_t zoomCenterY = 0;
  int32_t zoomCenterYFrom = 0;
  int32_t effectZoom = 100;
  int32_t effectZoomFrom = 100;
  int32_t effectZoomTotal = 0;
  int32_t effectZoomLeft = 0;

  // Starts an effect; a, b, c are the colour (-100..100 each, clamped) of
  // the flash and the tint, the offset, the amplitudes and swing count of
  // the shake, the centre and percentage of the zoom. Other kinds do
  // nothing.
  void Apply(int32_t kind, int32_t a, int32_t b, int32_t c, int32_t frames);
  // One frame of every counter.
  void Advance();
  Values Current() const;
  // The packed tint shown now.
  int32_t CurrentTint() const;

  bool operator==(const PictureEffects&) const = default;
};
