// The demo game played from start-up to shutdown as a player plays it: a
// walk through every room with checks of the game at each goal, the same
// walk recorded and played back, and a save loaded after a restart.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/ReplayLog.h"
#include "engine/events/SystemState.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/saves/SavePath.h"
#include "engine/saves/SaveSlotCache.h"
#include "tests/engine/shell/DemoJourney.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

// About fifty seconds of play; a recorded run and its playback take half
// as long each.
constexpr int64_t kFrames = 3000;
constexpr int64_t kRecordedFrames = kFrames / 2;

// Every room and back, by the doors, with a talk on the way.
void TourOfTheRooms(DemoJourney &journey) {
  using namespace demo;
  // The town may greet a new game with a message first.
  journey.WaitUntil("start", 2)
      .CloseWindows("settled")
      .Talk("the villager speaks", kVillagerX - 1, kVillagerY, kKeyRight)
      .CloseWindows("the villager is done")
      .Through("the field", kFieldDoorX, kFieldDoorY, kFieldMap)
      .Through("the town from the field", kFieldEntranceX, kFieldEntranceY + 1, kTownMap)
      .Through("the small room", kSmallRoomDoorX, kSmallRoomDoorY, kSmallRoomMap)
      .Through("the town from the small room", kSmallRoomEntranceX, kSmallRoomEntranceY + 1, kTownMap)
      .Through("the gallery", kGalleryDoorX, kGalleryDoorY, kGalleryMap)
      .Through("the town from the gallery", kGalleryEntranceX, kGalleryEntranceY + 1, kTownMap);
}

class DemoEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    demo::WriteDemoGame(dir.Path());
    ReplayPlaying = false;
    ReplayEnded = false;
  }
  void TearDown() override { ReplayPlaying = false; }
  TestDirectory dir;
};

TEST_F(DemoEndToEnd, AWalkThroughEveryRoomMeetsEachCheckpoint) {
  using namespace demo;
  PlayHarness play(dir.Path());
  DemoJourney journey(play);
  TourOfTheRooms(journey);
  play.Play(kFrames);
  EXPECT_EQ(play.exit.code, 0);
  EXPECT_EQ(play.frameHashes.size(), static_cast<size_t>(kFrames));
  EXPECT_TRUE(play.errorScreens.empty()) << play.errorScreens[0][0];
  EXPECT_EQ(journey.gaveUp, "");
  EXPECT_GE(journey.endFrame, 0);

  const struct {
    const char *leg;
    int32_t map;
    int32_t x;
    int32_t y;
  } rooms[] = {
      {"start", kTownMap, kStartX, kStartY},
      {"the villager speaks", kTownMap, kVillagerX - 1, kVillagerY},
      {"the field", kFieldMap, kFieldEntranceX, kFieldEntranceY},
      {"the town from the field", kTownMap, kTownFromFieldX, kTownFromFieldY},
      {"the small room", kSmallRoomMap, kSmallRoomEntranceX, kSmallRoomEntranceY},
      {"the town from the small room", kTownMap, kTownFromSmallRoomX, kTownFromSmallRoomY},
      {"the gallery", kGalleryMap, kGalleryEntranceX, kGalleryEntranceY},
      {"the town from the gallery", kTownMap, kTownFromGalleryX, kTownFromGalleryY},
  };
  for (const auto &r : rooms) {
    const GameView &v = journey.At(r.leg).view;
    EXPECT_EQ(v.mapId, r.map) << r.leg;
    EXPECT_EQ(v.heroX, r.x) << r.leg;
    EXPECT_EQ(v.heroY, r.y) << r.leg;
  }

  const GameView &start = journey.At("start").view;
  EXPECT_EQ(start.music, 0) << "the village music";
  EXPECT_EQ(start.backgroundSound, 0) << "the brook";
  EXPECT_TRUE(start.musicPlaying);
  EXPECT_TRUE(start.backgroundSoundPlaying);

  const GameView &speaking = journey.At("the villager speaks").view;
  EXPECT_TRUE(speaking.windowOpen);
  EXPECT_EQ(speaking.lastMessage, VillagerMessage());
  EXPECT_EQ(speaking.heroDirection, 6) << "facing him";
  const GameView &done = journey.At("the villager is done").view;
  EXPECT_FALSE(done.windowOpen);
  EXPECT_EQ(done.musicFile, std::string("Data\\") + kTuneFile) << "his tune follows the talk";
}

