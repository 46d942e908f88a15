#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/PlatformState.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

namespace {

using DrawStateTest = GraphicsFixture;

bool SameRect(const IntRect& a, const IntRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ClipRectTest, ClipsWithoutEverInverting) {
  const IntRect screen = {0, 0, 640, 480};
  struct Case {
    IntRect in;
    IntRect out;
  } cases[] = {
      {{-10, -10, 50, 50}, {0, 0, 50, 50}},       {{700, 10, 800, 20}, {640, 10, 640, 20}},
      {{50, 50, 10, 10}, {50, 50, 50, 50}},       {{-100, -100, -50, -50}, {0, 0, 0, 0}},
      {{0, 0, 640, 480}, {0, 0, 640, 480}},       {{600, 400, 2147483647, 2147483647}, {600, 400, 640, 480}},
  };
  for (const Case& c : cases) {
    IntRect r = c.in;
    EXPECT_EQ(ClipRect(&r, screen), 0);
    EXPECT_TRUE(SameRect(r, c.out)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST_F(DrawStateTest, SettersClampTheirParameters) {
  Start();
  struct Case {
    int mode;
    int parameter;
    int stored;
  } cases[] = {{1, 300, 255}, {3, -5, 0}, {2, 128, 128}, {11, 256, 255}};
  for (const Case& c : cases) {
    SetBlendMode(c.mode, c.parameter);
    EXPECT_EQ(gDrawState.blendMode, c.mode);
    EXPECT_EQ(gDrawState.blendParameter, c.stored);
  }
  SetDrawBrightness(300, -1, 128);
  EXPECT_EQ(gDrawState.brightness, 0xFF0080u);
  SetTransparentColor(0x1FE, 0x100, 0x7F);
  EXPECT_EQ(gDrawState.transparentColor, 0xFE007Fu);
}

TEST_F(DrawStateTest, TheDrawRegionIsSortedAndClampedToTheTarget) {
  Start();
  SetDrawTarget(kBackScreen);
  SetDrawRegion(300, 200, -20, 900);
  EXPECT_TRUE(SameRect(gDrawState.drawRegion, IntRect{0, 200, 300, 480}));
  EXPECT_EQ(gDrawState.emptyRegion, 0);
  EXPECT_EQ(gDrawState.drawRegionF[3], 480.0f);
  SetDrawRegion(10, 10, 10, 50);
  EXPECT_EQ(gDrawState.emptyRegion, 1);
  // An empty region makes every draw return 0 at once, bad handles too.
  EXPECT_EQ(DrawGraphicAt(0, 0, 12345, 0), 0);
  EXPECT_EQ(DrawGraphicStretched(0, 0, 5, 5, -1, 0), 0);
  EXPECT_EQ(DrawRectangle(0, 0, 5, 5, 0, 1), 0);
}

TEST_F(DrawStateTest, PackColorSetsTheBitsNoChannelUses) {
  Start(32);
  EXPECT_EQ(PackColor(255, 255, 255), 0xFFFFFFFFu);
  EXPECT_EQ(PackColor(0x12, 0x34, 0x56), 0xFF123456u);
  int r = 0;
  int g = 0;
  int b = 0;
  EXPECT_EQ(UnpackColor(0xFF123456u, &r, &g, &b), 0);
  EXPECT_EQ(r, 0x12);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x56);
}

TEST_F(DrawStateTest, PackColorOnA16BitScreen) {
  Start(16);
  EXPECT_EQ(PackColor(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(PackColor(0xF8, 0, 0), 0xF800u);
  int r = 0;
  int g = 0;
  int b = 0;
  // The display is 32-bit here while the screens are 16-bit.
  EXPECT_EQ(UnpackColor(0xF800u, &r, &g, &b), 0);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
}

TEST_F(DrawStateTest, UnpackColorSurvivesChannelWidthsOutsideOneToEight) {
  Start(32);
  ColorFormat odd = {};
  MakeColorFormatFromMasks(&odd, 32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0);
  gScreen.screenFormat = odd;
  gScreen.softwareScreens = 0;
  int r = -1;
  int g = -1;
  int b = -1;
  EXPECT_EQ(UnpackColor(0xFFFFFFFFu, &r, &g, &b), 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 0);
  gScreen.softwareScreens = 1;
}

TEST_F(DrawStateTest, SetDrawTargetResetsTheRegionOnlyForANewSize) {
  Start();
  SetDrawTarget(kBackScreen);
  SetDrawRegion(10, 20, 30, 40);
  const int a = CreateBlankGraphic(320, 240, 1);
  const int b = CreateBlankGraphic(320, 240, 1);
  EXPECT_EQ(SetDrawTarget(a), 0);
  EXPECT_TRUE(SameRect(gDrawState.drawRegion, IntRect{0, 0, 320, 240}));
  SetDrawRegion(5, 6, 7, 8);
  EXPECT_EQ(SetDrawTarget(b), 0);
  EXPECT_TRUE(SameRect(gDrawState.drawRegion, IntRect{5, 6, 7, 8}));
  EXPECT_EQ(gDrawState.targetWidth, 320);
  // The camera looks at the target's centre from the distance of a
  // 60-degree view.
  EXPECT_FLOAT_EQ(gDrawState.view.m[3][0], -160.0f);
  EXPECT_FLOAT_EQ(gDrawState.projection.m[2][3], 1.0f);
}

TEST_F(DrawStateTest, AFailedSelectionRevertsOnceToTheOldTarget) {
  Start();
  const int a = CreateBlankGraphic(64, 64, 1);
  ASSERT_EQ(SetDrawTarget(a), 0);
  const int gone = CreateBlankGraphic(8, 8, 1);
  DeleteGraphic(gone);
  EXPECT_EQ(SetDrawTarget(gone), -1);
  EXPECT_EQ(GetDrawTarget(), a);
  EXPECT_EQ(gScreen.drawImage->width, 64);
  // The old target went too: no second try, no recursion.
  gDrawState.drawTarget = gone;
  EXPECT_EQ(SetDrawTarget(gone + 1), -2);
}

TEST_F(DrawStateTest, SetDrawTargetBeforeTheGraphicsStartFails) {
  EXPECT_EQ(SetDrawTarget(kBackScreen), -1);
  EXPECT_EQ(gDrawState.drawTarget, -2);
}

TEST_F(DrawStateTest, APerspectiveWithNearEqualToFarIsRefused) {
  Matrix4 m;
  SetIdentityMatrix(&m);
  EXPECT_EQ(MakePerspectiveMatrix(&m, 1.0f, 1.0f, 1.005f, 1.0f), -1);
  EXPECT_EQ(m.m[0][0], 1.0f);
  EXPECT_EQ(MakePerspectiveMatrix(&m, 0.001f, 1.0f, 100.0f, 1.0f), -1);
  EXPECT_EQ(MakePerspectiveMatrix(&m, 1.0471976f, 1.0f, 100.0f, 0.75f), 0);
  EXPECT_FLOAT_EQ(m.m[2][2], 100.0f / 99.0f);
}

TEST_F(DrawStateTest, ReinitKeepsTheLogIndentAtZero) {
  Start();
  gPlatform.logIndent = 0;
  ReinitGraphics();
  EXPECT_EQ(gPlatform.logIndent, 0);
}

}  // namespace
