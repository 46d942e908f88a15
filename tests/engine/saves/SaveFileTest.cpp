// Save files through the save-slot cache: where they go, their header and
// scrambling, a live game's round trip, and the files a load refuses.

#include <dirent.h>

#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/data/file/CRuntimeRandom.h"
#include "engine/data/file/DataFileScramble.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SavePath.h"
#include "runtime/Movan.h"
#include "tests/engine/saves/SaveTestFixture.h"

namespace {

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(d);
  }
  return names;
}

// Changes the live game in every part a save holds.
void ChangeLiveGame() {
  Variables.SetVariable(2000007, 1234);
  Variables.SetStringVariable(3000002, "旅の記録");
  RootRunner.playSeconds = 777;
  RootRunner.messagePrefix = "【";
  CurrentMap.scrollX = 96;
  CurrentMap.scrollY = 64;
  CurrentMap.mapData.layers[1][5][6] = 42;
  CurrentMap.tileFlags[9] = 0x0F;
  CurrentMap.reservedList = {3, 1};
  VariableDatabase.SetInt(0, 1, 1, 55);
  VariableDatabase.SetString(0, 2, 2, "DBの文字");
  PlayerHero.preciseX = 6;
  PlayerHero.preciseY = 4;
  PlayerHero.quarterX = 6 * 64;
  PlayerHero.quarterY = 4 * 64;
  PlayerHero.graphicFile = "勇者.png";
  PlayerHero.followers[4].graphicFile = "仲間5.png";
  PlayerHero.followersInStep = 1;
  PlayerHero.stepHistory[0] = 6;
  // A picture mid-fade whose file has gone: saved whole, shown hidden.
  Picture picture(5);
  picture.fileName = "Picture\\消えた絵.png";
  picture.erasing = 1;
  picture.framesLeft = 12;
  picture.effects.Apply(PictureEffects::kTint, 10, 20, 30, 40);
  GamePictures.pictures.push_back(picture);
  GamePictures.RebuildIndex();
}

}  // namespace

TEST_F(SaveTest, SlotsNameTheirFilesInTheSaveFolder) {
  struct Case {
    int32_t slot;
    const char* path;
  };
  for (const Case& c : {Case{7, "Save\\SaveData07.sav"}, Case{123, "Save\\SaveData123.sav"},
                        Case{0, "Save\\SaveData"}}) {
    EXPECT_EQ(SaveFilePath(c.slot, kSaveSlotPrefix), c.path);
    ASSERT_TRUE(SaveSlots.SaveGame(c.slot, true, kSaveSlotPrefix)) << c.path;
    EXPECT_FALSE(FileBytes(c.path).empty()) << c.path;
    EXPECT_EQ(RootRunner.saveSlotValue, c.slot);
  }
  EXPECT_EQ(SaveFilePath(-1, kSaveSlotPrefix), "");
  EXPECT_FALSE(SaveSlots.SaveGame(-1, true, kSaveSlotPrefix));
  EXPECT_FALSE(SaveSlots.LoadSaveSlot(-1, true, false, kSaveSlotPrefix));
}

TEST_F(SaveTest, TheHeaderCarriesTheSeedsAndTheChecksumAndZeroesBytesSixAndEight) {
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  const std::string file = FileBytes("Save\\SaveData01.sav");
  ASSERT_GT(file.size(), 40u);
  EXPECT_EQ(file[6], 0);
  EXPECT_EQ(file[8], 0);
  // The seeds come from the clock's srand, the three first draws.
  CRuntimeSrand(static_cast<uint32_t>(clock));
  for (int offset : {0, 3, 9}) EXPECT_EQ(static_cast<uint8_t>(file[offset]), (CRuntimeRand() & 0xFF0) >> 4);
  const std::string plain = Unscrambled(file);
  EXPECT_EQ(static_cast<uint8_t>(plain[20]), 0x19);
  EXPECT_EQ(static_cast<uint8_t>(plain.back()), 0x19);
  EXPECT_EQ(static_cast<uint8_t>(file[2]),
            DataFileChecksum(reinterpret_cast<const uint8_t*>(plain.data()) + 20, plain.size() - 20));
  // The replay section: the single byte 0 before the closing byte.
  EXPECT_EQ(plain[plain.size() - 2], 0);
}

