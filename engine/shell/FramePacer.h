#pragma once
// The frame loop's pacing: whole-millisecond frame budgets, one skipped
// draw after a late frame (never two in a row), early frames held back
// until the last three together took three budgets, and the frame-skip
// credit that thins out the drawn frames. Plain arithmetic on tick values,
// so the loop and the tests drive it alike.

#include <array>
#include <cstdint>

class FramePacer {
 public:
  // A frame draws only while the credit exceeds 1.0; the credit stops at
  // this, so that a long spell without drawing (a frozen screen) is not
  // followed by a run of frames that all draw.
  static constexpr float kMaxDrawCredit = 2.0f;

  uint8_t drawAllowed = 1;
  float drawCredit = 0.0f;
  uint32_t frameStart = 0;
  int32_t baseBudget = 17;
  int32_t threeFrameBudget = 50;
  std::array<int32_t, 3> durations{17, 17, 17};  // newest first
  int32_t lateSum = 0;
  int32_t lateCount = 0;

  // Budgets of the frame step: 17 and 50 ms for step 1, 33 and 100 for 2,
  // 50 and 149 for 3.
  static int32_t FrameBudget(int32_t step);
  static int32_t ThreeFrameBudget(int32_t step);

  // Entry to the frame loop.
  void Begin(int32_t step, float creditPerFrame, uint32_t now);

  // The frame's share of drawing.
  void AddCredit(float increment);
  // Whether this frame draws; when it does, it uses up one unit of credit.
  bool TakeDraw(bool screenFrozen);

  // After the frame's work, at tick now, with this frame's budget: the
  // milliseconds to wait before the next frame (0 none).
  int32_t FinishFrame(uint32_t now, int32_t budget);
  // The wait of FinishFrame was made; the next frame starts at now.
  void StartNextFrame(int32_t waited, uint32_t now);
};
