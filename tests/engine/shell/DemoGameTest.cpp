// The demo game played headless from start-up on.

#include <gtest/gtest.h>

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/sound/SoundManager.h"
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
  int32_t music = -2, backgroundSound = -2;
  bool bothPlay = false;
  play.onFrame = [&](int64_t frame) {
    if (frame != 2) return;
    mapId = CurrentMap.mapId;
    events = CurrentMap.events.size();
    music = RootRunner.currentMusicEntry;
    backgroundSound = RootRunner.currentBackgroundSoundEntry;
    bothPlay = IsSoundPlaying(GameSounds.fades[0].currentHandle) == 1 &&
               IsSoundPlaying(GameSounds.fades[1].currentHandle) == 1;
  };
  play.Play(3);
  EXPECT_EQ(play.exit.code, 0);
  EXPECT_EQ(mapId, 0);
  EXPECT_EQ(events, demo::TownMap().events.size()) << "the villager and the doors";
  EXPECT_EQ(music, 0) << "the village music";
  EXPECT_EQ(backgroundSound, 0) << "the brook";
  EXPECT_TRUE(bothPlay);
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

TEST_F(DemoGameTest, TheHeroWalksUpToTheVillagerWhoTurnsAndSpeaksOnTheDecideKey) {
  PlayHarness play(dir.Path());
  // Two tiles up from the road, then right until the villager stops the
  // hero beside him; the decide key; the decide key again closes the
  // message, and the hero walks on.
  play.Hold(2, {kKeyUp});
  play.Hold(18, {kKeyRight});
  play.Hold(100, {});
  play.Hold(102, {kKeyEnter});
  play.Hold(104, {});
  play.Hold(140, {kKeyEnter});
  play.Hold(142, {});
  play.Hold(150, {kKeyDown});
  play.Hold(158, {});
  int32_t heroXBeside = -1;
  int32_t heroYBeside = -1;
  int32_t villagerFacingBefore = 0;
  int32_t villagerFacingWhileSpeaking = 0;
  bool runningWhileOpen = false;
  std::string shownText;
  bool closedAndEnded = false;
  std::string musicAfterTalk;
  play.onFrame = [&](int64_t frame) {
    if (CurrentMap.events.empty()) return;
    const MapEventState& villager = CurrentMap.events[0];
    if (frame == 100) {
      heroXBeside = PlayerHero.preciseX;
      heroYBeside = PlayerHero.preciseY;
      villagerFacingBefore = villager.direction;
    } else if (frame == 120) {
      villagerFacingWhileSpeaking = villager.direction;
      runningWhileOpen = RootInterpreter.IsRunning() && SystemStateHub.windowOpen;
      shownText = SystemStateHub.lastMessageText;
    } else if (frame == 149) {
      closedAndEnded = !RootInterpreter.IsRunning() && !SystemStateHub.windowOpen;
      musicAfterTalk = RootRunner.musicFileName;
    }
  };
  play.Play(170);
  EXPECT_TRUE(play.errorScreens.empty());
  // The villager at tile (14, 8) blocks the hero one tile to his left.
  EXPECT_EQ(heroXBeside, 2 * (demo::kVillagerX - 1));
  EXPECT_EQ(heroYBeside, 2 * demo::kVillagerY);
  EXPECT_EQ(villagerFacingBefore, 2);
  EXPECT_EQ(villagerFacingWhileSpeaking, 4) << "he turns to the hero";
  EXPECT_TRUE(runningWhileOpen);
  EXPECT_EQ(shownText, demo::VillagerMessage());
  EXPECT_TRUE(closedAndEnded);
  EXPECT_EQ(musicAfterTalk, std::string("Data\\") + demo::kTuneFile) << "his tune follows the talk";
  EXPECT_GT(PlayerHero.preciseY, 2 * demo::kVillagerY) << "walking again after the talk";
}

}  // namespace
