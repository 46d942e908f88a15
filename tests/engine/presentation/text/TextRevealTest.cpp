#include <gtest/gtest.h>

#include <string>

#include "engine/presentation/text/TextBlock.h"
#include "tests/engine/presentation/MessageText.h"
#include "tests/engine/presentation/RichTextFixture.h"

namespace {

// The reveal as an owner drives it: once a frame the reveal advances and
// the block is drawn; the pen after a draw pass tells how far it got
// (single-byte characters of the fake glyphs advance 12 pixels at size 24).
class TextRevealTest : public RichTextFixture {
 protected:
  void SetUp() override {
    RichTextFixture::SetUp();
    RootRunner.messageFontSize = 24;
  }
  void Open(const std::string& text, double speed = 240.0) {
    block.sourceText = text;
    block.speed = speed;
    block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  }
  // One frame; the characters drawn.
  int32_t Frame() {
    block.AdvanceReveal();
    block.Layout(TextBlock::kDraw, 1.0, 1.0);
    return block.penX / 12;
  }
  TextBlock block;
};

TEST_F(TextRevealTest, CharactersComeAtTheSpeedPerThirtyFrames) {
  Open("abcdefgh", 60.0);  // two a frame
  EXPECT_EQ(Frame(), 2);
  EXPECT_EQ(Frame(), 4);
  EXPECT_FALSE(block.IsFullyRevealed());
  EXPECT_EQ(Frame(), 6);
  EXPECT_EQ(Frame(), 8);
  EXPECT_TRUE(block.IsFullyRevealed());
}

TEST_F(TextRevealTest, TheFrameStepMultipliesTheReveal) {
  GameInformation.settingBytes[GameInfo::kFramesPerSecond] = 30;
  Open("abcdefgh", 60.0);
  EXPECT_EQ(Frame(), 4);
}

TEST_F(TextRevealTest, ATimedWaitHoldsTheNextCharacterSixteenFramesOnce) {
  Open("a" + Code(kCodeWait) + "bc");
  EXPECT_EQ(Frame(), 1);
  EXPECT_EQ(block.waitFrames, 16);
  for (int frame = 2; frame <= 16; ++frame) {
    EXPECT_EQ(Frame(), 1) << frame;
    block.Layout(TextBlock::kDraw, 1.0, 1.0);  // another pass starts no new wait
  }
  EXPECT_EQ(Frame(), 3);
  EXPECT_EQ(block.waitFrames, 0);
  EXPECT_EQ(Frame(), 3);
  EXPECT_TRUE(block.IsFullyRevealed());
}

TEST_F(TextRevealTest, AKeyWaitHoldsUntilTheOwnerClearsIt) {
  Open("a" + Code(kCodeKeyWait) + "b" + Code(kCodeKeyWait) + "c");
  EXPECT_EQ(Frame(), 1);
  EXPECT_TRUE(block.waitingForKey);
  for (int frame = 0; frame < 50; ++frame) EXPECT_EQ(Frame(), 1);
  block.waitingForKey = 0;  // the decide key
  EXPECT_EQ(Frame(), 2);
  EXPECT_TRUE(block.waitingForKey) << "the second wait";
  block.waitingForKey = 0;
  EXPECT_EQ(Frame(), 3);
  EXPECT_FALSE(block.waitingForKey) << "no wait starts twice";
  EXPECT_TRUE(block.IsFullyRevealed());
}

TEST_F(TextRevealTest, AChoiceBlockIgnoresKeyWaits) {
  block.choiceBlock = 1;
  SystemStateHub.choiceCount = 1;
  Open("a" + Code(kCodeKeyWait) + "b");
  EXPECT_EQ(Frame(), 2);
  EXPECT_FALSE(block.waitingForKey);
}

TEST_F(TextRevealTest, ASlowerSpeedAtTheStartDropsTheRevealToOneFramesWorth) {
  Open(WideCode(kCodeSpeed, 30) + "abcdef");
  block.AdvanceReveal();  // 8 characters' worth at 240
  block.Layout(TextBlock::kDraw, 1.0, 1.0);
  EXPECT_DOUBLE_EQ(block.revealed, 1.0);
  EXPECT_EQ(block.speed, 30.0);
  EXPECT_EQ(Frame(), 2);
}

TEST_F(TextRevealTest, SpeedZeroMeansTheDefaultSpeed) {
  RootRunner.messageValues[1] = 90;  // system variable 11
  Open(WideCode(kCodeSpeed, 65535) + "abcdefghijkl", 30.0);
  EXPECT_EQ(Frame(), 1);
  EXPECT_EQ(block.speed, 90.0);
  EXPECT_EQ(Frame(), 4);
}

TEST_F(TextRevealTest, InstantCodesShowTheirCharactersAtOnce) {
  Open("a" + Code(kCodeInstantOn) + "bcdefg" + Code(kCodeInstantOff) + "hij", 30.0);
  EXPECT_EQ(Frame(), 1);
  // The instant run counts as revealed, up to the byte that ends it.
  EXPECT_EQ(Frame(), 8);
  EXPECT_EQ(Frame(), 9);
}

TEST_F(TextRevealTest, ANewSourceStartsTheRevealAgain) {
  Open("abcdef");
  Frame();
  EXPECT_TRUE(block.IsFullyRevealed());
  block.sourceText = "ghijklmnopqrstuv";
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  EXPECT_EQ(block.revealed, 0.0);
  EXPECT_EQ(block.workText, "ghijklmnopqrstuv");
  EXPECT_EQ(Frame(), 8);

  block.instant = 1;
  block.sourceText = "wxyz";
  EXPECT_EQ(Frame(), 4) << "instant: everything at once";
}

TEST_F(TextRevealTest, AutoCloseIsSetByTheDrawPassOnly) {
  Open("ab" + Code(kCodeAutoClose));
  EXPECT_FALSE(block.autoClose);
  Frame();
  EXPECT_TRUE(block.autoClose);
}

TEST_F(TextRevealTest, TheRevealStopsGrowingAtItsCap) {
  Open("a", 60000.0);
  block.revealed = 4.99999e7;
  block.AdvanceReveal();
  EXPECT_EQ(block.revealed, TextBlock::kMaxRevealed);
}

}  // namespace
