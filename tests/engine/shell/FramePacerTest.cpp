// Frame pacing: budgets, late frames, the hold-back of early frames and the
// frame-skip credit, on tick values given by the test.

#include <gtest/gtest.h>

#include <vector>

#include "engine/shell/FramePacer.h"

namespace {

// Runs frames that each take `taken` ms of work, waiting as the pacer says;
// returns whether each frame drew.
struct PacedRun {
  FramePacer pacer;
  uint32_t now = 1000;
  std::vector<bool> drawn;

  explicit PacedRun(float credit, int32_t step = 1) { pacer.Begin(step, credit, now); }

  void Frame(int32_t taken, float credit, bool frozen = false) {
    pacer.AddCredit(credit);
    drawn.push_back(pacer.TakeDraw(frozen));
    now += static_cast<uint32_t>(taken);
    const int32_t wait = pacer.FinishFrame(now, pacer.baseBudget);
    now += static_cast<uint32_t>(wait);
    pacer.StartNextFrame(wait, now);
  }
};

TEST(FramePacerTest, BudgetsFollowTheFrameStep) {
  EXPECT_EQ(FramePacer::FrameBudget(1), 17);
  EXPECT_EQ(FramePacer::ThreeFrameBudget(1), 50);
  EXPECT_EQ(FramePacer::FrameBudget(2), 33);
  EXPECT_EQ(FramePacer::ThreeFrameBudget(2), 100);
  EXPECT_EQ(FramePacer::FrameBudget(3), 50);
  EXPECT_EQ(FramePacer::ThreeFrameBudget(3), 149);
}

TEST(FramePacerTest, EachFrameSkipModeDrawsItsShareOfFramesWithTheFractionCarriedOver) {
  struct Case {
    float credit;
    std::vector<bool> drawn;
  };
  const Case cases[] = {
      {1.0f, {true, true, true, true, true, true}},
      {0.5f, {false, true, false, true, false, true}},
      // 0.34: 0.68, 1.02 draws, 0.36, 0.70, 1.04 draws, 0.38, 0.72, 1.06 draws.
      {0.34f, {false, true, false, false, true, false, false, true}},
  };
  for (const Case& c : cases) {
    PacedRun run(c.credit);
    for (size_t i = 0; i < c.drawn.size(); ++i) run.Frame(1, c.credit);
    EXPECT_EQ(run.drawn, c.drawn) << c.credit;
  }
  PacedRun run(0.34f);
  run.Frame(1, 0.34f);
  run.Frame(1, 0.34f);
  EXPECT_NEAR(run.pacer.drawCredit + 1.0f, 1.02f, 1e-5);
  run.Frame(1, 0.34f);
  run.Frame(1, 0.34f);
  run.Frame(1, 0.34f);
  EXPECT_NEAR(run.pacer.drawCredit + 1.0f, 1.04f, 1e-5);
}

TEST(FramePacerTest, AFrameExactlyOnBudgetIsNotLate) {
  PacedRun run(1.0f);
  for (int i = 0; i < 5; ++i) run.Frame(17, 1.0f);
  EXPECT_EQ(run.drawn, std::vector<bool>(5, true));
  EXPECT_EQ(run.pacer.lateSum, 0);
  // Three frames of 17 ms take the three-frame budget of 50 and one more:
  // nothing to wait for.
  EXPECT_EQ(run.now, 1000u + 5 * 17);
}

TEST(FramePacerTest, ALateFrameSkipsTheNextDrawButNeverTwoInARow) {
  PacedRun run(1.0f);
  for (int i = 0; i < 6; ++i) run.Frame(30, 1.0f);
  // Late, skipped, drawn (after two late frames in a row), skipped, ...
  EXPECT_EQ(run.drawn, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST(FramePacerTest, AFrameThatSkippedItsDrawStartsTheLateSumWithItsOwnLateness) {
  PacedRun run(1.0f);
  run.Frame(40, 1.0f);  // 23 ms late: the next frame skips its drawing
  run.Frame(2, 1.0f);   // skipped, 15 ms early: the sum becomes -15
  EXPECT_EQ(run.pacer.lateSum, -15);
  run.Frame(20, 1.0f);  // 3 ms late on top: -12, still on time
  EXPECT_EQ(run.drawn, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(run.pacer.drawAllowed, 1);
}

TEST(FramePacerTest, EarlyFramesAreHeldBackToThreeBudgetsOverTheLastThree) {
  PacedRun run(1.0f);
  const uint32_t start = run.now;
  for (int i = 0; i < 9; ++i) run.Frame(5, 1.0f);
  const auto& d = run.pacer.durations;
  EXPECT_EQ(d[0] + d[1] + d[2], 50);
  // Nine frames at 60 frames a second, within the rounding of 50 ms per
  // three.
  EXPECT_EQ(run.now - start, 150u);
}

TEST(FramePacerTest, TheDrawCreditStopsAtTwoSoAFrozenSpellDrawsAtMostOneExtraFrame) {
  PacedRun run(0.5f);
  for (int i = 0; i < 100000; ++i) run.Frame(1, 0.5f, true);
  EXPECT_EQ(run.pacer.drawCredit, FramePacer::kMaxDrawCredit);
  run.drawn.clear();
  for (int i = 0; i < 6; ++i) run.Frame(1, 0.5f);
  EXPECT_EQ(run.drawn, (std::vector<bool>{true, true, false, true, false, true}));
}

}  // namespace
