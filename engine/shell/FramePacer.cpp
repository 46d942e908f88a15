#include "engine/shell/FramePacer.h"

#include <algorithm>
#include <cmath>

int32_t FramePacer::FrameBudget(int32_t step) { return static_cast<int32_t>(std::floor(step * 16.6 + 0.5)); }

int32_t FramePacer::ThreeFrameBudget(int32_t step) {
  return static_cast<int32_t>(std::floor(step * 16.6 * 3 + 0.5));
}

void FramePacer::Begin(int32_t step, float creditPerFrame, uint32_t now) {
  drawCredit = creditPerFrame;
  frameStart = now;
  baseBudget = FrameBudget(step);
  threeFrameBudget = ThreeFrameBudget(step);
  durations.fill(baseBudget);
  lateSum = 0;
  lateCount = 0;
}

void FramePacer::AddCredit(float increment) { drawCredit = std::min(drawCredit + increment, kMaxDrawCredit); }

bool FramePacer::TakeDraw(bool screenFrozen) {
  if (drawAllowed != 1 || !(drawCredit > 1.0f) || screenFrozen) return false;
  drawCredit -= 1.0f;
  return true;
}

int32_t FramePacer::FinishFrame(uint32_t now, int32_t budget) {
  const int32_t taken = static_cast<int32_t>(now - frameStart);
  const int32_t over = taken - budget;
  // A frame that skipped its drawing starts the sum afresh: its own
  // lateness, early or late.
  if (drawAllowed == 0) {
    lateSum = over;
  } else if (over > 0) {
    lateSum += over;
  }
  durations = {taken, durations[0], durations[1]};
  if (lateSum > 0) {
    drawAllowed = 0;
    if (++lateCount > 1) {
      drawAllowed = 1;
      lateCount = 0;
      lateSum = 0;
    }
    return 0;
  }
  int32_t wait = 0;
  if (drawAllowed == 1) wait = std::max(0, threeFrameBudget - (durations[0] + durations[1] + durations[2]));
  lateCount = 0;
  drawAllowed = 1;
  return wait;
}

void FramePacer::StartNextFrame(int32_t waited, uint32_t now) {
  durations[0] += waited;
  frameStart = now;
}
