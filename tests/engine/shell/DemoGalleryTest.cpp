// The demo's gallery played headless from its entrance: the pictures on
// their four layers, the screen's tone, flash and transition, the map held
// still, the speech command's error, and the golden frames of the show.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

// The demo, started at the gallery's entrance.
GameFolderContent DemoInTheGallery() {
  GameFolderContent game = demo::DemoGame();
  game.systemDatabase.SetInt(SystemTypes::kStartPosition, 0, 0, demo::kGalleryMap);
  game.systemDatabase.SetInt(SystemTypes::kStartPosition, 0, 1, demo::kGalleryEntranceX);
  game.systemDatabase.SetInt(SystemTypes::kStartPosition, 0, 2, demo::kGalleryEntranceY);
  return game;
}

struct Seen {
  std::vector<int32_t> numbers;
  std::set<int32_t> layers;
  int16_t tone[3] = {0, 0, 0};
  int16_t flashCounter = -1;
  bool transitionActive = false;
  uint8_t mapDrawing = 1;
  bool running = false;
};

Seen Look() {
  Seen s;
  for (const Picture& p : GamePictures.pictures) {
    s.numbers.push_back(p.number);
    s.layers.insert(PictureLayer(p.number));
  }
  std::copy_n(RootRunner.currentTone, 3, s.tone);
  s.flashCounter = RootRunner.flashCounter;
  s.transitionActive = SystemStateHub.transitionActive != 0;
  s.mapDrawing = RootRunner.mapDrawing;
  s.running = RootInterpreter.IsRunning();
  return s;
}

TEST(DemoGalleryTest, TheShowGoesThroughEveryPictureKindAndScreenEffectAndEnds) {
  TestDirectory dir;
  WriteGameFolder(dir.Path(), DemoInTheGallery());
  PlayHarness play(dir.Path());
  // Up to face the curator, who stands in the way; decide starts the show.
  play.Hold(1, {kKeyUp});
  play.Hold(3, {});
  play.Hold(5, {kKeyEnter});
  play.Hold(7, {});
  constexpr int64_t kStart = 6;
  // Frames of the show's parts: all pictures shown (the delayed one too),
  // turning with their effects, the warm tone, the flash, the transition,
  // the map held still, after the end.
  const int64_t kShown = kStart + 48, kEffects = kStart + 75, kToned = kStart + 148, kFlash = kStart + 182,
                kTransition = kStart + 222, kHeld = kStart + 270, kEnd = kStart + 400;
  std::map<int64_t, Seen> seen;
  std::vector<std::string> goldenFailures;
  play.onFrame = [&](int64_t frame) {
    for (const int64_t at : {kStart - 2, kShown, kEffects, kToned, kFlash, kTransition, kHeld, kEnd}) {
      if (frame != at) continue;
      seen[at] = Look();
      if (at < kStart) continue;
      const std::string failure = CheckGoldenFrame(MOVAN_DEMO_GOLDEN_DIR, "gallery-" + std::to_string(at));
      if (!failure.empty()) goldenFailures.push_back(failure);
    }
  };
  play.Play(kEnd + 1);
  EXPECT_EQ(play.exit.code, 0);
  for (const std::string& failure : goldenFailures) ADD_FAILURE() << failure;

  EXPECT_EQ(seen[kShown].numbers,
            (std::vector<int32_t>{demo::kBehindMapPicture, demo::kUnderCharactersPicture, 1, 2, 3, 4, 5, 6, 7,
                                  demo::kTopPicture}));
  EXPECT_EQ(seen[kShown].layers, (std::set<int32_t>{-2, -1, 0, 1}));
  EXPECT_NE(seen[kToned].tone[0], 0) << "warm";
  EXPECT_LT(seen[kToned].tone[2], 0);
  EXPECT_GT(seen[kFlash].flashCounter, 0);
  EXPECT_TRUE(seen[kTransition].transitionActive);
  EXPECT_EQ(seen[kHeld].mapDrawing, 0);
  // The speech command's error, once, and the show goes on to its end.
  ASSERT_EQ(play.errorScreens.size(), 1u);
  EXPECT_EQ(play.errorScreens[0][0], "【エラー】 合成音声再生コマンドが実行されましたが、");
  EXPECT_TRUE(seen[kEnd].numbers.empty()) << "the pictures faded";
  EXPECT_EQ(seen[kEnd].mapDrawing, 1);
  EXPECT_FALSE(seen[kEnd].running) << "the hero may walk again";
  EXPECT_FALSE(seen[kStart - 2].running) << "nothing before the curator is spoken to";
}

}  // namespace
