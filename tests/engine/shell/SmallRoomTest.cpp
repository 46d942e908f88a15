// The demo's small room played headless: the crystal's save comes back on
// a load, the guest book counts in a slot of its own, and the shipped
// replay plays to its end once.

#include <gtest/gtest.h>

#include <string>

#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SavePath.h"
#include "engine/saves/SaveSlotCache.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

// Every part of the live game as a save writes it.
std::string LiveGameBytes() {
  SaveSlotRecord record = LiveGameRecord();
  SaveBuffer out;
  record.Write(out);
  return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
}

std::string RecordBytes(SaveSlotRecord record) {
  SaveBuffer out;
  record.Write(out);
  return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
}

// Takes the hero into the small room, two tiles below the thing at (x, y);
// with up held, the hero walks up to it and stays facing it.
constexpr int64_t kFacingIt = 40;
void StandBelow(int64_t frame, int32_t x, int32_t y) {
  if (frame != 2) return;
  SystemStateHub.transferMapId = demo::kSmallRoomMap;
  SystemStateHub.transferX = x;
  SystemStateHub.transferY = y + 2;
  SystemStateHub.mapChangePending = 1;
}
void WalkUp(PlayHarness& play) {
  play.Hold(4, {kKeyUp});
  play.Hold(kFacingIt - 2, {});
}

class SmallRoomTest : public ::testing::Test {
 protected:
  void SetUp() override { demo::WriteDemoGame(dir.Path()); }
  TestDirectory dir;
};

TEST_F(SmallRoomTest, WhatTheCrystalSavedComesBackOnALoad) {
  PlayHarness play(dir.Path());
  WalkUp(play);
  play.Hold(kFacingIt, {kKeyEnter});  // the crystal
  play.Hold(kFacingIt + 2, {});
  play.Hold(kFacingIt + 30, {kKeyEnter});  // its message closes
  play.Hold(kFacingIt + 32, {});
  play.Hold(kFacingIt + 40, {kKeyLeft});  // and the hero walks off
  play.Hold(kFacingIt + 60, {});
  std::string saved;
  std::string loaded;
  int32_t mapAtSave = -1;
  int32_t heroXAtSave = -1;
  int32_t heroYAtSave = -1;
  int32_t mapAfterLoad = -1;
  std::pair<int32_t, int32_t> heroAfterLoad;
  int32_t variableAfterLoad = -1;
  bool savedMessage = false;
  play.onFrame = [&](int64_t frame) {
    StandBelow(frame, demo::kCrystalX, demo::kCrystalY);
    if (frame == kFacingIt + 20) savedMessage = SystemStateHub.lastMessageText == demo::CrystalMessage();
    if (frame == kFacingIt + 35) {
      // The file as the cache reads it.
      if (!SaveSlots.LoadSaveSlot(demo::kCrystalSlot, false, false, kSaveSlotPrefix)) return;
      saved = RecordBytes(SaveSlots.records[SaveFilePath(demo::kCrystalSlot, kSaveSlotPrefix)]);
      mapAtSave = CurrentMap.mapId;
      heroXAtSave = PlayerHero.preciseX;
      heroYAtSave = PlayerHero.preciseY;
      Variables.SetVariable(2000003, 99);
    }
    if (frame == kFacingIt + 70) {
      // As the load command does it.
      if (SaveSlots.LoadSaveSlot(demo::kCrystalSlot, true, false, kSaveSlotPrefix)) SystemStateHub.stateLoaded = 1;
    }
    if (frame == kFacingIt + 71) {
      loaded = LiveGameBytes();
      mapAfterLoad = CurrentMap.mapId;
      heroAfterLoad = {PlayerHero.preciseX, PlayerHero.preciseY};
      variableAfterLoad = Variables.GetVariable(2000003);
    }
  };
  play.Play(kFacingIt + 80);
  EXPECT_TRUE(play.errorScreens.empty());
  EXPECT_TRUE(savedMessage);
  ASSERT_FALSE(saved.empty()) << "the crystal wrote slot 1";
  EXPECT_FALSE(loaded.empty());
  EXPECT_EQ(mapAfterLoad, mapAtSave);
  EXPECT_EQ(heroAfterLoad, std::make_pair(heroXAtSave, heroYAtSave)) << "back below the crystal";
  EXPECT_EQ(variableAfterLoad, 0) << "the change after the save is gone";
  EXPECT_EQ(mapAtSave, demo::kSmallRoomMap);
  EXPECT_EQ(heroXAtSave, 2 * demo::kCrystalX);
  EXPECT_EQ(heroYAtSave, 2 * demo::kCrystalY + 1) << "half a step below the crystal";
}

TEST_F(SmallRoomTest, TheGuestBookCountsItsVisitorsInItsOwnSlot) {
  PlayHarness play(dir.Path());
  WalkUp(play);
  for (int64_t at : {kFacingIt, kFacingIt + 30}) {
    play.Hold(at, {kKeyEnter});  // the book
    play.Hold(at + 2, {});
    play.Hold(at + 20, {kKeyEnter});  // its message closes
    play.Hold(at + 22, {});
  }
  int32_t inSlot = -1;
  std::string shown;
  play.onFrame = [&](int64_t frame) {
    StandBelow(frame, demo::kGuestBookX, demo::kGuestBookY);
    if (frame == kFacingIt + 45) shown = SystemStateHub.lastMessageText;
    if (frame == kFacingIt + 60) inSlot = SaveSlots.ReadSlotIntVariable(demo::kGuestBookSlot, demo::kGuestCountInSlot, kSaveSlotPrefix);
  };
  play.Play(kFacingIt + 62);
  EXPECT_TRUE(play.errorScreens.empty());
  EXPECT_EQ(inSlot, 2);
  EXPECT_NE(shown.find("これまでに2人が"), std::string::npos) << "the second visitor";
  EXPECT_FALSE(ReadWholeFile(dir.File("Save/SaveData50.sav")).empty());
  EXPECT_TRUE(ReadWholeFile(dir.File("Save/SaveData01.sav")).empty()) << "the book writes its slot only";
}

TEST_F(SmallRoomTest, TheShippedReplayPlaysToItsEndWithOneEndScreen) {
  ASSERT_TRUE(demo::MakeShippedReplay(dir.Path()));
  PlayHarness play(dir.Path());
  WalkUp(play);
  play.Hold(kFacingIt, {kKeyEnter});  // the screen
  play.Hold(kFacingIt + 2, {});
  bool playing = false;
  play.onFrame = [&](int64_t frame) {
    StandBelow(frame, demo::kReplayScreenX, demo::kReplayScreenY);
    if (frame == kFacingIt + 30) playing = ReplayPlaying;
  };
  play.Play(kFacingIt + 260);
  EXPECT_TRUE(playing);
  ASSERT_EQ(play.errorScreens.size(), 1u);
  EXPECT_EQ(play.errorScreens[0][0], "リプレイデータが終了しました");
  EXPECT_FALSE(ReplayPlaying) << "back at the title";
}

}  // namespace
