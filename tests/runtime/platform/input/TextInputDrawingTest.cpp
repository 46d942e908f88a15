// Drawing a key-input field in a running layer with fake glyphs: its text
// and cursor, the composition with its clauses, the candidate window, the
// colours, and the wrap at the draw region's right edge.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/graphics/graphic/SoftDrawFamilies.h"
#include "runtime/platform/input/KeyRing.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/system/PlatformState.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

struct Box {
  IntRect rect;
  uint32_t color;
  bool operator==(const Box& o) const {
    return rect.left == o.rect.left && rect.top == o.rect.top && rect.right == o.rect.right &&
           rect.bottom == o.rect.bottom && color == o.color;
  }
};
std::vector<Box> gBoxes;
int gOutlines = 0;

void RecordBox(MemImg*, const IntRect* rect, uint32_t color) { gBoxes.push_back({*rect, color}); }
void RecordLines(MemImg*, const LineSegment*, int) { ++gOutlines; }

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.rect.left << "," << b.rect.top << "," << b.rect.right << "," << b.rect.bottom << " #"
             << std::hex << b.color << std::dec << ")";
}

class TextInputDrawingTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    gBoxes.clear();
    gOutlines = 0;
  }
  void TearDown() override {
    gSoftDrawFamilies = SoftDrawFamilies{};
    GraphicsFixture::TearDown();
  }
  void StartDrawing() {
    Start(32);
    ASSERT_EQ(SetDrawTarget(kBackScreen), 0);
    ClearDrawTarget();
    gSoftDrawFamilies.fillRect = RecordBox;
    gSoftDrawFamilies.drawLines = RecordLines;
    font = GetDefaultFont();
    s = QueryFontSize(font);
  }
  int Width(const char* text, int bytes = -1) const { return GetTextWidthWithFont(text, bytes, font, 0); }
  static int64_t Colour(int which) { return gPlatform.textInput.colors[which]; }
  static std::vector<uint32_t> Screen() {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) pixels.push_back(BackPixel(x, y));
    }
    return pixels;
  }
  static void SetComposition(const char* text, int cursorChars, std::vector<int32_t> clauses) {
    TextInputState& t = gPlatform.textInput;
    std::strcpy(t.composition, text);
    t.compositionCursor = cursorChars;
    t.clauseCount = static_cast<int32_t>(clauses.size());
    for (size_t i = 0; i < clauses.size(); ++i) t.clauseOffsets[i] = clauses[i];
  }
  static void SetCandidates(const std::vector<std::string>& texts, int selection) {
    CandidateList& list = gPlatform.textInput.candidates;
    list.count = static_cast<int32_t>(texts.size());
    list.selection = selection;
    int32_t at = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
      list.offsets[i] = at;
      std::memcpy(list.text + at, texts[i].c_str(), texts[i].size() + 1);
      at += static_cast<int32_t>(texts[i].size() + 1);
    }
  }

  int font = -1;
  int s = 0;
};

const char kComposition[] = "\x82\xA0\x82\xA2\x82\xA4";  // three kana, 6 bytes

