#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/graphics/graphic/DrawOperations.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

// What the renderer's families were handed.
struct Call {
  std::string family;
  const MemImg* destination;
  int sourceWidth;
  std::vector<int> numbers;
};
std::vector<Call> gCalls;

int WidthOf(const MemImg* source) { return source ? source->width : -1; }

void RecordScaled(MemImg* d, const MemImg* s, int x1, int y1, int x2, int y2, int, const MemImg*) {
  gCalls.push_back({"scaled", d, WidthOf(s), {x1, y1, x2, y2}});
}
void RecordRotated(MemImg* d, const MemImg* s, int x, int y, float, float, int, int turn, const MemImg*) {
  gCalls.push_back({"rotated", d, WidthOf(s), {x, y, turn}});
}
void RecordTriangle(MemImg* d, const MemImg* s, const TexturedVertex* v, int, const MemImg*, uint32_t) {
  gCalls.push_back({"triangle", d, WidthOf(s), {v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y}});
}
void RecordFill(MemImg* d, const IntRect* r, uint32_t color) {
  gCalls.push_back({"fill", d, -1, {r->left, r->top, r->right, r->bottom, static_cast<int>(color)}});
}
void RecordLines(MemImg* d, const LineSegment*, int count) { gCalls.push_back({"lines", d, -1, {count}}); }

class DrawDispatchTest : public GraphicsFixture, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start(32);
    gSoftDrawFamilies = SoftDrawFamilies{RecordScaled, RecordRotated, RecordTriangle, RecordFill, RecordLines};
    gCalls.clear();
  }
  void TearDown() override {
    gSoftDrawFamilies = SoftDrawFamilies{};
    GraphicsFixture::TearDown();
  }
};

struct DrawCase {
  const char* name;
  std::function<int(int graphic)> draw;
  std::vector<Call> expected;  // destination filled in by the test
};

std::vector<DrawCase> Cases() {
  return {
      {"stretched", [](int g) { return DrawGraphicStretched(10, 20, 110, 70, g, 1); },
       {{"scaled", nullptr, 16, {10, 20, 110, 70}}}},
      {"stretched mirrored", [](int g) { return DrawGraphicStretched(110, 20, 10, 70, g, 0); },
       {{"scaled", nullptr, 16, {110, 20, 10, 70}}}},
      {"flipped", [](int g) { return DrawGraphicFlipped(5, 6, g, 0); }, {{"scaled", nullptr, 16, {21, 6, 5, 14}}}},
      {"part stretched", [](int g) { return DrawGraphicPartStretched(0, 0, 32, 16, 8, 4, 8, 4, g, 0); },
       {{"scaled", nullptr, 16, {-32, -16, 32, 16}}}},
      {"rotated", [](int g) { return DrawGraphicRotated(50.7f, 60.2f, 2.0, 0.5, g, 0, 1); },
       {{"rotated", nullptr, 16, {50, 60, 1}}}},
      {"rotated int", [](int g) { return DrawGraphicRotatedInt(-3, 4, 1.0, 0.0, g, 0, 0); },
       {{"rotated", nullptr, 16, {-3, 4, 0}}}},
      {"free form", [](int g) { return DrawGraphicFreeForm(0, 0, 30, 0, 30, 20, 0, 20, g, 0); },
       {{"triangle", nullptr, 16, {0, 0, 30, 0, 0, 20}}, {"triangle", nullptr, 16, {30, 0, 0, 20, 30, 20}}}},
      {"filled box", [](int) { return DrawRectangle(1, 2, 3, 4, 0x00ABCDEF, 1); },
       {{"fill", nullptr, -1, {1, 2, 3, 4, 0xABCDEF}}}},
      {"outline", [](int) { return DrawRectangle(1, 2, 30, 40, 0x123, 0); }, {{"lines", nullptr, -1, {4}}}},
  };
}

