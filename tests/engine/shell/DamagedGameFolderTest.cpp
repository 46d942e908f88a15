// The demo game with something wrong in its folder: a file a room names is
// missing, a database is damaged, the SoundFont is gone, a save cannot be
// read. Each shows its message and the game plays on to the last frame.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/events/SystemState.h"
#include "engine/map/MapScene.h"
#include "engine/saves/SavePath.h"
#include "engine/saves/SaveSlotCache.h"
#include "runtime/Movan.h"
#include "tests/engine/shell/DemoJourney.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

constexpr int64_t kFrames = 400;

// Every message the run showed, message boxes and error screens alike, one
// text each.
std::vector<std::string> Messages(const PlayHarness& play) {
  std::vector<std::string> all = play.messageBoxes;
  for (const auto& screen : play.errorScreens) all.push_back(screen[0] + "|" + screen[1] + "|" + screen[2]);
  return all;
}

bool Contains(const std::vector<std::string>& messages, const std::string& text) {
  return std::any_of(messages.begin(), messages.end(),
                     [&](const std::string& m) { return m.find(text) != std::string::npos; });
}

// The program did not end: every frame asked for ran and was shown, and the
// player left its loop as the window closed.
void ExpectPlayedToTheEnd(const PlayHarness& play, int64_t frames) {
  EXPECT_EQ(play.exitCode, -1) << "no process exit";
  EXPECT_EQ(play.exit.code, 0);
  EXPECT_EQ(play.framesRun, frames);
  EXPECT_EQ(play.frameHashes.size(), static_cast<size_t>(frames));
}

void EditFile(const TestDirectory& dir, const std::string& relative, const std::function<void(std::string&)>& edit) {
  std::string bytes = ReadWholeFile(dir.File(relative));
  ASSERT_FALSE(bytes.empty()) << relative;
  edit(bytes);
  WriteWholeFile(dir.File(relative), bytes);
}

class DamagedGameFolder : public ::testing::Test {
 protected:
  void SetUp() override { demo::WriteDemoGame(dir.Path()); }
  TestDirectory dir;
};