TEST_F(SaveTest, ZeroSeedsAreDrawnOnceMoreAndAPlainFileReadsWithoutAChecksum) {
  // A clock whose first three seeds are all 0.
  uint32_t t = 0;
  for (;; ++t) {
    CRuntimeSrand(t);
    if (((CRuntimeRand() | CRuntimeRand() | CRuntimeRand()) & 0xFF0) == 0) break;
  }
  clock = t;
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  const std::string file = FileBytes("Save\\SaveData01.sav");
  CRuntimeSrand(t);
  for (int i = 0; i < 3; ++i) CRuntimeRand();
  for (int offset : {0, 3, 9}) EXPECT_EQ(static_cast<uint8_t>(file[offset]), (CRuntimeRand() & 0xFF0) >> 4);

  // The same body stored plain, seeds 0 and a check byte that matches
  // nothing: read as it is.
  std::string plain = Unscrambled(file);
  plain[0] = plain[3] = plain[9] = 0;
  plain[2] = static_cast<char>(plain[2] + 1);
  PutFile("Save\\SaveData02.sav", plain);
  EXPECT_TRUE(SaveSlots.LoadSaveSlot(2, false, false, kSaveSlotPrefix));
  EXPECT_TRUE(errorScreens.empty());
}

TEST_F(SaveTest, ALiveGameComesBackAsItWasSaved) {
  ChangeLiveGame();
  CurrentMap.events.push_back(MapEventState(CurrentMap, 0, MapEvent{4}));
  MapEventState& walker = CurrentMap.events.back();
  walker.preciseX = 10;
  walker.preciseY = 8;
  walker.quarterX = 10 * 64 - 20;  // half way through a step
  walker.graphicFile = "歩く人.png";
  const std::string saved = LiveBytes();
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));

  // Another game meanwhile.
  Variables.SetVariable(2000007, -1);
  RootRunner.playSeconds = 1;
  CurrentMap.scrollX = 0;
  CurrentMap.events.clear();
  VariableDatabase.SetInt(0, 1, 1, 0);
  PlayerHero = Hero();
  GamePictures.Clear(true);

  ASSERT_TRUE(SaveSlots.LoadSaveSlot(1, true, false, kSaveSlotPrefix));
  // Checked, not yet entered: the frame enters it.
  EXPECT_EQ(Variables.GetVariable(2000007), -1);
  ASSERT_TRUE(ApplyPendingLoad());
  EXPECT_FALSE(ApplyPendingLoad());
  EXPECT_EQ(LiveBytes(), saved);
  EXPECT_EQ(Variables.GetVariable(2000007), 1234);
  EXPECT_EQ(CurrentMap.mapData.layers[1][5][6], 42);
  ASSERT_EQ(CurrentMap.events.size(), 1u);
  EXPECT_EQ(CurrentMap.events[0].quarterX, 10 * 64);  // standing on its target
  EXPECT_EQ(CurrentMap.events[0].graphicFile, "歩く人.png");
  EXPECT_EQ(PlayerHero.graphicFile, "勇者.png");
  EXPECT_EQ(PlayerHero.followers[4].graphicFile, "仲間5.png");
  ASSERT_EQ(GamePictures.pictures.size(), 1u);
  EXPECT_EQ(GamePictures.pictures[0].erasing, 1);
  EXPECT_EQ(GamePictures.pictures[0].effects.tintLeft, 40);
  EXPECT_EQ(GamePictures.pictures[0].hidden, 1);
  EXPECT_EQ(SystemStateHub.sceneReload, 1);
  EXPECT_EQ(RootRunner.saveSlotValue, 1);
  EXPECT_EQ(Variables.rootRunner, &RootRunner);
  // The record entered the game and no longer stands for the file alone.
  EXPECT_FALSE(SaveSlots.loaded["Save\\SaveData01.sav"]);
  EXPECT_TRUE(errorScreens.empty());
}

