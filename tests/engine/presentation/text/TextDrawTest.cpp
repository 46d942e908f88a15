#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/text/TextBlock.h"
#include "tests/engine/presentation/MessageText.h"
#include "tests/engine/presentation/RichTextFixture.h"

namespace {

// Draws on the black back screen with fake glyphs: a single-byte glyph of
// size s drawn at (x, y) is inked in the columns x + 1 to x + s / 2 - 1 and
// the rows y + 1 to y + s - 4.
class TextDrawTest : public RichTextFixture {
 protected:
  void SetUp() override {
    RichTextFixture::SetUp();
    RootRunner.messageFontSize = 24;
    ClearBack();
  }
  // Measured, then drawn whole.
  void Draw(TextBlock& block, const std::string& text) {
    block.sourceText = text;
    block.Layout(TextBlock::kMeasure, 1.0, 1.0);
    block.revealed = 1000.0;
    block.Layout(TextBlock::kDraw, 1.0, 1.0);
  }
  // The colours inked in a rectangle, each once.
  static std::vector<uint32_t> Inks(int left, int top, int right, int bottom) {
    std::vector<uint32_t> inks;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const uint32_t p = BackPixel(x, y);
        if (p != 0 && std::find(inks.begin(), inks.end(), p) == inks.end()) inks.push_back(p);
      }
    }
    return inks;
  }
};

TEST_F(TextDrawTest, AlignmentOffsetsFromTheMeasuredTables) {
  const struct {
    ControlCode code;
    int32_t firstInk;
  } cases[] = {{kCodeAlignLeft, 101}, {kCodeAlignCenter, 201}, {kCodeAlignRight, 301}};
  for (const auto& c : cases) {
    ClearBack();
    TextBlock block(100, 100);
    block.sourceText = Code(c.code) + "a";
    block.Layout(TextBlock::kMeasure, 1.0, 1.0);
    // A line of 100 pixels in a block whose widest is 300.
    block.linePixelWidths[0] = 100;
    block.widestPixelLine = 300;
    block.revealed = 10.0;
    block.Layout(TextBlock::kDraw, 1.0, 1.0);
    EXPECT_EQ(InkColumns(100, 130).first, c.firstInk) << int{c.code};
  }
}

TEST_F(TextDrawTest, ADrawWithoutAMeasureReadsMissingTableEntriesAsZero) {
  TextBlock block(100, 100);
  block.sourceText = Code(kCodeAlignRight) + "a\nb\nc";
  block.instant = 1;
  block.Layout(TextBlock::kDraw, 1.0, 1.0);
  EXPECT_EQ(InkColumns(100, 130).first, 101);
  EXPECT_EQ(block.line, 2);
}