TEST_F(TextInputDrawingTest, DefaultColoursAndTheirSetter) {
  StartDrawing();
  EXPECT_EQ(Colour(kInputText), PackColor(255, 255, 255));
  EXPECT_EQ(Colour(kInputComposition), PackColor(255, 255, 0));
  EXPECT_EQ(Colour(kInputCompositionCursor), PackColor(0, 255, 255));
  EXPECT_EQ(Colour(kInputSelected), PackColor(255, 0, 0));
  EXPECT_EQ(Colour(kInputUnused7), PackColor(255, 255, 20));
  EXPECT_EQ(Colour(kInputEdge), PackColor(0, 0, 0));
  EXPECT_EQ(Colour(kInputCandidateFrame), PackColor(255, 255, 0));
  EXPECT_EQ(Colour(kInputCandidateBackground), PackColor(0, 0, 0));

  EXPECT_EQ(SetTextInputColors(1, -1, 3, -1, -1, -1, -1, -1, -1, -1, -1, 12), 0);
  EXPECT_EQ(Colour(kInputText), 1);
  EXPECT_EQ(Colour(kInputCursor), PackColor(255, 255, 255)) << "-1 keeps";
  EXPECT_EQ(Colour(kInputCandidateFrame), 3) << "the frame follows the composition colour";
  EXPECT_EQ(Colour(kInputCandidateBackground), 12);
  SetTextInputColors(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 11, -1);
  EXPECT_EQ(Colour(kInputCandidateFrame), 11);
  EXPECT_EQ(Colour(kInputComposition), 3);
  EXPECT_EQ(Colour(kInputCandidateBackground), PackColor(0, 0, 0)) << "-1 background is black";
}

TEST_F(TextInputDrawingTest, TheActiveFieldDrawsTextCursorAndCompositionWithItsClauses) {
  StartDrawing();
  const int field = CreateTextInput(20, 0, 0, 0);
  ASSERT_EQ(SetTextInputText("ab", field), 0);
  ASSERT_EQ(ActivateTextInput(field), 0);
  SetComposition(kComposition, 1, {0, 2, 6});
  ASSERT_EQ(DrawTextInput(10, 20, field), 0);

  const int d = s / 10;
  const int cx = 10 + Width("ab");
  const int at2 = cx + Width(kComposition, 2);
  const int at6 = cx + Width(kComposition, 6);
  const std::vector<Box> want = {
      {{cx, 20, cx + 2, 20 + s}, static_cast<uint32_t>(Colour(kInputCursor))},
      {{cx, 20, at6, 20 + s}, static_cast<uint32_t>(Colour(kInputComposition))},
      {{at2, 20, at6, 20 + s}, static_cast<uint32_t>(Colour(kInputSelected))},
      {{at2, 20, at2 + 2, 20 + s}, static_cast<uint32_t>(Colour(kInputCompositionCursor))},
      {{cx + 2 * d, 20 + s + d, at2 - 2 * d, 20 + s + 2 * d}, static_cast<uint32_t>(Colour(kInputClauseUnderline))},
      {{at2 + 2 * d, 20 + s + d, at6 - 2 * d, 20 + s + 2 * d},
       static_cast<uint32_t>(Colour(kInputClauseUnderline))},
  };
  EXPECT_EQ(gBoxes, want);
  EXPECT_EQ(gOutlines, 0) << "no candidate window";

  // The text is the field's and the composition's, in black with a yellow edge.
  const std::vector<uint32_t> drawn = Screen();
  ClearDrawTarget();
  DrawTextLineWithFont(10, 20, "ab", static_cast<uint32_t>(Colour(kInputText)), font,
                       static_cast<uint32_t>(Colour(kInputEdge)), 0);
  DrawTextLineWithFont(cx, 20, kComposition, 0, font, static_cast<uint32_t>(Colour(kInputComposition)), 0);
  EXPECT_TRUE(drawn == Screen());

  // A single clause is not marked; a field that is not active has no composition.
  gBoxes.clear();
  SetComposition(kComposition, 0, {0, 6});
  DrawTextInput(10, 20, field);
  for (const Box& b : gBoxes) EXPECT_NE(b.color, static_cast<uint32_t>(Colour(kInputSelected))) << b;
  const int other = CreateTextInput(5, 0, 0, 0);
  gBoxes.clear();
  EXPECT_EQ(DrawTextInput(10, 20, other), 0);
  EXPECT_EQ(gBoxes.size(), 1u) << "its cursor only";
}

