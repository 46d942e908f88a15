#include "engine/shell/DebugOverlay.h"

#include <gtest/gtest.h>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/shell/FunctionKeys.h"
#include "engine/sound/SoundManager.h"
#include "tests/engine/shell/ShellTestFixture.h"
#include "tests/support/GameFolderWriter.h"

namespace {

class DebugOverlayTest : public ShellTest {
 protected:
  void TearDown() override {
    GamePictures = PictureList();
    PictureFiles = PictureFileTable();
    GameSounds = SoundManager();
    CachedGraphics = GraphicCache();
    ClearCommonEventRunners();
    CommonEvents = CommonEventList();
    SystemDatabase = Database();
    TestPlayFlag = 0;
    ResetFunctionKeyState();
    ShellTest::TearDown();
  }
};

TEST_F(DebugOverlayTest, ListsPicturesSoundsGraphicsAndRunningCommonEventsInTheirPlaces) {
  for (int32_t number = 1; number <= 23; ++number) GamePictures.pictures.emplace_back(number * 10);
  PictureFiles.entries.resize(2);
  PictureFiles.entries[0].fileName = "Picture\\a.png";
  PictureFiles.entries[1].fileName = "Picture\\b.png";
  // Entry 1 of the sound effects and entry 0 of the music are loaded.
  for (int32_t type = 1; type <= 3; ++type) SetDatabaseType(SystemDatabase, type, "", {2000}, {"ファイル名"}, 2);
  SystemDatabase.SetString(1, 0, 0, "BGM\\m.ogg");
  SystemDatabase.SetString(3, 1, 0, "SE\\s.wav");
  GameSounds.handles[0][0] = 11;
  GameSounds.handles[2][1] = 12;
  GameSounds.handles[2][0] = 0;  // a released entry
  CachedGraphics.indexByName = {{"Chara\\b.png", 0}, {"Chara\\a.png", 1}};
  CachedGraphics.pieces.resize(2);
  // Of three common events only the second runs in parallel.
  CommonEvents.events.resize(3);
  CommonEvents.events[1].trigger = 3;
  for (int32_t number = 0; number < 3; ++number) RefreshCommonEventRunner(number);

  const uint32_t white = PackColor(255, 255, 255), heading = PackColor(255, 120, 120);
  std::vector<DebugText> expected = {
      {0, 0, white, "[デバッグデータ]　　[ピクチャ 23(画像数2)] / [音声数 2]"},
      {0, 22, heading, "[読込ピクチャ]"},
      {0, 34, white, "Picture\\a.png"},
      {0, 46, white, "Picture\\b.png"},
      {0, 70, heading, "[読込サウンド]"},
      {0, 82, white, "BGM\\m.ogg"},
      {0, 94, white, "SE\\s.wav"},
      {320, 32, heading, "[読込スプライト]"},
      {320, 44, white, "Chara\\b.png"},
      {320, 56, white, "Chara\\a.png"},
  };
  // Eleven picture numbers in the first row, ten in the next.
  for (int32_t i = 0; i < 23; ++i) {
    const int32_t row = i < 11 ? 0 : (i - 1) / 10;
    const int32_t column = i < 11 ? i : (i - 11) % 10;
    expected.push_back({column * 60, 300 + 12 * row, white, std::to_string((i + 1) * 10) + ","});
  }
  expected.push_back({0, 430, heading, "[実行中並列コモン]"});
  expected.push_back({0, 442, white, "1"});
  const std::vector<DebugText> texts = DebugOverlayTexts();
  ASSERT_EQ(texts.size(), expected.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i], expected[i]) << i << ": " << texts[i].text << " at " << texts[i].x << "," << texts[i].y;
  }
}

TEST_F(DebugOverlayTest, DrawsOverTheFrameOnlyInTestPlayWhileF8IsHeld) {
  struct Case {
    int32_t testPlay;
    bool held;
    bool darkened;
  } cases[] = {{1, true, true}, {1, false, false}, {0, true, false}, {0, false, false}};
  SetDrawTarget(kBackScreen);
  for (const Case& c : cases) {
    ClearDrawTarget();
    SetBlendMode(0, 255);
    DrawRectangle(0, 0, 640, 480, PackColor(255, 255, 255), 1);
    TestPlayFlag = c.testPlay;
    Input.functionKeys[3][0] = c.held ? 1 : 0;
    DebugInfo(1.0f);
    const uint32_t corner = BackPixel(639, 479);
    EXPECT_EQ(corner != 0xFFFFFFu, c.darkened) << c.testPlay << " " << c.held << " " << std::hex << corner;
  }
}

}  // namespace