TEST_F(TextDrawTest, ColoursFromTheTableCappedAtItsLastEntry) {
  UsePlainFonts();
  const struct {
    const char* what;
    std::vector<std::vector<int32_t>> table;
    int32_t index;
    uint32_t ink;
  } cases[] = {
      {"an entry", {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, 2, 0x00FF00},
      {"past the end: the last entry", {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, 200, 0x0000FF},
      {"negative channels read 0", {{-5, 128, 255}}, 0, 0x0080FF},
      {"an empty table draws white", {}, 3, 0xFFFFFF},
  };
  for (const auto& c : cases) {
    SetColors(c.table);
    ClearBack();
    TextBlock block(100, 100);
    Draw(block, SmallCode(kCodeColor, c.index) + "a");
    EXPECT_EQ(Inks(100, 100, 130, 130), std::vector<uint32_t>{c.ink}) << c.what;
  }
}

TEST_F(TextDrawTest, RubyIsDrawnInColourThirteenOrTheLastOfAShortTable) {
  UsePlainFonts();
  std::vector<std::vector<int32_t>> colors(14, {255, 255, 255});
  colors[13] = {255, 255, 0};
  const struct {
    const char* what;
    std::vector<std::vector<int32_t>> table;
    uint32_t ink;
  } cases[] = {
      {"fourteen colours", colors, 0xFFFF00},
      {"four colours: the last", {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, 0x0000FF},
      {"no colours: white", {}, 0xFFFFFF},
  };
  for (const auto& c : cases) {
    SetColors(c.table);
    ClearBack();
    TextBlock block(100, 100);
    Draw(block, SmallCode(kCodeColor, 1) + Code(kCodeRuby) + "aaaa,ab]");
    EXPECT_EQ(Inks(100, 90, 160, 100), std::vector<uint32_t>{c.ink}) << c.what;
    EXPECT_EQ(block.colorIndex, std::min<int32_t>(1, static_cast<int32_t>(c.table.size()) - 1))
        << "the colour comes back after the group";
  }
}

TEST_F(TextDrawTest, WideRubyIsCentredAndNarrowRubySpreadOverItsBase) {
  // Ruby size 10: glyphs 4 pixels wide, advancing 5; its line is 10 above
  // the base line's top.
  TextBlock wide(100, 100);
  Draw(wide, Code(kCodeRuby) + "a,abcdef]");
  EXPECT_EQ(wide.penX, 12) << "the ruby moves no pen";
  // (0 + 12) / 2 - 30 / 2 = -9: one string from x 91.
  EXPECT_EQ(InkColumns(90, 100).first, 92);
  EXPECT_EQ(InkColumns(90, 100).second, 91 + 25 + 4);

  ClearBack();
  TextBlock narrow(100, 100);
  Draw(narrow, Code(kCodeRuby) + "aaaa,ab]");
  // Slots of 24 pixels: (24 - 5) / 2 = 9 into each.
  EXPECT_EQ(InkColumns(90, 100, 100, 125).first, 110);
  EXPECT_EQ(InkColumns(90, 100, 125, 160).first, 134);
}

TEST_F(TextDrawTest, AnUnclosedRubyRunsToTheEndOfTheText) {
  TextBlock block(100, 100);
  Draw(block, Code(kCodeRuby) + "aa,bb");
  EXPECT_EQ(block.penX, 24);
  EXPECT_EQ(block.position, static_cast<int32_t>(block.workText.size()));
}

TEST_F(TextDrawTest, TheShadowSwitchDrawsEveryCharacterFirstInBlackBelowRight) {
  UsePlainFonts();
  for (int32_t shadow : {0, 1}) {
    RootRunner.textEdge = shadow;
    SetDrawTarget(kBackScreen);
    SetBlendMode(0, 255);
    DrawRectangle(90, 90, 140, 140, PackColor(128, 128, 128), 1);
    TextBlock block(100, 100);
    Draw(block, "a");
    const std::vector<uint32_t> inks = Inks(95, 95, 135, 135);
    EXPECT_EQ(std::count(inks.begin(), inks.end(), 0u), 0);
    EXPECT_EQ(std::find(inks.begin(), inks.end(), 0xFFFFFFu) != inks.end(), true);
    int black = 0;
    for (int y = 95; y < 135; ++y) {
      for (int x = 95; x < 135; ++x) black += BackPixel(x, y) == 0;
    }
    EXPECT_EQ(black > 0, shadow == 1) << shadow;
  }
}

TEST_F(TextDrawTest, CharactersOffTheScreenAreNeitherDrawnNorRendered) {
  for (int32_t x : {640, -89}) {
    TextBlock block(x, 100);
    Draw(block, "ab\ncd");
    EXPECT_EQ(block.penX, 24) << "the pen moves all the same";
  }
  TextBlock below(0, 480);
  Draw(below, "ab");
  EXPECT_EQ(InkColumns(0, 480).first, -1);
}

TEST_F(TextDrawTest, ZoomedDrawingScalesThePenOffsets) {
  TextBlock block(100, 100);
  block.sourceText = "ab";
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  block.revealed = 10.0;
  block.Layout(TextBlock::kDraw, 2.0, 2.0);
  // The second glyph starts at 100 + 12 x 2 and is twice as wide.
  EXPECT_EQ(InkColumns(100, 160).second, 124 + 2 * 12);
}

}  // namespace
