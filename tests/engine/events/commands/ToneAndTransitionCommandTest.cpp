#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/engine/events/ScreenFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

using Tone = std::array<int16_t, 3>;

// A tone word: red in the low byte, each channel stored as change + 100.
int32_t ToneWord(int red, int green, int blue, bool flash = false) {
  return red | green << 8 | blue << 16 | (flash ? 1 << 24 : 0);
}

class ToneAndTransitionCommandTest : public ScreenTest {
 protected:
  // The commands, then a long wait: a finished command leaves the
  // interpreter past the wait (kDone); one that runs again holds its line.
  static constexpr int32_t kHeld = 0;
  static constexpr int32_t kDone = 2;
  std::vector<EventCommand> ThenWait(std::vector<std::vector<int32_t>> commands) {
    CommandListBuilder list;
    for (std::vector<int32_t>& c : commands) list.Add(std::move(c));
    list.Add({180, 1000});
    return list.Build();
  }
  int32_t Line() const { return interpreter.line; }
};

TEST_F(ToneAndTransitionCommandTest, ToneWordsBecomeTonesOverTheirFrames) {
  struct Case {
    int32_t word;
    int32_t frames;
    Tone tone;
  } cases[] = {
      {ToneWord(200, 100, 100), 0, {255, 0, 0}},        // toward red: red is the low byte
      {ToneWord(0, 0, 0), 0, {-255, -255, -255}},       // fully dark
      {ToneWord(100, 100, 100), 0, {0, 0, 0}},          // the normal tone back
      {ToneWord(150, 50, 133), 5, {127, -127, 84}},     // (c - 100) x 255 / 100, truncated
      {ToneWord(99, 101, 1), 0, {-2, 2, -252}},
  };
  for (const Case& c : cases) {
    RootRunner = RootEventRunner();
    RootRunner.currentTone[1] = 40;
    Run(ThenWait({{151, c.word, c.frames}}));
    EXPECT_EQ(Line(), kDone);
    EXPECT_EQ(RootRunner.toneTotal, c.frames + 1);
    for (int frame = 0; frame <= c.frames + 1; ++frame) RootRunner.UpdateTone();
    EXPECT_EQ((Tone{RootRunner.currentTone[0], RootRunner.currentTone[1], RootRunner.currentTone[2]}), c.tone)
        << std::hex << c.word;
  }
  // Over 0 frames the first update still shows the start tone.
  RootRunner = RootEventRunner();
  Run(ThenWait({{151, ToneWord(0, 0, 0), 0}}));
  RootRunner.UpdateTone();
  EXPECT_EQ(RootRunner.currentTone[0], 0);
  RootRunner.UpdateTone();
  EXPECT_EQ(RootRunner.currentTone[0], -255);

  // A flash takes the colour and leaves the tone alone.
  RootRunner = RootEventRunner();
  Run(ThenWait({{151, ToneWord(200, 200, 200, true), 30}}));
  EXPECT_EQ((Tone{RootRunner.flashColor[0], RootRunner.flashColor[1], RootRunner.flashColor[2]}), (Tone{255, 255, 255}));
  EXPECT_EQ(RootRunner.flashCounter, 31);
  EXPECT_EQ(RootRunner.flashTotal, 31);
  EXPECT_EQ(RootRunner.toneCounter, -1);
}

TEST_F(ToneAndTransitionCommandTest, PreparingWaitsForTheWindowsAndCapturesTheScreen) {
  FillScreen(0x00FF00);
  SystemStateHub.windowOpen = 1;
  Run(ThenWait({{161}}));
  EXPECT_EQ(Line(), kHeld) << "a window is open: the same line next frame";
  EXPECT_EQ(SystemStateHub.screenFrozen, 0);
  interpreter.RunFrame();
  EXPECT_EQ(Line(), kHeld);
  SystemStateHub.windowOpen = 0;
  interpreter.RunFrame();
  EXPECT_EQ(Line(), kDone);
  EXPECT_EQ(SystemStateHub.screenFrozen, 1);

  // Then the transition starts from that picture.
  FillScreen(0x000000);
  Run(ThenWait({{162}}));
  EXPECT_EQ(Line(), kDone);
  EXPECT_EQ(SystemStateHub.screenFrozen, 0);
  EXPECT_EQ(SystemStateHub.transitionActive, 1);
  SystemStateHub.DrawTransition();
  EXPECT_EQ(BackPixel(10, 10), 0x00FF00u);
}

TEST_F(ToneAndTransitionCommandTest, RunningWithoutPreparingCapturesFirst) {
  SystemStateHub.transitionTotal = 7;
  FillScreen(0xFF0000);
  Run(ThenWait({{162}}));
  EXPECT_EQ(Line(), kDone);
  EXPECT_EQ(SystemStateHub.transitionActive, 1);
  EXPECT_EQ(SystemStateHub.transitionCounter, 7);
  FillScreen(0x000000);
  SystemStateHub.DrawTransition();
  EXPECT_EQ(BackPixel(10, 10), 0xFF0000u);

  // A second run waits until the first has ended; preparing waits too.
  Run(ThenWait({{162}}));
  EXPECT_EQ(Line(), kHeld);
  Run(ThenWait({{161}}));
  EXPECT_EQ(Line(), kHeld);
  for (int frame = 0; frame < 9; ++frame) {
    SystemStateHub.CountDownTransition();
    SystemStateHub.DrawTransition();
  }
  EXPECT_EQ(SystemStateHub.transitionActive, 0);
  interpreter.RunFrame();
  EXPECT_EQ(Line(), kDone);
  EXPECT_EQ(SystemStateHub.screenFrozen, 1);
}

TEST_F(ToneAndTransitionCommandTest, AWaitingTransitionHoldsTheEvent) {
  SystemStateHub.transitionTotal = 2;
  SystemStateHub.transitionWait = 1;
  Run(ThenWait({{162}, {180, 0}}));
  EXPECT_EQ(Line(), 1) << "past the transition command, held before the next";
  for (int frame = 0; frame < 3; ++frame) {
    interpreter.RunFrame();
    EXPECT_EQ(Line(), 1) << frame;
    SystemStateHub.CountDownTransition();
    SystemStateHub.DrawTransition();
  }
  EXPECT_EQ(SystemStateHub.transitionWait, 0);
  interpreter.RunFrame();
  EXPECT_EQ(Line(), 3);
}

}  // namespace
