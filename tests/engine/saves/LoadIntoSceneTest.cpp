// A save entering a game whose screen runs: the old game's graphics go, the
// loaded game's transition is the one in force, and the transition the load
// starts fades from the screen the player saw.

#include <gtest/gtest.h>

#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/saves/SavePath.h"
#include "engine/services/StartupSettings.h"
#include "tests/engine/saves/SaveTestFixture.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/GameFolderWriter.h"

namespace {

class LoadIntoSceneTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    SaveTest::PrepareGame(dir.Path());
    Start(32);
    TileUnit = 32;
    SystemStateHub.RecreateTransitionSurfaces();
    // Transition image 0: a left-to-right ramp.
    std::vector<std::vector<uint32_t>> rows(8, std::vector<uint32_t>(8));
    for (auto& row : rows) {
      for (uint32_t x = 0; x < 8; ++x) row[x] = x * 0x202020;
    }
    BmpFileFields bmp;
    bmp.width = 8;
    bmp.height = -8;
    bmp.data = PackBmpRows(24, rows);
    dir.Write("Data/Transition/wipe.bmp", BmpFile(bmp));
    SetDatabaseType(SystemDatabase, kTransitionType, "トランジション", {2000}, {"ファイル"}, 1);
    ASSERT_TRUE(SystemDatabase.SetString(kTransitionType, 0, 0, "Transition\\wipe.bmp"));
  }
  void TearDown() override {
    SaveTest::EndGame();
    GraphicsFixture::TearDown();
  }
  // Saves slot 1 and enters it again.
  static void Load() {
    ASSERT_TRUE(SaveSlots.LoadSaveSlot(1, true, false, kSaveSlotPrefix));
    ASSERT_TRUE(ApplyPendingLoad());
  }
  static constexpr int32_t kTransitionType = 11;
};

TEST_F(LoadIntoSceneTest, TheLoadedGameTransitionsAsItWasSetAndKeepsNoGraphicOfTheOldOne) {
  // Saved after choosing image 0 over 45 frames.
  RootRunner.transitionSetting1 = 0;
  RootRunner.transitionSetting2 = 45;
  RootRunner.transitionSetting3 = 0;
  SystemStateHub.LoadTransitionImage(0, 45, 0);
  ASSERT_GT(SystemStateHub.transitionImage, 0);
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));

  // Then a plain fade of 5 frames, and graphics only the old game held.
  RootRunner.transitionSetting1 = -1;
  RootRunner.transitionSetting2 = 5;
  SystemStateHub.LoadTransitionImage(-1, 5, 0);
  const int stray = SolidGraphic(16, 16, 0x123456);
  ASSERT_GE(stray, 0);
  for (int i = 0; i < 5; ++i) SolidGraphic(16, 16, 0x654321);
  const int before = GetGraphicCount();

  Load();
  EXPECT_EQ(SystemStateHub.plainFade, 0) << "the next screen change wipes through the saved image";
  EXPECT_EQ(SystemStateHub.transitionTotal, 45);
  EXPECT_GT(SystemStateHub.transitionImage, 0);
  int w = 0, h = 0;
  EXPECT_EQ(GetGraphicSize(SystemStateHub.transitionImage, &w, &h), 0);
  EXPECT_EQ(w, 8);
  // The capture surfaces are made anew and screen-sized.
  EXPECT_EQ(GetGraphicSize(SystemStateHub.capturedScreen, &w, &h), 0);
  EXPECT_EQ(w, 640);
  // The six graphics only the old game held went; what the loaded game
  // needs is made anew.
  const int after = GetGraphicCount();
  EXPECT_LE(after, before - 5) << "the saved image is the one graphic more";
  for (int i = 0; i < 3; ++i) Load();
  EXPECT_EQ(GetGraphicCount(), after) << "no load leaves graphics behind";
}

TEST_F(LoadIntoSceneTest, TheLoadsTransitionFadesFromTheScreenThePlayerSaw) {
  RootRunner.transitionSetting1 = -1;
  RootRunner.transitionSetting2 = 30;
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  // The frame before the load showed red; the live game fades in 5.
  SystemStateHub.LoadTransitionImage(-1, 5, 0);
  const int red = SolidGraphic(640, 480, 0xFF0000);
  SetDrawTarget(kBackScreen);
  DrawGraphicAt(0, 0, red, 0);
  ASSERT_TRUE(SystemStateHub.StartTransition());

  Load();
  ASSERT_EQ(SystemStateHub.transitionActive, 1);
  EXPECT_EQ(SystemStateHub.transitionCounter, 30) << "the loaded game's length";
  // What the fade starts from, drawn on a cleared screen: the red frame.
  SetDrawTarget(kBackScreen);
  ClearDrawTarget();
  DrawGraphicAt(0, 0, SystemStateHub.capturedScreen, 0);
  EXPECT_EQ(BackPixel(320, 240), 0xFF0000u);
  EXPECT_EQ(BackPixel(0, 479), 0xFF0000u);
}

}  // namespace
