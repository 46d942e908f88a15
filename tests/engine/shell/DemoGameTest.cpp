// The demo game played headless from start-up on.

#include <gtest/gtest.h>

#include "engine/map/MapScene.h"
#include "runtime/Movan.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

class DemoGameTest : public ::testing::Test {
 protected:
  void SetUp() override { demo::WriteDemoGame(dir.Path()); }
  TestDirectory dir;
};

TEST_F(DemoGameTest, StartsOnTheVillageMapWithoutAnError) {
  PlayHarness play(dir.Path());
  int32_t mapId = -2;
  size_t events = 0;
  play.onFrame = [&](int64_t frame) {
    if (frame != 2) return;
    mapId = CurrentMap.mapId;
    events = CurrentMap.events.size();
  };
  play.Play(3);
  EXPECT_EQ(play.exit.code, 0);
  EXPECT_EQ(mapId, 0);
  EXPECT_EQ(events, 1u);
  EXPECT_EQ(play.frameHashes.size(), 3u);
  EXPECT_TRUE(play.errorScreens.empty());
  EXPECT_EQ(play.messageBoxes.size(), 1u);  // the first start's
}

TEST_F(DemoGameTest, ItsMovieOpensAsAGraphicOfItsSize) {
  PlayHarness play(dir.Path());
  int width = 0;
  int height = 0;
  play.onFrame = [&](int64_t frame) {
    if (frame != 1) return;
    const int graphic = LoadGraphicFile(demo::kMovieFile, 1);
    GetGraphicSize(graphic, &width, &height);
    DeleteGraphic(graphic);
  };
  play.Play(2);
  EXPECT_EQ(width, demo::kMovieWidth);
  EXPECT_EQ(height, demo::kMovieHeight);
}

}  // namespace
