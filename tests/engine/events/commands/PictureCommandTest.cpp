// The picture command: which picture operation each flag word asks for,
// with which range and arguments, and the arguments a short command leaves
// at their defaults.

#include <string>
#include <vector>

#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/FakePictureHooks.h"

namespace {

class PictureCommandTest : public InterpreterTest {
 protected:
  // One command 150 with its integer arguments after the code.
  void Run(std::vector<int32_t> arguments, std::vector<std::string> strings = {}) {
    arguments.insert(arguments.begin(), 150);
    pictures.calls.clear();
    RunPlain(CommandListBuilder().Add(arguments, strings).Build());
  }
  static int32_t Word(int32_t operation, int32_t source = 0, int32_t extra = 0) {
    return operation | source << 4 | extra;
  }
  FakePictureHooks pictures;
};

TEST_F(PictureCommandTest, AShowPassesEveryArgumentInItsPlace) {
  V(5) = 77;
  // frames, divX, divY, pattern, opacity, x, y, zoom, angle, string variable, colour, delay, range end
  Run({Word(0, 0, 3 << 8 | 2 << 12 | 1 << 16 | 1 << 20 | 0x1000000 | 0x2000000), 2000005, 30, 4, 2, 3, 200, 10, 20,
       150, 900, 0, 0x1000000, 2000005, 70},
      {"Picture\\a.png"});
  ASSERT_EQ(pictures.calls.size(), 1u);
  const FakePictureHooks::Call& c = pictures.calls[0];
  EXPECT_EQ(c.what, "show");
  PictureRequest expected;
  expected.first = 70;
  expected.last = 77;
  expected.text = "Picture\\a.png";
  expected.frames = 30;
  expected.divX = 4;
  expected.divY = 2;
  expected.pattern = 3;
  expected.opacity = 200;
  expected.x = 10;
  expected.y = 20;
  expected.zoom = 150;
  expected.zoomMode = 1;
  expected.angle = 900;
  expected.blend = 3 | 0x100;
  expected.anchor = 2;
  expected.relative = true;
  expected.color = 0x1000000;
  expected.delay = 77;
  EXPECT_EQ(c.request, expected);
}

TEST_F(PictureCommandTest, SourcesAndOperations) {
  V(1) = 42;
  Variables.SetStringVariable(3000002, "Picture\\b\x01\x05.png");
  struct Case {
    int32_t word;
    std::string what;
    std::string text;
    bool ninePiece;
  };
  const Case cases[] = {
      {Word(0, 0), "show", "s0", false},
      {Word(0, 1), "show", "Picture\\b\\E.png", false},  // control codes back to escapes
      {Word(0, 2), "showText", "v=42", false},           // expanded now
      {Word(0, 3), "show", "s0", true},
      {Word(0, 4), "show", "Picture\\b\\E.png", true},
      {Word(0, 5), "", "", false},
      {Word(1, 2), "move", "", false},
      {Word(4), "", "", false},
  };
  for (const Case& c : cases) {
    Run({c.word, 1, 0, 8, 6, 1, 255, 0, 0, 100, 0, 3000002}, {c.what == "showText" ? "v=\\v[1]" : "s0"});
    if (c.what.empty()) {
      EXPECT_TRUE(pictures.calls.empty()) << c.word;
      continue;
    }
    ASSERT_EQ(pictures.calls.size(), 1u) << c.word;
    EXPECT_EQ(pictures.calls[0].what, c.what) << c.word;
    EXPECT_EQ(pictures.calls[0].request.text, c.text) << c.word;
    EXPECT_EQ(pictures.calls[0].request.ninePiece, c.ninePiece) << c.word;
  }
}

TEST_F(PictureCommandTest, AShortShowTakesTheNeutralColourAndNoDelay) {
  Run({Word(0), 1, 0, 1, 1, 1, 255, 0, 0, 100, 0, 0, 0x646465});
  ASSERT_EQ(pictures.calls.size(), 1u);
  EXPECT_EQ(pictures.calls[0].request.color, 0x646465) << "14 arguments: the colour is there";
  Run({Word(0), 1, 0, 1, 1, 1, 255, 0, 0, 100, 0, 0});
  EXPECT_EQ(pictures.calls[0].request.color, 0x646464);
  EXPECT_EQ(pictures.calls[0].request.delay, 0);
  Run({Word(0, 0, 0x1000000), 5, 0, 1, 1, 1, 255, 0, 0, 100, 0, 0, 0x646464, 0});
  EXPECT_EQ(pictures.calls[0].request.last, 5) << "no range end: one picture";
}

TEST_F(PictureCommandTest, ARangeEndBelowTheStartGivesTheSameRange) {
  for (const auto& [a, b] : {std::pair{3, 9}, std::pair{9, 3}}) {
    Run({Word(2, 0, 0x1000000), a, 15, 4, 0x123456, b});
    ASSERT_EQ(pictures.calls.size(), 1u);
    EXPECT_EQ(pictures.calls[0].values, (std::vector<int32_t>{3, 9, 15, 4, 0x123456}));
    Run({Word(3, 0, 0x1000000), a, b});
    EXPECT_EQ(pictures.calls[0].what, "cancel");
    EXPECT_EQ(pictures.calls[0].values, (std::vector<int32_t>{3, 9}));
  }
}

TEST_F(PictureCommandTest, AMovePassesNeitherAnchorNorMapFollowing) {
  Run({Word(1, 0, 5 << 8 | 3 << 12 | 0x2000000 | 2 << 20), 8, 12, 0, 0, -1000000, 128, 5, 6, 50, -1000000});
  ASSERT_EQ(pictures.calls.size(), 1u);
  const PictureRequest& r = pictures.calls[0].request;
  EXPECT_EQ(pictures.calls[0].what, "move");
  EXPECT_EQ(r.blend, 5);
  EXPECT_EQ(r.anchor, 0);
  EXPECT_EQ(r.zoomMode, 2);
  EXPECT_EQ(r.pattern, -1000000);
  EXPECT_EQ(r.angle, -1000000);
  EXPECT_EQ(r.frames, 12);
}

TEST_F(PictureCommandTest, AnEraseReadsItsOptionalArgumentsOnlyWhenThere) {
  Run({Word(2), 4, 10});
  EXPECT_EQ(pictures.calls[0].values, (std::vector<int32_t>{4, 4, 10, 0, 0x646464}));
  Run({Word(2), 4, 10, 2000001});
  V(1) = 6;
  Run({Word(2), 4, 10, 2000001});
  EXPECT_EQ(pictures.calls[0].values, (std::vector<int32_t>{4, 4, 10, 6, 0x646464}));
}

TEST_F(PictureCommandTest, TheEffectCommandReachesThePictureRangeAsGiven) {
  V(1) = 6;
  pictures.calls.clear();
  RunPlain(CommandListBuilder().Add({290, 3 << 4, 2000001, 7, 2, 8, 0, 4}).Build());
  ASSERT_EQ(pictures.calls.size(), 1u);
  EXPECT_EQ(pictures.calls[0].what, "effect");
  EXPECT_EQ(pictures.calls[0].values, (std::vector<int32_t>{7, 2, 3, 8, 0, 4, 6}));
}

TEST_F(PictureCommandTest, TheListGoesOnWithTheNextLineInTheSameFrame) {
  pictures.calls.clear();
  RunPlain(CommandListBuilder().Add({150, Word(3), 1}).Add({150, Word(3), 2}).Variable(2000000, 5, 0, 0, 0).Build());
  EXPECT_EQ(pictures.calls.size(), 2u);
  EXPECT_EQ(V(0), 5);
}

}  // namespace