// The final state: everything a save holds of the map, the hero and the
// variables, compared whole.
struct FinalState {
  MapScene map;
  Hero hero;
  GameView view;
  static FinalState Now() { return {CurrentMap, PlayerHero, GameView::Now()}; }
};

TEST_F(DemoEndToEnd, ARecordedWalkPlayedBackShowsTheSameFramesAndEndsInTheSameState) {
  PlayHarness live(dir.Path());
  DemoJourney journey(live);
  TourOfTheRooms(journey);
  FinalState liveEnd;
  const auto drive = live.onFrame;
  live.onFrame = [&](int64_t frame) {
    drive(frame);
    if (frame == kRecordedFrames - 1) liveEnd = FinalState::Now();
  };
  live.Play(kRecordedFrames);
  ASSERT_EQ(live.frameHashes.size(), static_cast<size_t>(kRecordedFrames));
  ASSERT_EQ(journey.gaveUp, "");
  GameReplay.FlushRun();
  const ReplayLog recorded = GameReplay;

  GameReplay = recorded;
  ReplayPlaying = true;
  PlayHarness replay(dir.Path());
  FinalState replayEnd;
  replay.onFrame = [&](int64_t frame) {
    if (frame == kRecordedFrames - 1) replayEnd = FinalState::Now();
  };
  replay.Play(kRecordedFrames);
  ASSERT_GE(replay.frameHashes.size(), static_cast<size_t>(kRecordedFrames));
  const std::vector<uint64_t> played(replay.frameHashes.begin(), replay.frameHashes.begin() + kRecordedFrames);
  EXPECT_TRUE(played == live.frameHashes);
  EXPECT_TRUE(replayEnd.map == liveEnd.map);
  EXPECT_TRUE(replayEnd.hero == liveEnd.hero);
  EXPECT_EQ(replayEnd.view, liveEnd.view);
}

TEST_F(DemoEndToEnd, ASaveLoadedAfterARestartIsTheGameThatWasSaved) {
  constexpr int32_t kSlot = 1;
  // A save enters the game only with a variable database to restore.
  GameFolderContent game = demo::DemoGame();
  if (game.variableDatabase.GetTypeCount() == 0) {
    SetDatabaseType(game.variableDatabase, 0, "記録", {1000}, {"歩数"}, 1);
    WriteGameFolder(dir.Path(), game);
  }
  PlayHarness first(dir.Path());
  DemoJourney journey(first);
  TourOfTheRooms(journey);
  GameView saved;
  bool wrote = false;
  // Saved in the field, half way through the walk.
  journey.onCheckpoint = [&](const Checkpoint &c) {
    if (c.leg != "the field") return;
    wrote = SaveSlots.SaveGame(kSlot, true, kSaveSlotPrefix);
    saved = GameView::Now();
  };
  first.Play(900);
  ASSERT_TRUE(wrote);
  ASSERT_EQ(saved.mapId, demo::kFieldMap);

  // A new start of the program: the title, then the load.
  PlayHarness second(dir.Path());
  bool loaded = false;
  GameView afterLoad;
  GameView beforeLoad;
  second.onFrame = [&](int64_t frame) {
    if (frame == 10) {
      beforeLoad = GameView::Now();
      // As the load command asks for it: the frame enters it.
      loaded = SaveSlots.LoadSaveSlot(kSlot, true, false, kSaveSlotPrefix);
      SystemStateHub.stateLoaded = loaded ? 1 : 0;
    }
    if (frame == 14) afterLoad = GameView::Now();
  };
  second.Play(15);
  ASSERT_TRUE(loaded) << (second.errorScreens.empty() ? "" : second.errorScreens[0][0]);
  EXPECT_TRUE(second.errorScreens.empty());
  EXPECT_EQ(beforeLoad.mapId, demo::kTownMap);
  // The window and the message log are the screen's, not the saved game's.
  afterLoad.lastMessage = saved.lastMessage;
  EXPECT_EQ(afterLoad, saved);
}

}  // namespace
