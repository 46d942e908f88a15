// The variable operation plus: what each information kind reads, the
// assignment and its clamp, the indirect target, and the kinds that do
// nothing.

#include <climits>
#include <vector>

#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/InputState.h"
#include "engine/sound/SoundEntries.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/FakeMapHooks.h"
#include "tests/support/FakePictureHooks.h"

namespace {

class VariableOperationPlusTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    Input = InputState();
  }
  void TearDown() override {
    Input = InputState();
    SoundEntryCounts = SoundEntries();
    InterpreterTest::TearDown();
  }
  // V(0) := (assign) the value of kind, first and second selector.
  int32_t Read(int32_t kind, int32_t first, int32_t second, int32_t extra = 0, int32_t assign = 0) {
    RunPlain(CommandListBuilder().Add({124, 2000000, kind << 12 | assign << 8 | extra, first, second}).Build());
    return V(0);
  }
  static CharacterFacts Facts(int32_t id, int32_t preciseX, bool mapEvent) {
    CharacterFacts f;
    f.id = id;
    f.preciseX = preciseX;
    f.preciseY = 9;
    f.height = 4;
    f.direction = 6;
    f.screenX = 120;
    f.screenYBase = 88;
    f.extraImage = 3;
    f.terrainTag = 7;
    f.onScreen = true;
    f.isMapEvent = mapEvent;
    f.activePage = 2;
    f.trigger = 3;
    f.collisionX = 5;
    f.collisionY = 6;
    return f;
  }
  FakeMapHooks map;
  FakePictureHooks pictures;
};

TEST_F(VariableOperationPlusTest, CharacterProperties) {
  map.mapId = 1;
  map.events[4] = {7, 9, 0};
  map.party = {{-1, 0, 0}};
  map.characterFacts[4] = Facts(4, 7, true);
  map.characterFacts[-2] = Facts(-2, -1, false);
  const int32_t event[16] = {3, 4, 7, 9, 4, 6, 120, 88, 3, 7, 4, 1, 3, 3, 5, 6};
  const int32_t hero[16] = {0, 4, -1, 9, 4, 6, 120, 88, 3, 7, -2, 1, 0, 0, 0, 0};
  for (int32_t property = 0; property < 16; ++property) {
    EXPECT_EQ(Read(1, 4, property), event[property]) << property;
    EXPECT_EQ(Read(1, -2, property), hero[property]) << property;
  }
  EXPECT_EQ(Read(1, 4, 16), 0) << "a property past the table";
  EXPECT_EQ(Read(1, 5, 0), -1) << "no such character";
  EXPECT_EQ(Read(1, -3, 0), -1) << "no follower";
}

TEST_F(VariableOperationPlusTest, MapPositions) {
  map.events[8] = {7, 4, 0};  // stands on tile (3, 2) whatever half
  map.events[9] = {6, 4, 0};
  map.terrainTags[{6, 4}] = 11;
  map.tileLayers[{6, 4}] = {5, 0, 0};
  map.tileLayers[{7, 4}] = {5, 6, 0};
  map.passable = {{6, 4}};
  struct Case {
    int32_t code, x, y;
    bool precise;
    int32_t expected;
  };
  const Case cases[] = {
      {0, 3, 2, false, 11}, {0, 6, 4, true, 11}, {0, 7, 4, true, 0},
      {1, 3, 2, false, 8},  {1, 6, 4, true, 9},  {1, 9, 9, false, -1},
      {2, 3, 2, false, 0},  {2, 7, 4, true, 1},  {3, 3, 2, false, 1},
      {4, 3, 2, false, 5},  {4, 7, 4, true, 6},  {4, 50, 50, false, -1},  // outside the map
      {5, 3, 2, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(2, c.x, c.y, c.code << 16 | (c.precise ? 0x20 : 0)), c.expected)
        << c.code << " (" << c.x << "," << c.y << ")";
  }
  map.heroEnterable = {{6, 4}};
  EXPECT_EQ(Read(2, 3, 2, 3 << 16), 0);
}

