// The player from start-up to shutdown, in-process and headless.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/data/GameInfo.h"
#include "engine/events/SystemState.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/GameScene.h"
#include "engine/shell/GameIni.h"
#include "engine/shell/Player.h"
#include "engine/events/variables/RootEventRunner.h"
#include "tests/support/GameFolderWriter.h"
#include "tests/support/PixelImage.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"

namespace {

class PlayerTest : public ::testing::Test {
 protected:
  void WriteGame(const GameFolderContent& game) { WriteGameFolder(dir.Path(), game); }
  static GameFolderContent SmallGame() { return StarterGame("試験", PlainMapData(25, 20), 3, 4); }

  TestDirectory dir;
};

TEST_F(PlayerTest, StartUpReachesTheFirstMapFrameAndEndsWhenTheWindowCloses) {
  WriteGame(SmallGame());
  PlayHarness play(dir.Path());
  int32_t mapOnFirstFrame = -2;
  play.onFrame = [&](int64_t frame) {
    if (frame == 1) mapOnFirstFrame = CurrentMap.mapId;
  };
  play.Play(5);
  EXPECT_TRUE(play.exit.gameDataRead);
  EXPECT_EQ(play.exit.code, 0);
  EXPECT_EQ(play.exitCode, -1);
  EXPECT_EQ(play.framesRun, 5);
  EXPECT_EQ(mapOnFirstFrame, 0);
  // Every frame draws: no frame is late and the credit is 1.0 a frame.
  EXPECT_EQ(play.frameHashes.size(), 5u);
  EXPECT_TRUE(play.errorScreens.empty());
  ASSERT_EQ(play.messageBoxes.size(), 1u);  // the first-start box: no Game.ini yet
  EXPECT_EQ(play.messageBoxes[0].rfind("『試験』 初回起動メッセージ: ", 0), 0u) << play.messageBoxes[0];
}

TEST_F(PlayerTest, TheHeroStartsOnTheStartPositionAndWalksWithTheKeys) {
  WriteGame(SmallGame());
  PlayHarness play(dir.Path());
  play.Hold(2, {kKeyRight});
  play.Hold(10, {});
  int32_t startX = -1;
  int32_t startY = -1;
  bool followersOnTheHero = false;
  play.onFrame = [&](int64_t frame) {
    if (frame != 1) return;
    startX = PlayerHero.preciseX;
    startY = PlayerHero.preciseY;
    followersOnTheHero = PlayerHero.followers[4].preciseX == startX && PlayerHero.followers[4].preciseY == startY;
  };
  play.Play(20);
  EXPECT_EQ(startX, 6);
  EXPECT_EQ(startY, 8);
  EXPECT_TRUE(followersOnTheHero);
  EXPECT_EQ(PlayerHero.preciseX, 8) << "two half-tile steps in eight frames";
  EXPECT_EQ(PlayerHero.preciseY, 8);
  EXPECT_EQ(PlayerHero.direction, 6);
}

TEST_F(PlayerTest, AFirstStartShowsItsBoxAndLeavesGameIniWithTheStartFlagCleared) {
  WriteGame(SmallGame());
  PlayHarness play(dir.Path());
  std::string iniOnFirstFrame;
  play.onFrame = [&](int64_t frame) {
    if (frame == 0) iniOnFirstFrame = ReadWholeFile(dir.File("Game.ini"));
  };
  play.Play(2);
  EXPECT_EQ(play.messageBoxes.size(), 1u);
  // Written with the start flag at 1 and then 0 during start-up, and once
  // more at shutdown.
  EXPECT_EQ(ParseGameIni(iniOnFirstFrame), PlayerSettings{});
  EXPECT_EQ(ParseGameIni(ReadWholeFile(dir.File("Game.ini"))), PlayerSettings{});

  play.Play(2);  // a second start finds the file: no box
  EXPECT_TRUE(play.messageBoxes.empty());
}

TEST_F(PlayerTest, AStartFlagLeftAtOneStartsInSoftwareModeAndKeepsIt) {
  WriteGame(SmallGame());
  PlayerSettings left;
  left.start = 1;
  left.frameSkip = 2;
  dir.Write("Game.ini", FormatGameIni(left));
  PlayHarness play(dir.Path());
  std::string iniOnFirstFrame;
  float creditPerFrame = 0;
  play.onFrame = [&](int64_t frame) {
    if (frame != 0) return;
    iniOnFirstFrame = ReadWholeFile(dir.File("Game.ini"));
    creditPerFrame = RootRunner.drawCreditPerFrame;
  };
  play.Play(9);
  EXPECT_TRUE(play.messageBoxes.empty());
  EXPECT_EQ(Settings.softMode, 1);
  const PlayerSettings during = ParseGameIni(iniOnFirstFrame);
  EXPECT_EQ(during.start, 0);
  EXPECT_EQ(during.softMode, 1);
  EXPECT_EQ(during.frameSkip, 0);
  // The frame-skip mode of the file is applied and written back at the end.
  EXPECT_FLOAT_EQ(creditPerFrame, 0.34f);
  EXPECT_EQ(play.frameHashes.size(), 3u);
  const PlayerSettings after = ParseGameIni(ReadWholeFile(dir.File("Game.ini")));
  EXPECT_EQ(after.start, 0);
  EXPECT_EQ(after.softMode, 1);
  EXPECT_EQ(after.frameSkip, 2);
}

TEST_F(PlayerTest, OnlyTheExactTestPlayArgumentStartsATestPlay) {
  WriteGame(SmallGame());
  PlayHarness play(dir.Path());
  struct Case {
    const char* commandLine;
    int32_t testPlay;
  };
  for (const Case c : {Case{"Test_Of_Main", 1}, Case{"Test_Of_Main ", 0}, Case{"test_of_main", 0}, Case{"", 0}}) {
    std::filesystem::remove(dir.File("Log.txt"));
    int32_t flag = -1;
    play.onFrame = [&](int64_t) { flag = TestPlayFlag; };
    play.Play(1, c.commandLine);
    EXPECT_EQ(flag, c.testPlay) << '"' << c.commandLine << '"';
    EXPECT_EQ(FileExists(dir.File("Log.txt")), c.testPlay == 1) << '"' << c.commandLine << '"';
  }
}

TEST_F(PlayerTest, AFrameRateOutsideOneToSixtyRunsAtStepOne) {
  struct Case {
    uint8_t rate;
    int32_t step;
    int32_t budget;
  };
  for (const Case c : {Case{0, 1, 17}, Case{61, 1, 17}, Case{255, 1, 17}, Case{60, 1, 17}, Case{30, 2, 33}, Case{20, 3, 50}}) {
    GameFolderContent game = SmallGame();
    game.gameDat.settingBytes[GameInfo::kFramesPerSecond] = c.rate;
    WriteGame(game);
    PlayHarness play(dir.Path());
    int32_t budget = 0;
    play.onFrame = [&](int64_t) { budget = RunningGameScene()->pacer.baseBudget; };
    play.Play(3);
    EXPECT_EQ(GameFrameStep, c.step) << int{c.rate};
    EXPECT_EQ(budget, c.budget) << int{c.rate};
    EXPECT_EQ(play.frameHashes.size(), 3u) << int{c.rate};
  }
}

TEST_F(PlayerTest, AStartMapThatCannotBeReadEndsTheGameAtItsFirstFrame) {
  GameFolderContent game = SmallGame();
  game.maps.clear();
  WriteGame(game);
  PlayHarness play(dir.Path());
  play.Play(100);
  EXPECT_EQ(play.framesRun, 1);
  EXPECT_EQ(play.exit.code, 0);
  EXPECT_TRUE(play.frameHashes.empty());
}

TEST_F(PlayerTest, TheFrameDrawsTheMapWhileMapDrawingIsOn) {
  // The same game without and with a tile image: the map's tiles show in
  // the frames, and no longer once map drawing is off.
  std::vector<uint64_t> hashes[2];
  for (int with = 0; with < 2; ++with) {
    GameFolderContent game = SmallGame();
    if (with) {
      game.tileSets[0].imageNames[0] = "MapChip\\Tiles.png";
      game.files.emplace_back("Data/MapChip/Tiles.png", PixelImage(256, 64, 0x40A060).ToBmp());
    }
    WriteGame(game);
    PlayHarness play(dir.Path());
    play.onFrame = [](int64_t frame) {
      if (frame == 3) RootRunner.mapDrawing = 0;
    };
    play.Play(5);
    hashes[with] = play.frameHashes;
  }
  ASSERT_EQ(hashes[0].size(), 5u);
  ASSERT_EQ(hashes[1].size(), 5u);
  EXPECT_NE(hashes[1][0], hashes[0][0]);
  EXPECT_EQ(hashes[1][2], hashes[1][0]);
  EXPECT_EQ(hashes[1][4], hashes[0][4]);
}

TEST_F(PlayerTest, AFolderWithoutGameDatEndsAtOnceWithoutWritingAnything) {
  PlayHarness play(dir.Path());
  play.Play(10);
  EXPECT_FALSE(play.exit.gameDataRead);
  EXPECT_EQ(play.framesRun, 0);
  ASSERT_EQ(play.messageBoxes.size(), 1u);
  EXPECT_EQ(play.messageBoxes[0], "読み込みエラー: 基本情報データ Game.dat がありません");
  EXPECT_FALSE(FileExists(dir.File("Game.ini")));
}

}  // namespace
