// The demo's choice windows play its decide, cursor and cancel effects.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/sound/SoundHooks.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/ChoiceSounds.h"
#include "tools/demo/DemoGame.h"
#include "tools/demo/DemoMaps.h"

namespace {

std::vector<int32_t> gEffects;

void RecordEffect(int32_t kind, int32_t entry, int32_t, int32_t) {
  if (kind == 2) gEffects.push_back(entry);
}

// The town with one more event: as soon as the game starts it asks a
// question whose second answer is the cancel answer.
GameFolderContent DemoWithAQuestion() {
  GameFolderContent game = demo::DemoGame();
  for (auto& [name, map] : game.maps) {
    if (name != "Map000.mps") continue;
    int32_t id = 0;
    for (const MapEvent& e : map.events) id = std::max(id, e.id + 1);
    MapEvent question(id);
    question.name = "質問";
    EventPage& page = question.pages[0];
    page.conditions.triggerKind = 1;  // automatic
    page.commands = CommandListBuilder()
                        .Add({102, 2 | (3 << 4)}, {"はい", "いいえ"})
                        .Add({401, 1})
                        .Indent()
                        .Case(2)
                        .EndBranch()
                        .Build();
    page.commandCount = static_cast<int32_t>(page.commands.size());
    map.events.push_back(question);
    map.header.eventCount = static_cast<int32_t>(map.events.size());
  }
  return game;
}

TEST(DemoChoiceSoundsTest, AChoicePlaysTheCursorDecideAndCancelEffects) {
  TestDirectory dir;
  WriteGameFolder(dir.Path(), DemoWithAQuestion());
  gEffects.clear();
  const SoundHooks recording = {RecordEffect};
  SetSoundHooks(&recording);
  PlayHarness play(dir.Path());
  play.Hold(10, {kKeyDown});
  play.Hold(12, {});
  play.Hold(20, {kKeyEnter});
  play.Hold(22, {});
  play.Hold(40, {kKeyEscape});
  play.Hold(42, {});
  int32_t setAtFrame2[3] = {};
  play.onFrame = [&](int64_t frame) {
    if (frame == 2) std::copy_n(RootRunner.systemValues17To19, 3, setAtFrame2);
  };
  play.Play(60);
  SetSoundHooks(nullptr);
  EXPECT_TRUE(play.errorScreens.empty());
  EXPECT_EQ(setAtFrame2[0], demo::kDecideSoundEntry);
  EXPECT_EQ(setAtFrame2[1], demo::kCursorSoundEntry);
  EXPECT_EQ(setAtFrame2[2], demo::kCancelSoundEntry);
  EXPECT_EQ(gEffects, (std::vector<int32_t>{demo::kCursorSoundEntry, demo::kDecideSoundEntry, demo::kCancelSoundEntry}));
}

}  // namespace
