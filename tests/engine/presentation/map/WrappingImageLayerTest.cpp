#include <gtest/gtest.h>

#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/map/WrappingImageLayer.h"
#include "tests/engine/presentation/map/MapDrawFixture.h"
#include "tests/engine/presentation/map/MapTestImages.h"

namespace {

class WrappingImageLayerTest : public MapDrawTest {
 protected:
  void SetUp() override {
    MapDrawTest::SetUp();
    UseTileMap(40, 30);
    UseImageList(0, 0);
  }
  // The panorama drawn alone on a cleared screen.
  void DrawPanorama() {
    ClearDrawTarget();
    panorama_.Draw();
  }

  Panorama panorama_;
  Fog fog_;
};

TEST_F(WrappingImageLayerTest, SpeedEightMovesAPixelAFrameAndComesRoundAfterTheWidth) {
  RootRunner.panorama[0] = 0;
  DrawPanorama();
  ASSERT_GE(panorama_.imageIndex, 0);
  RootRunner.panorama[1] = 8;
  const int32_t start = panorama_.offsetX;
  for (int32_t frame = 1; frame <= 640; ++frame) {
    panorama_.Scroll();
    ASSERT_EQ(panorama_.offsetX, (start + 8 * frame) % (8 * 640)) << frame;
  }
  EXPECT_EQ(panorama_.offsetX, start);
  DrawPanorama();
  EXPECT_EQ(BackPixel(start / 8 + 1, 1), 0xFF2020u) << "the image's corner where the offset puts it";
}

TEST_F(WrappingImageLayerTest, TheParallaxDivisorTiesTheImageToTheMapOrToTheScreen) {
  RootRunner.panorama[0] = 0;
  DrawPanorama();
  struct Case {
    int32_t divisor;
    int32_t expectedPixelsLeft;  // for the map scrolled 100 pixels right
  };
  const Case cases[] = {{1, 100}, {0, 0}, {-1, -100}, {2, 50}};
  for (const Case& c : cases) {
    RootRunner.panoramaValue = c.divisor;
    CurrentMap.scrollX = 0;
    panorama_.Scroll();
    const int32_t before = panorama_.offsetX;
    CurrentMap.scrollX = 4 * 100;
    panorama_.Scroll();
    const int32_t moved = ((before - panorama_.offsetX) % 5120 + 5120) % 5120;
    EXPECT_EQ(moved, (8 * c.expectedPixelsLeft % 5120 + 5120) % 5120) << "divisor " << c.divisor;
  }
}

TEST_F(WrappingImageLayerTest, ANameWithLinesSetsSpeedsAndDivisor) {
  struct Case {
    std::string text;
    int32_t speedX, speedY, divisor;
  };
  const Case cases[] = {
      {std::string(kSkyImage) + "\n4\n-2\n5", 4, -2, 1},
      {std::string(kSkyImage) + "\n-7", -7, 30, -1},
      {std::string(kSkyImage) + "\nx\n12abc\n-9", 0, 12, -1},
      {kSkyImage, 11, 30, -1},
  };
  for (const Case& c : cases) {
    panorama_ = Panorama();
    RootRunner.panorama[0] = -1;
    RootRunner.panorama[1] = 11;
    RootRunner.panorama[2] = 30;
    RootRunner.panoramaValue = -1;
    RootRunner.panoramaFileName = c.text;
    SystemStateHub.panoramaChanged = 1;
    DrawPanorama();
    EXPECT_EQ(RootRunner.panoramaFileName, kSkyImage);
    EXPECT_EQ(RootRunner.panorama[1], c.speedX) << c.text;
    EXPECT_EQ(RootRunner.panorama[2], c.speedY) << c.text;
    EXPECT_EQ(RootRunner.panoramaValue, c.divisor) << c.text;
    EXPECT_EQ(RootRunner.panorama[0], -2);
    EXPECT_EQ(panorama_.number, -2);
    EXPECT_EQ(SystemStateHub.panoramaChanged, 0);
    EXPECT_GE(panorama_.imageIndex, 0);
  }
}

TEST_F(WrappingImageLayerTest, HalfAPixelIsAWholeOneOnlyWhenScaled) {
  RootRunner.panorama[0] = 0;
  DrawPanorama();
  panorama_.offsetX = 5 * 8 + 5;  // 5 and 5/8 pixels
  panorama_.offsetY = 0;
  DrawPanorama();
  EXPECT_EQ(BackPixel(5, 1), 0xFF2020u);
  EXPECT_NE(BackPixel(4, 1), 0xFF2020u);
  EXPECT_EQ(panorama_.offsetX, 45);

  CurrentMap.zoom.zoom = 200;  // centre (0, 0): the image doubles from the corner
  DrawPanorama();
  EXPECT_EQ(panorama_.offsetX, 48);
  EXPECT_EQ(BackPixel(12, 1), 0xFF2020u);
  EXPECT_NE(BackPixel(11, 1), 0xFF2020u);
}

TEST_F(WrappingImageLayerTest, OffsetsNeverGoBelowZero) {
  RootRunner.panorama[0] = 0;
  DrawPanorama();
  const int32_t speeds[] = {-8, -5000, 7, INT32_MIN, INT32_MAX};
  const int32_t divisors[] = {0, 1, -1, 3};
  const int32_t shakes[] = {0, -9999, 13};
  const int32_t scrolls[] = {0, -12345, INT32_MAX};
  for (const int32_t speed : speeds) {
    for (const int32_t divisor : divisors) {
      for (const int32_t shake : shakes) {
        for (const int32_t scroll : scrolls) {
          RootRunner.panorama[1] = speed;
          RootRunner.panorama[2] = ~speed;
          RootRunner.panoramaValue = divisor;
          CurrentMap.shakeOffsetX = shake;
          CurrentMap.shakeOffsetY = -shake;
          CurrentMap.scrollX = scroll;
          CurrentMap.scrollY = scroll;
          panorama_.Scroll();
          ASSERT_GE(panorama_.offsetX, 0);
          ASSERT_LT(panorama_.offsetX, 8 * 640);
          ASSERT_GE(panorama_.offsetY, 0);
          ASSERT_LT(panorama_.offsetY, 8 * 480);
        }
      }
    }
  }
}

TEST_F(WrappingImageLayerTest, AMissingImageIsReportedOnceAndShowsNothing) {
  SystemDatabase.SetString(13, 1, 0, "Picture\\Nowhere.png");
  RootRunner.fog[0] = 1;
  ClearDrawTarget();
  fog_.Draw();
  fog_.Draw();
  EXPECT_EQ(errorLines, (std::vector<std::string>{"フォグ画像1番に変更されましたが、画像がありません！",
                                                  "Picture\\Nowhere.png", ""}));
  EXPECT_EQ(fog_.number, 1);
  EXPECT_EQ(fog_.imageIndex, -1);

  errorLines.clear();
  RootRunner.panoramaFileName = "Picture\\Gone.png";
  SystemStateHub.panoramaChanged = 1;
  DrawPanorama();
  EXPECT_EQ(errorLines, (std::vector<std::string>{"遠景画像が変更されましたが、以下の画像はありません！",
                                                  "Picture\\Gone.png", ""}));
  EXPECT_EQ(panorama_.imageIndex, -1);

  // An empty name asks for no image.
  RootRunner.panoramaFileName = "";
  SystemStateHub.panoramaChanged = 1;
  DrawPanorama();
  EXPECT_EQ(RootRunner.panorama[0], -1);
}

TEST_F(WrappingImageLayerTest, TheFogBlendsByItsKindAndOpacity) {
  WriteImage("Picture\\Grey.png", PixelImage(640, 480, 0x808080));
  SystemDatabase.SetString(13, 1, 0, "Picture\\Grey.png");
  RootRunner.fog[0] = 1;
  struct Case {
    int32_t kind;
    int32_t opacity;
    uint32_t expected;  // over a screen of 0x402010
  };
  const Case cases[] = {
      {0, 255, 0x808080}, {-3, 128, 0x605048}, {1, 255, 0xC0A090}, {2, 255, 0x000000}, {3, 300, 0x201008},
  };
  for (const Case& c : cases) {
    RootRunner.fog[3] = c.kind;
    RootRunner.fog[4] = c.opacity;
    SetBlendMode(0, 255);
    DrawRectangle(0, 0, 640, 480, PackColor(0x40, 0x20, 0x10), 1);
    fog_.Draw();
    EXPECT_EQ(BackPixel(100, 100), c.expected) << "kind " << c.kind;
  }
}

}  // namespace