TEST_F(SaveTest, UpTo199BytesAfterTheEndLoadAnd200AreDamage) {
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  const std::string file = FileBytes("Save\\SaveData01.sav");
  PutFile("Save\\SaveData02.sav", file + std::string(199, 'x'));
  PutFile("Save\\SaveData03.sav", file + std::string(200, 'x'));
  EXPECT_TRUE(SaveSlots.LoadSaveSlot(2, false, false, kSaveSlotPrefix));
  EXPECT_TRUE(errorScreens.empty());
  EXPECT_FALSE(SaveSlots.LoadSaveSlot(3, false, false, kSaveSlotPrefix));
  ASSERT_EQ(errorScreens.size(), 1u);
  EXPECT_EQ(errorScreens[0][0], "セーブデータ03が破損しています 0秒");
}

TEST_F(SaveTest, AnotherGamesSaveIsRefusedBeforeAnyPartIsRead) {
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  // Everything after the title block is garbage: only the title is read.
  std::string plain = Unscrambled(FileBytes("Save\\SaveData01.sav"));
  plain[0] = plain[3] = plain[9] = 0;
  const size_t titleEnd = 21 + 2 + std::string(kTitle).size() + 1 + 2;
  for (size_t i = titleEnd; i < plain.size(); ++i) plain[i] = static_cast<char>(0xEE);
  PutFile("Save\\SaveData01.sav", plain);
  GameInformation.settingStrings[GameInfo::kGameTitle] = "別のゲーム";
  EXPECT_FALSE(SaveSlots.LoadSaveSlot(1, true, false, kSaveSlotPrefix));
  ASSERT_EQ(errorScreens.size(), 1u);
  EXPECT_EQ(errorScreens[0][0], "セーブエラー");
  EXPECT_EQ(errorScreens[0][1], std::string("異なるゲーム「") + kTitle + "」のセーブデータをロードしようとしました");
  EXPECT_FALSE(ApplyPendingLoad());
}

TEST_F(SaveTest, ADamagedOrCutFileLeavesTheLiveGameAsItWas) {
  ChangeLiveGame();
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  const std::string file = FileBytes("Save\\SaveData01.sav");
  Variables.SetVariable(2000007, 99);
  const std::string live = LiveBytes();

  std::vector<std::string> bad;
  for (size_t cut : {size_t{0}, size_t{19}, size_t{21}, size_t{40}, file.size() / 3, file.size() / 2, file.size() - 1}) {
    bad.push_back(file.substr(0, cut));
  }
  std::string flipped = file;
  flipped[file.size() / 2] = static_cast<char>(flipped[file.size() / 2] ^ 0x40);  // the checksum catches it
  bad.push_back(flipped);
  for (const std::string& b : bad) {
    PutFile("Save\\SaveData01.sav", b);
    errorScreens.clear();
    EXPECT_FALSE(SaveSlots.LoadSaveSlot(1, true, false, kSaveSlotPrefix)) << b.size();
    EXPECT_FALSE(ApplyPendingLoad()) << b.size();
    EXPECT_EQ(LiveBytes(), live) << b.size();
  }
  // A wrong checksum is reported as damage; the game goes on.
  EXPECT_EQ(errorScreens.size(), 1u);
}