// Back screen (-2), front screen (-4) and a graphic (1) as targets.
TEST_P(DrawDispatchTest, EveryDrawReachesItsFamilyOnTheTarget) {
  const int targetKind = GetParam();
  int target = targetKind;
  if (targetKind == 1) {
    SetCreateDrawableGraphics(1);
    target = CreateBlankGraphic(200, 100, 1);
    SetCreateDrawableGraphics(0);
  }
  ASSERT_EQ(SetDrawTarget(target), 0);
  const MemImg* destination = gScreen.drawImage;
  ASSERT_NE(destination, nullptr);
  const MemImg* screens[] = {&gScreen.front, nullptr, &gScreen.back};
  if (targetKind < 0) {
    EXPECT_EQ(destination, screens[targetKind + 4]);
  }
  const int g = SolidGraphic(16, 8, 0x102030);
  for (const DrawCase& c : Cases()) {
    gCalls.clear();
    const int presents = presenter.presents;
    EXPECT_EQ(c.draw(g), 0) << c.name;
    ASSERT_EQ(gCalls.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < gCalls.size(); ++i) {
      EXPECT_EQ(gCalls[i].family, c.expected[i].family) << c.name;
      EXPECT_EQ(gCalls[i].destination, destination) << c.name;
      EXPECT_EQ(gCalls[i].sourceWidth, c.expected[i].sourceWidth) << c.name;
      EXPECT_EQ(gCalls[i].numbers, c.expected[i].numbers) << c.name;
    }
    // The front screen of software mode reaches the window at once.
    EXPECT_EQ(presenter.presents, presents + (targetKind == -4 ? 1 : 0)) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, DrawDispatchTest, ::testing::Values(-2, -4, 1));

TEST_F(GraphicsFixture, DrawsWithAnEmptyRegionOrABadGraphicStopBeforeTheRenderer) {
  Start(32);
  gSoftDrawFamilies = SoftDrawFamilies{RecordScaled, RecordRotated, RecordTriangle, RecordFill, RecordLines};
  gCalls.clear();
  SetDrawTarget(kBackScreen);
  const int g = SolidGraphic(4, 4, 0xFFFFFF);
  EXPECT_EQ(DrawGraphicStretched(0, 0, 8, 8, g + 1, 0), -1);
  EXPECT_EQ(DrawGraphicRotated(0, 0, 1, 0, g + 1, 0, 0), -1);
  EXPECT_EQ(DrawGraphicFreeForm(0, 0, 1, 0, 1, 1, 0, 1, g + 1, 0), -1);
  SetDrawRegion(5, 5, 5, 9);
  EXPECT_EQ(DrawGraphicStretched(0, 0, 8, 8, g + 1, 0), 0);
  EXPECT_EQ(DrawRectangle(0, 0, 8, 8, 0, 1), 0);
  EXPECT_TRUE(gCalls.empty());
  gSoftDrawFamilies = SoftDrawFamilies{};
}

TEST_F(GraphicsFixture, TheFirstScreensAreDrawnAndLeaveNothingBehind) {
  gSoftDrawFamilies = SoftDrawFamilies{RecordScaled, RecordRotated, RecordTriangle, RecordFill, RecordLines};
  gCalls.clear();
  Start(32);
  // The black graphic stretched over the whole front screen.
  ASSERT_EQ(gCalls.size(), 1u);
  EXPECT_EQ(gCalls[0].family, "scaled");
  EXPECT_EQ(gCalls[0].destination, &gScreen.front);
  EXPECT_EQ(gCalls[0].sourceWidth, 256);
  EXPECT_EQ(gCalls[0].numbers, (std::vector<int>{0, 0, 640, 480}));
  EXPECT_EQ(GetDrawTarget(), kFrontScreen);
  EXPECT_EQ(GetGraphicCount(), 0);
  EXPECT_EQ(gDrawState.blendMode, 0);
  gSoftDrawFamilies = SoftDrawFamilies{};
}

}  // namespace
