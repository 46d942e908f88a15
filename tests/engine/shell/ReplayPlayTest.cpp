// A game played live while its input is recorded, then played back from the
// recorded log: the same frames from the title on, and the end of the log
// told exactly once.

#include <gtest/gtest.h>

#include <vector>

#include "engine/data/ReplayLog.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

TEST(ReplayPlayTest, PlayingTheRecordedLogShowsTheSameFramesAndOneEndScreen) {
  TestDirectory dir;
  demo::WriteDemoGame(dir.Path());
  constexpr int64_t kFrames = demo::kVillagerVisitFrames;
  PlayHarness live(dir.Path());
  demo::HoldVillagerVisit(live);
  ReplayPlaying = false;
  live.Play(kFrames);
  ASSERT_EQ(live.frameHashes.size(), static_cast<size_t>(kFrames));
  EXPECT_TRUE(live.errorScreens.empty());

  GameReplay.FlushRun();
  const ReplayLog recorded = GameReplay;

  // The same game started again, playing the log; no key is pressed.
  GameReplay = recorded;
  ReplayPlaying = true;
  ReplayEnded = false;
  PlayHarness replay(dir.Path());
  replay.Play(kFrames + 20);
  ASSERT_GE(replay.frameHashes.size(), static_cast<size_t>(kFrames));
  const std::vector<uint64_t> played(replay.frameHashes.begin(), replay.frameHashes.begin() + kFrames);
  EXPECT_EQ(played, live.frameHashes);
  ASSERT_EQ(replay.errorScreens.size(), 1u);
  EXPECT_EQ(replay.errorScreens[0][0], "リプレイデータが終了しました");
  // The playback ended and the game went back to its title.
  EXPECT_FALSE(ReplayPlaying);
}

}  // namespace
