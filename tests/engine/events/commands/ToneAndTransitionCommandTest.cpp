#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/engine/events/ScreenFixture.h"
#include "engine/data/database/Databases.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/DatabaseBuilder.h"

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
  EventCommandList ThenWait(std::vector<std::vector<int32_t>> commands) {
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

TEST_F(ToneAndTransitionCommandTest, ChoosingATransitionLoadsItsImageFromTheSystemDatabase) {
  // Type 11, item 0 the file: entry 1 a mask that exists, entry 2 one that
  // does not.
  SystemDatabase = Database();
  SystemDatabase.typeData.resize(12);
  DatabaseTypeData images = MakeTypeData({2000}, 3);
  images.String(1, 0) = "Trans\\Half.bmp";
  images.String(2, 0) = "Trans\\Missing.bmp";
  SystemDatabase.typeData[11] = std::move(images);
  WriteHalfMask("Data/Trans/Half.bmp");
  constexpr int32_t kWait = 1 << 16;

  Run(ThenWait({{160, 1, 2 | kWait}}));
  EXPECT_EQ(Line(), kDone);
  EXPECT_EQ(SystemStateHub.transitionImageName, "Data\\Trans\\Half.bmp");
  const int32_t image = SystemStateHub.transitionImage;
  EXPECT_GT(image, 0);
  EXPECT_EQ(SystemStateHub.plainFade, 0);
  EXPECT_EQ(SystemStateHub.transitionTotal, 2);
  EXPECT_EQ(SystemStateHub.transitionWait, 1);
  EXPECT_EQ(RootRunner.transitionSetting1, 1);
  EXPECT_EQ(RootRunner.transitionSetting2, 2);
  EXPECT_EQ(RootRunner.transitionSetting3, 1);

  // The transition runs through that image: the dark half goes first.
  FillScreen(0xFF0000);
  ASSERT_TRUE(SystemStateHub.StartTransition());
  SystemStateHub.CountDownTransition();
  FillScreen(0x0000FF);
  SystemStateHub.DrawTransition();
  EXPECT_EQ(BackPixel(100, 240), 0x0000FFu);
  EXPECT_GT(BackPixel(540, 240) >> 16, 0xF0u) << "still the captured red, within the mask's soft edge";
  EXPECT_EQ(BackPixel(540, 240) & 0xFF, 0u);
  SystemStateHub.transitionActive = 0;

  // -1 is a plain fade; the image chosen before is deleted. Frames keep only
  // their low 16 bits.
  Run(ThenWait({{160, -1, 0x2ABCD}}));
  EXPECT_EQ(SystemStateHub.plainFade, 1);
  EXPECT_EQ(SystemStateHub.transitionImageName, "");
  EXPECT_EQ(SystemStateHub.transitionImage, 0);
  EXPECT_EQ(SystemStateHub.transitionTotal, 0xABCD);
  EXPECT_EQ(SystemStateHub.transitionWait, 0);
  int width = 0;
  int height = 0;
  EXPECT_EQ(GetGraphicSize(image, &width, &height), -1) << "deleted";

  // A file that is not there leaves no image; the transition still runs out.
  Run(ThenWait({{160, 2, 3}}));
  EXPECT_EQ(SystemStateHub.plainFade, 0);
  EXPECT_LE(SystemStateHub.transitionImage, 0);
  ASSERT_TRUE(SystemStateHub.StartTransition());
  for (int frame = 0; frame < 5; ++frame) {
    SystemStateHub.DrawTransition();
    SystemStateHub.CountDownTransition();
  }
  EXPECT_EQ(SystemStateHub.transitionActive, 0);
  SystemDatabase = Database();
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
