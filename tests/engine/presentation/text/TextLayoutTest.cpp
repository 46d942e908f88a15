#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/text/TextBlock.h"
#include "tests/engine/presentation/MessageText.h"
#include "tests/engine/presentation/RichTextFixture.h"

namespace {

using Table = std::vector<int32_t>;

// Measures with fake glyphs: a single-byte character advances half its
// size, a two-byte one its size - 1.
class TextLayoutTest : public RichTextFixture {
 protected:
  void SetUp() override {
    RichTextFixture::SetUp();
    RootRunner.messageFontSize = 24;
  }
  TextBlock Measured(const std::string& text) {
    TextBlock block;
    block.sourceText = text;
    block.Layout(TextBlock::kMeasure, 1.0, 1.0);
    return block;
  }
};

TEST_F(TextLayoutTest, LineTablesOfMeasuredText) {
  struct Case {
    const char* what;
    std::string text;
    Table widths, tops, heights;
  };
  const std::string ab = "ab";
  const Case cases[] = {
      {"spacing of setting byte 11 after a line", "ab\nc", {24, 12}, {0, 30}, {24, 24}},
      {"no spacing after an empty first line", "\nab", {0, 24}, {0, 0}, {0, 24}},
      {"an empty line keeps the font size as its height", "a\n\nb", {12, 0, 12}, {0, 0, 60}, {24, 24, 24}},
      {"two-byte characters", "あい", {46}, {0}, {24}},
      {"line spacing code", WideCode(kCodeLineSpacing, 32000 + 16) + "a\nb", {12, 12}, {0, 40}, {24, 24}},
      {"negative line spacing", WideCode(kCodeLineSpacing, 32000 - 8) + "a\nb", {12, 12}, {0, 16}, {24, 24}},
      {"line height code", SmallCode(kCodeLineHeight, 40) + "a", {12}, {0}, {40}},
      {"font size code", SmallCode(kCodeFontSize, 30) + "ab", {30}, {0}, {30}},
      {"font size snapped up", SmallCode(kCodeFontSize, 5) + "ab", {6}, {0}, {7}},
      {"font size snapped down", SmallCode(kCodeFontSize, 200) + "ab", {128}, {0}, {129}},
      {"squeeze", Code(kCodeSqueeze) + "\x03" + "ab", {18}, {0}, {24}},
      {"squeeze of -5", Code(kCodeSqueeze) + "\xFB" + "ab", {34}, {0}, {24}},
      {"backslash", Code(kCodeBackslash) + "a", {24}, {0}, {24}},
      {"icon 1000 is consumed and ignored", "a" + WideCode(kCodeIcon, 1000) + "b", {24}, {0}, {24}},
      {"offsets move nothing", "a" + WideCode(kCodeMoveX, 40) + WideCode(kCodeMoveY, 9) + "b", {24}, {0}, {24}},
      {"carriage return skipped", "a\rb", {24}, {0}, {24}},
      {"edge widens the glyphs", Code(kCodeEdgeOn) + "a" + Code(kCodeEdgeOff) + "a", {26}, {0}, {24}},
      {"cut-off sequence ends the layout", "ab\x01", {24}, {0}, {24}},
      {"cut-off arguments end the layout", "ab" + Code(kCodeSpeed) + "\x0E", {24}, {0}, {24}},
  };
  for (const Case& c : cases) {
    const TextBlock block = Measured(c.text);
    EXPECT_EQ(block.lineWidths, c.widths) << c.what;
    EXPECT_EQ(block.lineTops, c.tops) << c.what;
    EXPECT_EQ(block.lineHeights, c.heights) << c.what;
  }
}

TEST_F(TextLayoutTest, MeasureGivesTheWidestLineAndTheLowestBottom) {
  TextBlock block;
  block.sourceText = "ab\nc";
  int32_t width = 0, height = 0;
  EXPECT_EQ(block.Measure(width, height), 2);
  EXPECT_EQ(width, 24);
  EXPECT_EQ(height, 54);
  EXPECT_EQ(block.widestLine, 24);
  EXPECT_EQ(block.widestPixelLine, 24);
}

TEST_F(TextLayoutTest, AnEmptySourceLeavesTheTablesAsTheyWere) {
  TextBlock block = Measured("ab\nc");
  block.sourceText.clear();
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  EXPECT_EQ(block.lineTops, (Table{0, 30}));
  EXPECT_EQ(block.workText, "ab\nc");
}

TEST_F(TextLayoutTest, LetterSqueezeOfTheGameTakesHalfPerByte) {
  GameInformation.settingBytes[GameInfo::kLetterSqueeze] = 4;
  EXPECT_EQ(Measured("ab").lineWidths, Table{20});  // 12 - 4 / 2 each
  EXPECT_EQ(Measured("あ").lineWidths, Table{19});   // 23 - 2 x 4 / 2
  GameInformation.settingBytes[GameInfo::kLetterSqueeze] = 0xFD;  // signed: -3
  EXPECT_EQ(Measured("ab").lineWidths, Table{26});  // 12 - (-3 / 2 = -1)
}

TEST_F(TextLayoutTest, OnTheSmallGridSizesDoubleOnTheScreenAndStayInGamePixelsInTheTables) {
  TileUnit = 16;
  RootRunner.messageFontSize = 20;
  const TextBlock block = Measured("ab\nc");
  EXPECT_NE(TextResourcesHub.fontTables[0][40], 0) << "a size-20 character takes a 40-pixel font";
  EXPECT_EQ(TextResourcesHub.fontTables[0][20], 0);
  EXPECT_EQ(block.linePixelWidths, (Table{40, 20}));  // 20 pixels a character
  EXPECT_EQ(block.lineWidths, (Table{20, 10}));
  EXPECT_EQ(block.lineHeights, (Table{20, 20}));
  // Spacing (6 x 16 / 32) x 2 = 6 below 2 x 20 screen pixels, in game pixels.
  EXPECT_EQ(block.lineTops, (Table{0, 23}));
}

TEST_F(TextLayoutTest, SnappedSizesPerTileUnit) {
  const struct {
    int32_t tile, size, snapped;
  } cases[] = {{32, 1, 7}, {32, 7, 7}, {32, 24, 24}, {32, 129, 129}, {32, 240, 129},
               {16, 1, 2}, {16, 9, 9},  {16, 80, 80},  {16, 81, 80}};
  for (const auto& c : cases) {
    TileUnit = c.tile;
    EXPECT_EQ(TextBlock::SnapFontSize(c.size), c.snapped) << c.tile << " " << c.size;
  }
}

TEST_F(TextLayoutTest, AChoiceBlockKeepsItsHeightsAtTheChoiceCount) {
  SystemStateHub.choiceCount = 2;
  TextBlock block;
  block.choiceBlock = 1;
  block.sourceText = "a\nb\nc\n";
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  // Cut to two after every character; the line end of the third line
  // lengthens them again with a 0.
  EXPECT_EQ(block.lineHeights, (Table{24, 24, 0}));
  EXPECT_EQ(block.lineTops, (Table{0, 30, 60}));  // spacing of setting byte 12
  // A draw pass reads the cut tables without passing their ends.
  block.revealed = 100.0;
  block.Layout(TextBlock::kDraw, 1.0, 1.0);
  EXPECT_EQ(block.penY, 84);
}

TEST_F(TextLayoutTest, AnEmptyChoiceRowHasNoHeightAndNoSpacing) {
  SystemStateHub.choiceCount = 3;
  TextBlock block;
  block.choiceBlock = 1;
  block.sourceText = "a\n\nc\n";
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  EXPECT_EQ(block.lineHeights, (Table{24, 0, 24}));
  EXPECT_EQ(block.lineTops, (Table{0, 0, 30}));
}

}  // namespace
