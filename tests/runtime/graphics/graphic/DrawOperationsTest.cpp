#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "runtime/graphics/graphic/DrawOperations.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

class DrawOperationsTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start(32);
    SetDrawTarget(kBackScreen);
    ClearDrawTarget();
  }
  void TearDown() override {
    gSoftDrawFamilies = SoftDrawFamilies{};
    GraphicsFixture::TearDown();
  }
};

std::vector<LineSegment> gLines;

void RecordLines(MemImg*, const LineSegment* lines, int count) { gLines.assign(lines, lines + count); }

TEST_F(DrawOperationsTest, AGraphicFromAnImageDrawsItsPixels) {
  const int red = SolidGraphic(4, 3, 0xFF0000);
  ASSERT_GE(red, 0);
  EXPECT_EQ(DrawGraphicAt(10, 20, red, 0), 0);
  EXPECT_EQ(BackPixel(10, 20), 0xFF0000u);
  EXPECT_EQ(BackPixel(13, 22), 0xFF0000u);
  EXPECT_EQ(BackPixel(14, 22), 0u);
  EXPECT_EQ(BackPixel(13, 23), 0u);
  EXPECT_EQ(DrawGraphicAt(0, 0, red + 1, 0), -1);
}

TEST_F(DrawOperationsTest, ABlendGraphicSmallerThanTheGraphicRefusesTheDraw) {
  const int big = SolidGraphic(100, 100, 0x00FF00);
  const int small = CreateBlankGraphic(64, 64, 1);
  const int large = CreateBlankGraphic(128, 128, 1);
  gDrawState.blendGraphic = small;
  EXPECT_EQ(DrawGraphicAt(0, 0, big, 0), -1);
  EXPECT_EQ(BackPixel(0, 0), 0u);
  gDrawState.blendGraphic = large;
  EXPECT_EQ(DrawGraphicAt(0, 0, big, 0), 0);
  DeleteGraphic(large);
  // A blend graphic that is gone refuses too.
  EXPECT_EQ(DrawGraphicAt(0, 0, big, 0), -1);
}