TEST_F(TextInputDrawingTest, TheCandidateWindowPagesAndStaysInsideTheRegion) {
  StartDrawing();
  const int field = CreateTextInput(20, 0, 0, 0);
  ActivateTextInput(field);
  SetComposition(kComposition, 0, {});
  SetCandidates({"a", "bb", "c", "d", "e", "ffff", "g"}, 5);
  ASSERT_EQ(DrawTextInput(600, 20, field), 0);
  // Page 2 holds "1:ffff" and "2:g", then "6/7".
  const int m = s / 3;
  const int w = std::max({Width("1:ffff"), Width("2:g"), Width("6/7")});
  const Box* background = nullptr;
  for (const Box& b : gBoxes) {
    if (b.color == static_cast<uint32_t>(Colour(kInputCandidateBackground))) background = &b;
    EXPECT_NE(b.color, static_cast<uint32_t>(Colour(kInputCompositionCursor))) << "no cursor beside a list";
  }
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->rect.right, 640);
  EXPECT_EQ(background->rect.left, 640 - w - 2 * m);
  EXPECT_EQ(background->rect.top, 20 + s + s / 2);
  EXPECT_EQ(background->rect.bottom, 20 + s * 4 + s / 2 + 2 * m);
  EXPECT_EQ(gOutlines, 1);

  // Near the bottom it goes above the text.
  gBoxes.clear();
  DrawTextInput(0, 470, field);
  background = nullptr;
  for (const Box& b : gBoxes) {
    if (b.color == static_cast<uint32_t>(Colour(kInputCandidateBackground))) background = &b;
  }
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->rect.bottom, 470);
  EXPECT_EQ(background->rect.bottom - background->rect.top, s * 3 + 2 * m);
}

TEST_F(TextInputDrawingTest, EndedAndUnknownFieldsAreRefused) {
  StartDrawing();
  const int field = CreateTextInput(20, 0, 0, 0);
  EXPECT_EQ(DrawTextInput(0, 0, field + 1), -1);
  ActivateTextInput(field);
  KeyRingPush(13);
  ProcessTextInput();
  ASSERT_EQ(GetTextInputState(field), 1);
  EXPECT_EQ(DrawTextInput(0, 0, field), -1);
  EXPECT_TRUE(gBoxes.empty());
}

TEST_F(TextInputDrawingTest, WrappingEndsInAnEmptyRegionAndWithCharactersWiderThanTheRegion) {
  StartDrawing();
  const int field = CreateTextInput(40, 0, 0, 0);
  ASSERT_EQ(SetTextInputText("\x82\xA0\x82\xA0\x82\xA0", field), 0);
  // A region without width or height: nothing to draw, and the call returns.
  for (const IntRect& empty : {IntRect{100, 0, 100, 480}, IntRect{0, 50, 640, 50}}) {
    gDrawState.drawRegion = empty;
    EXPECT_EQ(DrawTextInput(120, 10, field), 0);
    EXPECT_TRUE(gBoxes.empty());
  }
  // Four pixels are narrower than one character: each line shows the next
  // four pixels of the text, down to the region's bottom at the latest.
  gDrawState.drawRegion = {0, 0, 4, 480};
  EXPECT_EQ(DrawTextInput(0, 0, field), 0);
  const int lineHeight = s + 3 * (s / 10);
  int inkedLines = 0;
  for (int line = 0; line * lineHeight < 480; ++line) {
    bool ink = false;
    for (int y = line * lineHeight; y < std::min(480, line * lineHeight + s); ++y) {
      for (int x = 0; x < 4; ++x) ink = ink || BackPixel(x, y) != 0;
    }
    inkedLines += ink;
  }
  const int lines = (Width("\x82\xA0\x82\xA0\x82\xA0") + 3) / 4;
  EXPECT_GE(inkedLines, lines / 2);
  EXPECT_LE(inkedLines, lines);
  for (int y = 0; y < 480; ++y) {
    for (int x = 4; x < 640; ++x) ASSERT_EQ(BackPixel(x, y), 0u) << x << "," << y;
  }
}

}  // namespace