TEST_F(DamagedGameFolder, AMissingFileThatARoomNamesIsReportedAndTheGamePlaysOn) {
  const struct {
    const char* file;  // below the game folder
    const char* title;
    std::string message;
    bool endsTheGame;  // a room that cannot be entered ends the game, as the window closing does
  } cases[] = {
      {"Data/MapChip/village.bmp", "ファイル読み込みエラー",
       "■LoadGraphic error:ファイル Data\\MapChip\\village.bmp が見つかりません", false},
      {"Data/Chara/villager.bmp", "ファイル読み込みエラー", "Data\\Chara\\villager.bmp が見つかりません", false},
      {"Data/BGM/village.ogg", "音声ファイル読み込みエラー", "BGM\\village.ogg が見つかりません", false},
      {"Data/Map001.mps", "読み込みエラー", "マップファイル Data\\Map001.mps がありません", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    demo::WriteDemoGame(dir.Path());
    ASSERT_EQ(std::remove(dir.File(c.file).c_str()), 0);
    PlayHarness play(dir.Path());
    // Into the field and back: every room file the town leads to is read.
    DemoJourney journey(play);
    journey.Through("the field", demo::kFieldDoorX, demo::kFieldDoorY, demo::kFieldMap);
    play.Play(kFrames);
    if (c.endsTheGame) {
      EXPECT_EQ(play.exitCode, -1) << "no process exit";
      EXPECT_EQ(play.exit.code, 0);
      EXPECT_LT(play.framesRun, kFrames);
      EXPECT_EQ(CurrentMap.mapId, demo::kTownMap) << "the town stays as it was";
    } else {
      ExpectPlayedToTheEnd(play, kFrames);
    }
    const std::vector<std::string> messages = Messages(play);
    EXPECT_TRUE(Contains(messages, c.title)) << testing::PrintToString(messages);
    EXPECT_TRUE(Contains(messages, c.message)) << testing::PrintToString(messages);
  }
}

TEST_F(DamagedGameFolder, ADamagedDatabaseIsReportedAndTheGamePlaysOn) {
  const std::string damaged = "が\n破損しているか、バージョンが古い可能性があります。";
  const struct {
    const char* file;
    const char* name;
    std::function<void(std::string&)> edit;
  } cases[] = {
      {"Data/BasicData/DataBase.dat", "BasicData\\DataBase", [](std::string& b) { b.back() = '\x7F'; }},
      {"Data/BasicData/SysDataBase.dat", "BasicData\\SysDataBase", [](std::string& b) { b.resize(b.size() / 2); }},
      {"Data/BasicData/CDataBase.project", "BasicData\\CDataBase", [](std::string& b) { b = "\xFF\xFF\xFF\x7F"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    demo::WriteDemoGame(dir.Path());
    EditFile(dir, c.file, c.edit);
    PlayHarness play(dir.Path());
    play.Play(kFrames);
    ExpectPlayedToTheEnd(play, kFrames);
    EXPECT_TRUE(Contains(play.messageBoxes, std::string("MsgBox: データベースファイル\n") + c.name + damaged))
        << testing::PrintToString(Messages(play));
  }
}

TEST_F(DamagedGameFolder, WithoutTheSoundFontTheGamePlaysOnWithoutMidi) {
  // A game that plays MIDI: the villager's tune is one.
  GameFolderContent game = demo::DemoGame();
  game.gameDat.settingBytes[GameInfo::kMidiInUse] = 1;
  WriteGameFolder(dir.Path(), game);
  SetMidiPlayerSoundFont("/no/such/soundfont.sf2");
  PlayHarness play(dir.Path());
  DemoJourney journey(play);
  journey.Talk("the villager speaks", demo::kVillagerX - 1, demo::kVillagerY, kKeyRight)
      .CloseWindows("his tune plays")
      .WaitUntil("a while later", 300);
  play.Play(kFrames);
  SetMidiPlayerSoundFont(nullptr);
  ExpectPlayedToTheEnd(play, kFrames);
  EXPECT_EQ(journey.gaveUp, "");
  EXPECT_TRUE(Contains(play.messageBoxes, "/no/such/soundfont.sf2\n\nMIDI再生なしで起動します。"))
      << testing::PrintToString(Messages(play));
  EXPECT_EQ(journey.At("his tune plays").view.musicFile, std::string("Data\\") + demo::kTuneFile);
  EXPECT_TRUE(play.errorScreens.empty()) << testing::PrintToString(Messages(play));
}

TEST_F(DamagedGameFolder, ASaveThatCannotBeReadIsReportedAndTheGamePlaysOn) {
  // A good save of the town to damage.
  GameFolderContent game = demo::DemoGame();
  if (game.variableDatabase.GetTypeCount() == 0) {
    SetDatabaseType(game.variableDatabase, 0, "記録", {1000}, {"歩数"}, 1);
  }
  WriteGameFolder(dir.Path(), game);
  std::string good;
  {
    PlayHarness play(dir.Path());
    play.onFrame = [&](int64_t frame) {
      if (frame == 3) SaveSlots.SaveGame(1, true, kSaveSlotPrefix);
    };
    play.Play(4);
    good = ReadWholeFile(dir.File("Save/SaveData01.sav"));
    ASSERT_GT(good.size(), 200u);
  }
  const std::string damagedLine = "セーブデータ01が破損しています";
  const struct {
    const char* name;
    std::function<void(const std::string& path)> make;
    std::string message;  // "" when the load fails quietly
  } cases[] = {
      {"not a save", [](const std::string& p) { WriteWholeFile(p, std::string(300, 'x')); }, damagedLine},
      {"its body cut short", [&](const std::string& p) { WriteWholeFile(p, good.substr(0, good.size() / 2) + "\x19"); },
       damagedLine},
      {"bytes after its end", [&](const std::string& p) { WriteWholeFile(p, good + std::string(300, '\0')); },
       damagedLine},
      {"one byte", [](const std::string& p) { WriteWholeFile(p, "\x19"); }, ""},
      {"empty", [](const std::string& p) { WriteWholeFile(p, ""); }, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.make(dir.File("Save/SaveData01.sav"));
    PlayHarness play(dir.Path());
    bool loaded = true;
    GameView before;
    GameView after;
    play.onFrame = [&](int64_t frame) {
      if (frame == 10) {
        before = GameView::Now();
        loaded = SaveSlots.LoadSaveSlot(1, true, false, kSaveSlotPrefix);
        SystemStateHub.stateLoaded = loaded ? 1 : 0;
      }
      if (frame == 11) after = GameView::Now();
    };
    play.Play(60);
    ExpectPlayedToTheEnd(play, 60);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(after, before) << "the game goes on as it was";
    if (c.message.empty()) {
      EXPECT_TRUE(play.errorScreens.empty()) << testing::PrintToString(Messages(play));
    } else {
      ASSERT_EQ(play.errorScreens.size(), 1u) << testing::PrintToString(Messages(play));
      EXPECT_EQ(play.errorScreens[0][0].rfind(c.message, 0), 0u) << play.errorScreens[0][0];
    }
  }
}

}  // namespace
