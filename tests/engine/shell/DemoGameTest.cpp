// The demo game played headless from start-up on.

#include <gtest/gtest.h>

#include "engine/map/MapScene.h"
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

}  // namespace