TEST_F(SaveTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
  Variables.SetVariable(2000007, 1);
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  const std::string old = FileBytes("Save\\SaveData01.sav");
  Variables.SetVariable(2000007, 2);
  for (int64_t limit : {int64_t{0}, int64_t{1}, int64_t{20}, int64_t{100}, static_cast<int64_t>(old.size()) - 1}) {
    SetFileWriteLimit(limit);
    EXPECT_FALSE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix)) << limit;
    SetFileWriteLimit(-1);
    EXPECT_EQ(FileBytes("Save\\SaveData01.sav"), old) << limit;
    EXPECT_EQ(FolderEntries(dir_.File("Save")), std::vector<std::string>{"SaveData01.sav"}) << limit;
  }
  // The slot's record still holds what the file holds.
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(1, 2000007, kSaveSlotPrefix), 1);

  // Too little disk space: the error screen, nothing written.
  freeSpace = 10;
  EXPECT_FALSE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  ASSERT_EQ(errorScreens.size(), 1u);
  EXPECT_EQ(errorScreens[0][0], "セーブ処理エラー：ハードディスク容量が足りませんでした");
  EXPECT_EQ(FileBytes("Save\\SaveData01.sav"), old);
}

TEST_F(SaveTest, SaveNamesThatLeaveTheGameFolderAreRefused) {
  for (const char* name : {"..\\escaped", "/tmp/escaped", "C:escaped", "Save\\..\\..\\escaped"}) {
    EXPECT_FALSE(SaveSlots.SaveGame(0, true, name)) << name;
    EXPECT_FALSE(SaveSlots.LoadSaveSlot(0, false, false, name)) << name;
  }
  EXPECT_FALSE(FileExists(dir_.Path() + "/../escaped"));
}

TEST_F(SaveTest, NothingIsWrittenDuringReplayPlayback) {
  ReplayPlaying = true;
  EXPECT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  ReplayPlaying = false;
  EXPECT_FALSE(FileExists(HostFile("Save\\SaveData01.sav")));
}

TEST_F(SaveTest, AReplayLoadPlaysTheSavedLogFromTheTitle) {
  // A save carrying a log: flag 1 and its entries.
  SaveSlotRecord record;
  record.variableDatabase = VariableDatabase;
  record.replayLog.codes = {ReplayLog::kSeedRecord, 3};
  record.replayLog.values = {123456, 5};
  SaveSlots.records["Save\\SaveData90.sav"] = record;
  ASSERT_TRUE(SaveSlots.SaveGame(90, false, kSaveSlotPrefix));
  // The writer writes no log: put one into the file by hand.
  std::string plain = Unscrambled(FileBytes("Save\\SaveData90.sav"));
  plain[0] = plain[3] = plain[9] = 0;
  plain.resize(plain.size() - 2);
  const std::string section = std::string("\x01\x02\x00\x00\x00\xFA", 6) + std::string("\x40\xE2\x01\x00", 4) +
                              std::string("\x03\x05", 2) + "\x19";
  PutFile("Save\\SaveData90.sav", plain + section);
  SaveSlots = SaveSlotCache();

  ASSERT_TRUE(SaveSlots.LoadSaveSlot(90, false, true, kSaveSlotPrefix));
  EXPECT_TRUE(ReplayPlaying);
  EXPECT_FALSE(ReplayEnded);
  EXPECT_EQ(SystemStateHub.gameState, 0);
  EXPECT_EQ(GameReplay.codes, (std::vector<uint8_t>{ReplayLog::kSeedRecord, 3}));
  EXPECT_EQ(GameReplay.values, (std::vector<int32_t>{123456, 5}));
  ReplayPlaying = false;
  GameReplay = ReplayLog::Blank();
}

TEST_F(SaveTest, ASaveWithoutAVariableDatabaseIsNotEntered) {
  VariableDatabase = Database();
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  EXPECT_FALSE(SaveSlots.LoadSaveSlot(1, true, false, kSaveSlotPrefix));
  ASSERT_EQ(errorScreens.size(), 1u);
  EXPECT_EQ(errorScreens[0][0], "可変DB情報が保存されていないセーブデータを読み込みました、ロード処理中断");
  EXPECT_FALSE(ApplyPendingLoad());
}