TEST_F(VariableOperationPlusTest, OtherInformation) {
  map.mapId = 12;
  map.eventUnderMouse = 3;
  RootRunner.currentMusicEntry = 4;
  RootRunner.currentBackgroundSoundEntry = 6;
  SoundEntryCounts.baseCount[0] = 5;
  SoundEntryCounts.baseCount[1] = 7;
  Input.mouseHeld = {1, 1, 0};
  Input.mousePressed = {1, 0, 0};
  Input.mouseWheel = -2;
  Input.mouseMoveX = 5;
  Input.mouseMoveY = -6;
  Input.mouseX = 100;
  Input.mouseY = 50;
  const int32_t expected[] = {12, 4, 6, 0, 0, 0, 0, 2, 1, 0, -2, 5, -6, 3, -1};
  for (int32_t item = 0; item < 15; ++item) EXPECT_EQ(Read(3, item, 0), expected[item]) << item;
  EXPECT_EQ(map.mouseAsked, (std::pair<int32_t, int32_t>{100, 50}));
  SystemStateHub.transferMapId = 40;
  EXPECT_EQ(Read(3, 0, 0), 12);
  SystemStateHub.mapChangePending = 1;
  EXPECT_EQ(Read(3, 0, 0), 40) << "the transfer's map while it waits";
  SystemStateHub.mapChangePending = 0;
  EXPECT_EQ(Read(3, 99, 0), 0);
}

TEST_F(VariableOperationPlusTest, SoundsPlayingFromASpareEntryReadAsNone) {
  SoundEntryCounts.baseCount[0] = 5;
  SoundEntryCounts.baseCount[1] = 7;
  struct Case {
    int32_t music, background, expectedMusic, expectedBackground;
  } cases[] = {
      {4, 6, 4, 6},    // the last entries of the game's own
      {5, 7, -1, -1},  // the first spare entries
      {14, 16, -1, -1},
      {-1, -1, -1, -1},  // nothing playing
  };
  for (const Case& c : cases) {
    RootRunner.currentMusicEntry = c.music;
    RootRunner.currentBackgroundSoundEntry = c.background;
    EXPECT_EQ(Read(3, 1, 0), c.expectedMusic) << c.music;
    EXPECT_EQ(Read(3, 2, 0), c.expectedBackground) << c.background;
  }
}

TEST_F(VariableOperationPlusTest, PicturePropertiesReadTheNumberAsAValue) {
  pictures.properties[{7, 2}] = 48;
  V(3) = 7;
  EXPECT_EQ(Read(4, 2000003, 2), 48);
  EXPECT_EQ(Read(4, 7, 9), -1);
}

TEST_F(VariableOperationPlusTest, TheAssignmentTheClampAndTheIndirectTarget) {
  pictures.properties[{1, 0}] = 5;
  V(0) = 2000000000;
  EXPECT_EQ(Read(4, 1, 0, 0, 1), 2000000000) << "saturated";
  V(0) = 3;
  EXPECT_EQ(Read(4, 1, 0, 0, 3), 15);
  V(0) = 0;
  pictures.properties[{1, 0}] = -1234567;
  EXPECT_EQ(Read(4, 1, 0, 0x1), -999999);
  EXPECT_EQ(Read(4, 1, 0, 0, 9), -999999) << "operator 9 stores nothing";

  // V(0) names V(5) by its number.
  V(0) = 5;
  pictures.properties[{1, 0}] = 40;
  RunPlain(CommandListBuilder().Add({124, 2000000, 4 << 12 | 1 << 8 | 0x10, 1, 0}).Build());
  EXPECT_EQ(V(5), 40);
  EXPECT_EQ(V(0), 5);
}

TEST_F(VariableOperationPlusTest, OtherKindsDoNothing) {
  // The run loop asks for one page refresh before the command; the
  // command adds its own only when it stores.
  for (int32_t kind : {0, 5, 15}) {
    V(0) = 9;
    map.pageRefreshRequests = 0;
    EXPECT_EQ(Read(kind, 0, 0), 9);
    EXPECT_EQ(map.pageRefreshRequests, 1) << kind;
  }
  map.pageRefreshRequests = 0;
  Read(3, 0, 0);
  EXPECT_EQ(map.pageRefreshRequests, 2);
}

}  // namespace