TEST_F(DrawOperationsTest, ADerivedTargetDrawsAndClearsOnlyItsOwnRectangle) {
  const int parent = SolidGraphic(64, 64, 0x0000FF);
  const int derived = DeriveGraphic(16, 8, 10, 6, parent);
  const int dot = SolidGraphic(1, 1, 0xFFFFFF);
  ASSERT_EQ(SetDrawTarget(derived), 0);
  EXPECT_EQ(gScreen.drawImage->width, 10);
  EXPECT_EQ(DrawGraphicAt(0, 0, dot, 0), 0);
  ASSERT_EQ(SetDrawTarget(parent), 0);
  EXPECT_EQ(TargetPixel(16, 8) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(TargetPixel(0, 0) & 0xFFFFFF, 0x0000FFu);
  ASSERT_EQ(SetDrawTarget(derived), 0);
  EXPECT_EQ(ClearDrawTarget(), 0);
  ASSERT_EQ(SetDrawTarget(parent), 0);
  EXPECT_EQ(TargetPixel(16, 8) & 0xFFFFFF, 0u);
  EXPECT_EQ(TargetPixel(25, 13) & 0xFFFFFF, 0u);
  EXPECT_EQ(TargetPixel(26, 13) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(TargetPixel(15, 8) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(TargetPixel(16, 14) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(DrawOperationsTest, DrawGraphicPartMirrorsInPlaceAndPutsTheRegionBack) {
  GraphImage image = {};
  ASSERT_EQ(CreateXrgbGraphImage(4, 1, &image), 0);
  for (int x = 0; x < 4; ++x) SetGraphImagePixel(&image, x, 0, x * 60, 0, 0, 255);
  const int strip = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  SetDrawRegion(0, 0, 600, 400);
  // Columns 1 and 2 of the strip at (100, 50).
  EXPECT_EQ(DrawGraphicPart(100, 50, 1, 0, 2, 1, strip, 0, 0), 0);
  EXPECT_EQ(BackPixel(99, 50), 0u);
  EXPECT_EQ(BackPixel(100, 50), 60u << 16);
  EXPECT_EQ(BackPixel(101, 50), 120u << 16);
  EXPECT_EQ(BackPixel(102, 50), 0u);
  EXPECT_EQ(gDrawState.drawRegion.right, 600);
  EXPECT_EQ(gDrawState.drawRegionF[3], 400.0f);
  EXPECT_EQ(DrawGraphicPart(100, 50, 1, 0, 2, 1, strip + 1, 0, 0), -1);
  EXPECT_EQ(gDrawState.drawRegion.right, 600);
  // Sizes that would pass the 32-bit range are held at its end.
  EXPECT_EQ(DrawGraphicPart(2147483600, 0, 0, 0, 2147483600, 1, strip, 0, 0), 0);
  EXPECT_EQ(gDrawState.drawRegion.bottom, 400);
}

TEST_F(DrawOperationsTest, DrawGraphicPartStretchedRefusesASourceOfNoSize) {
  const int g = SolidGraphic(8, 8, 0xFFFFFF);
  EXPECT_EQ(DrawGraphicPartStretched(0, 0, 16, 16, 0, 0, 0, 8, g, 0), -1);
  EXPECT_EQ(DrawGraphicPartStretched(0, 0, 16, 16, 0, 0, 8, 0, g, 0), -1);
  EXPECT_EQ(BackPixel(0, 0), 0u);
  // A source rectangle of the graphic's own size at 1:1 draws it unscaled.
  EXPECT_EQ(DrawGraphicPartStretched(4, 4, 12, 12, 0, 0, 8, 8, g, 0), 0);
  EXPECT_EQ(BackPixel(4, 4), 0xFFFFFFu);
  EXPECT_EQ(gDrawState.drawRegion.right, 640);
}

TEST_F(DrawOperationsTest, DrawBlendGraphPutsBackABlendGraphicDeletedMeanwhile) {
  const int g = SolidGraphic(8, 8, 0xFFFFFF);
  const int previous = CreateBlankGraphic(16, 16, 1);
  const int blend = CreateBlankGraphic(16, 16, 1);
  ASSERT_EQ(SetBlendGraphic(previous, 10, 20), 0);
  DeleteGraphic(previous);
  EXPECT_EQ(DrawBlendGraph(0, 0, g, 0, blend, 100, 50), 0);
  EXPECT_EQ(gDrawState.blendGraphic, previous);
  EXPECT_EQ(gDrawState.blendGraphicBorder, 10);
  EXPECT_EQ(gDrawState.blendGraphicRange, 20);
}

TEST_F(DrawOperationsTest, TheOutlineDrawsFourLinesClockwiseWithTheEndPointsLeftOut) {
  gSoftDrawFamilies.drawLines = RecordLines;
  SetBlendMode(1, 77);
  EXPECT_EQ(DrawRectangle(10, 10, 20, 15, 0x123456, 0), 0);
  ASSERT_EQ(gLines.size(), 4u);
  const int expected[4][4] = {{10, 10, 19, 10}, {19, 10, 19, 14}, {19, 14, 10, 14}, {10, 14, 10, 10}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(gLines[i].x1, expected[i][0]);
    EXPECT_EQ(gLines[i].y1, expected[i][1]);
    EXPECT_EQ(gLines[i].x2, expected[i][2]);
    EXPECT_EQ(gLines[i].y2, expected[i][3]);
    EXPECT_EQ(gLines[i].color, 0x123456u);
    EXPECT_EQ(gLines[i].blendParameter, 77);
  }
  // Without the line draw the box is not drawn.
  gSoftDrawFamilies.drawLines = nullptr;
  EXPECT_EQ(DrawRectangle(10, 10, 20, 15, 0x123456, 0), -1);
}

TEST_F(DrawOperationsTest, ClearBlackensTheBackScreen) {
  const int g = SolidGraphic(640, 480, 0x808080);
  DrawGraphicAt(0, 0, g, 0);
  EXPECT_EQ(BackPixel(639, 479), 0x808080u);
  EXPECT_EQ(ClearDrawTarget(), 0);
  EXPECT_EQ(BackPixel(639, 479), 0u);
  EXPECT_EQ(BackPixel(0, 0), 0u);
}

TEST_F(DrawOperationsTest, FrontScreenDrawsReachTheWindowAtOnce) {
  const int g = SolidGraphic(2, 2, 0x00FF00);
  SetDrawTarget(kFrontScreen);
  const int presents = presenter.presents;
  EXPECT_EQ(DrawGraphicAt(5, 5, g, 0), 0);
  EXPECT_EQ(presenter.presents, presents + 1);
  EXPECT_EQ(presenter.WindowPixel(5, 5), 0x00FF00u);
  EXPECT_EQ(presenter.WindowPixel(4, 4), 0u);
}

TEST_F(DrawOperationsTest, RotatedDrawsOnTheFrontScreenTakeNonFiniteCoordinates) {
  const int g = SolidGraphic(8, 8, 0xFFFFFF);
  SetDrawTarget(kFrontScreen);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Without the rotated draw nothing is drawn; the bounding boxes of the
  // front screen are still worked out, through the truncating helpers.
  EXPECT_EQ(DrawGraphicRotated(nan, inf, 1e30, 0.5, g, 0, 0), -1);
  EXPECT_EQ(DrawGraphicFreeForm(nan, 0, inf, 0, -inf, 5, 3e38f, 9, g, 0), 0);  // quads report 0
}

}  // namespace
