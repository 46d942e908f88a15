#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "runtime/graphics/graphic/DrawOperations.h"
#include "runtime/graphics/graphic/DrawPath2D.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/shapes/FlatDraw.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/SoftDraw.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

class DrawOperationsTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    savedFamilies_ = gSoftDrawFamilies;
    Start(32);
    SetDrawTarget(kBackScreen);
    ClearDrawTarget();
  }
  void TearDown() override {
    gSoftDrawFamilies = savedFamilies_;
    GraphicsFixture::TearDown();
  }

  SoftDrawFamilies savedFamilies_{};
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

TEST_F(DrawOperationsTest, StretchedDrawsGoThroughTheScaledDraw) {
  GraphImage image = {};
  ASSERT_EQ(CreateXrgbGraphImage(5, 3, &image), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) SetGraphImagePixel(&image, x, y, x * 50, y * 80, 7, 255);
  const int g = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  ASSERT_GE(g, 0);
  SetDrawRegion(0, 0, 24, 480);
  gDrawState.blendMode = BlendTranslucent;
  gDrawState.blendParameter = 200;
  // Mirrored left to right, cut by the region's right edge.
  ASSERT_EQ(DrawGraphicStretched(30, 20, 17, 27, g, 0), 0);

  MemImg expected{};
  ASSERT_EQ(CreateMemImg(&expected, 640, 480, -1, 0, MemImgXrgb8888, 0, 0, nullptr), 0);
  FillMemImg(&expected, nullptr, 0);
  {
    Surface2DImage source(GetSurface2D(GetGraphicRecord(g)->parts[0]));
    ASSERT_NE(source.Get(), nullptr);
    SoftDrawImageScaled(&expected, source.Get(), 30, 20, 17, 27, 0, nullptr);
  }
  for (int y = 15; y < 35; ++y) {
    for (int x = 10; x < 40; ++x) {
      const uint8_t* at = expected.pixels + y * expected.store->pitch + x * 4;
      ASSERT_EQ(BackPixel(x, y), LoadPixelBytes(at, 4) & 0xFFFFFF) << x << "," << y;
    }
  }
  EXPECT_NE(BackPixel(17, 20), 0u);
  EXPECT_EQ(BackPixel(24, 20), 0u);

  // The whole graphic as a part gives the same pixels.
  ClearDrawTarget();
  ASSERT_EQ(DrawGraphicPartStretched(30, 20, 17, 27, 0, 0, 5, 3, g, 0), 0);
  for (int y = 15; y < 35; ++y) {
    for (int x = 10; x < 40; ++x) {
      const uint8_t* at = expected.pixels + y * expected.store->pitch + x * 4;
      ASSERT_EQ(BackPixel(x, y), LoadPixelBytes(at, 4) & 0xFFFFFF) << x << "," << y;
    }
  }
  ReleaseMemImg(&expected);
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
  // The renderer refuses what it cannot map; the bounding boxes of the
  // front screen are still worked out, through the truncating helpers.
  const int presents = presenter.presents;
  EXPECT_EQ(DrawGraphicRotated(nan, inf, 1e30, 0.5, g, 0, 0), 0);
  EXPECT_EQ(DrawGraphicRotated(10, 10, 1.0f, nan, g, 0, 0), 0);
  EXPECT_EQ(DrawGraphicRotated(10, 10, 0.0f, 0.5f, g, 0, 0), 0);
  EXPECT_EQ(presenter.WindowPixel(10, 10), 0u);
  EXPECT_GE(presenter.presents, presents);
  EXPECT_EQ(DrawGraphicFreeForm(nan, 0, inf, 0, -inf, 5, 3e38f, 9, g, 0), 0);  // quads report 0
}

// The boxes, outlines, rotated and free-form draws reach the renderer's own
// draws: each leaves the back screen as the renderer leaves a copy of it.
TEST_F(DrawOperationsTest, BoxesLinesRotatedAndFreeFormDrawsEqualTheRenderersOwn) {
  GraphImage image = {};
  ASSERT_EQ(CreateXrgbGraphImage(9, 6, &image), 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) SetGraphImagePixel(&image, x, y, x * 28, y * 40, (x * y * 7) & 255, 255);
  const int g = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  ASSERT_GE(g, 0);
  ASSERT_EQ(DrawBoxFilled(0, 0, 640, 480, 0x00204060), 0);
  ASSERT_EQ(SetBlendMode(1, 100), 0);

  struct Case {
    const char* name;
    std::function<int()> dispatch;
    std::function<void(MemImg* copy, MemImg* source)> renderer;
  };
  const Case cases[] = {
      {"filled box", [] { return DrawRectangle(5, 7, 50, 30, 0x00FF8040, 1); },
       [](MemImg* d, MemImg*) {
         const IntRect box{5, 7, 50, 30};
         SoftFillRect(d, &box, 0x00FF8040);
       }},
      {"outline", [] { return DrawRectangle(60, 10, 90, 40, 0x0080FF20, 0); },
       [](MemImg* d, MemImg*) {
         const LineSegment lines[4] = {{60, 10, 89, 10, 0x0080FF20, 0},
                                       {89, 10, 89, 39, 0x0080FF20, 0},
                                       {89, 39, 60, 39, 0x0080FF20, 0},
                                       {60, 39, 60, 10, 0x0080FF20, 0}};
         SoftDrawLines(d, lines, 4);
       }},
      {"rotated", [g] { return DrawGraphicRotatedInt(120, 80, 2.5, 0.7, g, 0, 0); },
       [](MemImg* d, MemImg* s) { SoftDrawImageRotated(d, s, 120, 80, 0.7f, 2.5f, 0, 0, nullptr); }},
      {"turned", [g] { return DrawGraphicRotatedInt(200, 80, 1.5, -0.3, g, 0, 1); },
       [](MemImg* d, MemImg* s) { SoftDrawImageRotated(d, s, 200, 80, -0.3f, 1.5f, 0, 1, nullptr); }},
      {"free form", [g] { return DrawGraphicFreeForm(300, 20, 340, 30, 335, 70, 290, 60, g, 0); },
       [](MemImg* d, MemImg* s) {
         const QuadCorner corners[4] = {{300, 20}, {340, 30}, {290, 60}, {335, 70}};
         SoftDrawQuad(d, s, corners, 0, nullptr);
       }},
  };
  Surface2DImage source(GetSurface2D(GetGraphicRecord(g)->parts[0]));
  ASSERT_NE(source.Get(), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MemImg& back = gScreen.back;
    const size_t bytes = static_cast<size_t>(back.store->pitch) * back.height;
    std::vector<uint8_t> copy(back.store->pixels, back.store->pixels + bytes);
    MemImg expected{};
    ASSERT_EQ(CreateMemImg(&expected, back.width, back.height, back.store->pitch, 0, MemImgXrgb8888, 0, 0,
                           copy.data()),
              0);
    ASSERT_EQ(c.dispatch(), 0);
    EXPECT_NE(std::memcmp(copy.data(), back.store->pixels, bytes), 0);  // it drew
    c.renderer(&expected, source.Get());
    EXPECT_EQ(std::memcmp(copy.data(), back.store->pixels, bytes), 0);
    ReleaseMemImg(&expected);
  }
}

}  // namespace
