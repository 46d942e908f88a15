// The screen tone and the flash, which live in the root runner's values: how
// they move each frame and how they are drawn around the map.

#include <algorithm>

#include "engine/data/GameInfo.h"
#include "engine/events/EventArithmetic.h"
#include "engine/events/variables/RootEventRunner.h"
#include "runtime/Movan.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// A total that a saved game may bring as 0 or less counts as one frame.
int32_t Total(int16_t total) { return total > 0 ? total : 1; }

}  // namespace

void RootEventRunner::UpdateTone() {
  const int32_t step = std::max(1, GameInformation.FrameStep());
  if (toneCounter >= 0) {
    // The first update shows the start tone, the last one the target.
    const int64_t total = Total(toneTotal);
    for (size_t c = 0; c < 3; ++c) {
      currentTone[c] = WrapToInt16(targetTone[c] + (int64_t{startTone[c]} - targetTone[c]) * toneCounter / total);
    }
    toneCounter = toneCounter == 0 ? int16_t{-1} : WrapToInt16(std::max(0, toneCounter - step));
  }
  if (flashCounter > 0) flashCounter = WrapToInt16(flashCounter - step);
}

void RootEventRunner::DrawTint(TintPhase phase) const {
  const int16_t* tone = currentTone;
  switch (phase) {
    case TintPhase::kReset:
      SetDrawBrightness(255, 255, 255);
      return;
    case TintPhase::kBefore:
      if (tone[0] > 0 && tone[1] > 0 && tone[2] > 0) return;
      SetDrawBrightness(tone[0] <= 0 ? 255 + tone[0] : 255, tone[1] <= 0 ? 255 + tone[1] : 255,
                        tone[2] <= 0 ? 255 + tone[2] : 255);
      return;
    case TintPhase::kAfter:
      // Additive stays in force: whatever draws next sets its own mode.
      SetBlendMode(2, 255);
      SetDrawBrightness(255, 255, 255);
      if (tone[0] > 0 || tone[1] > 0 || tone[2] > 0) {
        DrawRectangle(0, 0, kScreenWidth, kScreenHeight,
                      PackColor(std::max<int>(tone[0], 0), std::max<int>(tone[1], 0), std::max<int>(tone[2], 0)), 1);
      }
      return;
  }
}

void RootEventRunner::DrawFlash() const {
  if (flashCounter <= 0) return;
  SetBlendMode(1, flashCounter * 255 / Total(flashTotal));
  SetDrawBrightness(255, 255, 255);
  DrawRectangle(0, 0, kScreenWidth, kScreenHeight, PackColor(flashColor[0], flashColor[1], flashColor[2]), 1);
}
