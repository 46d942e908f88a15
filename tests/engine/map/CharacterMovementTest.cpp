#include <gtest/gtest.h>

#include <climits>

#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/services/EngineRandom.h"
#include "tests/engine/map/MapTestFixture.h"

namespace {

class CharacterMovementTest : public MapTest {
 protected:
  // A character standing on precise (x, y) of the current map.
  static MapCharacter At(int32_t x, int32_t y) {
    MapCharacter c;
    c.id = 100;
    c.graphicId = 1;
    c.preciseX = x;
    c.preciseY = y;
    c.quarterX = 2 * CurrentMapSettings.tileUnit * x;
    c.quarterY = 2 * CurrentMapSettings.tileUnit * y;
    return c;
  }
  static void Walls(std::initializer_list<std::pair<int32_t, int32_t>> tiles) {
    SetPlainTileFlags(1, MapScene::kAllEdges);
    for (const auto& [x, y] : tiles) SetTile(0, x, y, 1);
  }
};

TEST_F(CharacterMovementTest, StepsMoveByTheStepSizeAndRefuseOffTheMap) {
  UseMap(5, 5);
  struct Case {
    int32_t d;
    int32_t dx;
    int32_t dy;
  };
  for (const Case& k : {Case{2, 0, 1}, Case{4, -1, 0}, Case{6, 1, 0}, Case{8, 0, -1}, Case{1, -1, 1}, Case{3, 1, 1},
                        Case{7, -1, -1}, Case{9, 1, -1}}) {
    MapCharacter c = At(4, 4);
    EXPECT_TRUE(c.StepToward(k.d, false)) << k.d;
    EXPECT_EQ(c.preciseX, 4 + k.dx) << k.d;
    EXPECT_EQ(c.preciseY, 4 + k.dy) << k.d;
    EXPECT_EQ(c.direction, k.d) << k.d;
  }
  MapCharacter edge = At(0, 0);
  edge.passThrough = 1;
  EXPECT_FALSE(edge.StepLeft(true)) << "passing through still keeps to a map that does not loop";
  EXPECT_EQ(edge.direction, 4) << "turned first";
  EXPECT_FALSE(edge.StepUp(false));
  EXPECT_EQ(edge.direction, 4);
  MapCharacter right = At(8, 0);
  EXPECT_FALSE(right.StepRight(false)) << "x = 2W - 1 is outside";
}

TEST_F(CharacterMovementTest, WalkingReachesTheTargetAtTheSpeedSet) {
  UseMap(10, 10);
  struct Case {
    int16_t speed;
    int32_t factor;
    int32_t frameStep;
    int frames;
  };
  for (const Case& k : {Case{4, 4, 1, 4}, Case{3, 4, 1, 8}, Case{5, 4, 1, 2}, Case{4, 8, 1, 2}, Case{4, 4, 2, 2},
                        Case{40, 4, 1, 1}, Case{32767, 255, 3, 1}}) {
    CurrentMapSettings.eventSpeedFactor = k.factor;
    CurrentMapSettings.frameStep = k.frameStep;
    MapCharacter c = At(4, 4);
    c.moveSpeed = k.speed;
    ASSERT_TRUE(c.StepDown(false));
    int frames = 0;
    while (c.IsMoving() && frames < 100) {
      c.UpdateMovement();
      ++frames;
    }
    EXPECT_EQ(frames, k.frames) << k.speed << " " << k.factor << " " << k.frameStep;
    EXPECT_EQ(c.quarterY, 5 * 64);
  }
  MapCharacter still = At(4, 4);
  still.moveSpeed = -1;
  ASSERT_TRUE(still.StepDown(false));
  still.UpdateMovement();
  EXPECT_EQ(still.quarterY, 4 * 64) << "a negative speed does not move";
}

TEST_F(CharacterMovementTest, NeighboursBlockWithinOneColumn) {
  UseMap(10, 10);
  MapEventState& e = AddEvent(1, 6, 4);
  MapCharacter c = At(3, 4);
  EXPECT_TRUE(c.StepRight(false)) << "landing on 4: two columns from the event";
  EXPECT_FALSE(c.StepRight(false)) << "landing on 5: one column from it";
  EXPECT_EQ(c.preciseX, 4);
  EXPECT_TRUE(c.CanMove(4, 5, 6)) << "another row";
  EXPECT_TRUE(c.CanMove(4, 3, 6));
  e.tall = 1;
  EXPECT_FALSE(c.CanMove(4, 3, 6)) << "a tall event also holds the row above";
  e.passThrough = 1;
  EXPECT_TRUE(c.CanMove(4, 4, 6));
  e.passThrough = 0;
  c.id = 1;
  EXPECT_TRUE(c.CanMove(4, 4, 6)) << "an event does not block itself";
}

TEST_F(CharacterMovementTest, HeroPassesEventsWithoutGraphicAndTheyPassTheHero) {
  UseMap(10, 10);
  MapEventState& e = AddEvent(1, 6, 4);
  e.graphicId = -1;
  hero_.passThrough = 0;
  hero_.preciseX = 4;
  hero_.preciseY = 4;
  EXPECT_TRUE(hero_.CanMove(4, 4, 6)) << "no graphic: the hero walks through";
  e.graphicFile = "a.png";
  EXPECT_FALSE(hero_.CanMove(4, 4, 6));
  e.graphicFile.clear();
  EXPECT_TRUE(e.CanMove(6, 4, 4)) << "an event without a graphic is not blocked by the hero";
  e.graphicId = 3;
  EXPECT_FALSE(e.CanMove(6, 4, 4));
  hero_.tall = 1;
  hero_.preciseY = 5;
  EXPECT_FALSE(e.CanMove(6, 4, 4)) << "a tall hero also holds the row above its own";
  hero_.passThrough = 1;
  EXPECT_TRUE(e.CanMove(6, 4, 4));
}

TEST_F(CharacterMovementTest, NeighboursMeetAcrossTheSeamOfALoopingMap) {
  UseMap(10, 10);
  CurrentMap.loopX = 1;
  AddEvent(1, 19, 4);
  MapCharacter c = At(2, 4);
  EXPECT_TRUE(c.CanMove(2, 4, 4)) << "landing on 1: two columns from 19 round the map";
  EXPECT_FALSE(c.CanMove(1, 4, 4)) << "landing on 0: next to 19 round the map";
}

TEST_F(CharacterMovementTest, TallCharactersWithHalfStepsNeedTheRowAbove) {
  UseMap(10, 10);
  Walls({{3, 1}});  // rows 2 and 3
  MapCharacter c = At(4, 4);
  EXPECT_TRUE(c.CanMove(4, 4, 6));
  c.tall = 1;
  EXPECT_TRUE(c.CanMove(4, 4, 6));
  EXPECT_FALSE(c.CanMove(4, 3, 6)) << "the upper half row meets the wall";
  EXPECT_FALSE(c.CanMove(0, 18, 2)) << "feet must stay inside";
}

TEST_F(CharacterMovementTest, DiagonalStepSlidesAlongAWallOnlyWithASlideFlag) {
  UseMap(10, 10);
  Walls({{2, 2}});  // the tile to the lower left of (6, 2)... placed below-left of the walker
  // The walker stands on tile (3, 1), precise (6, 2); down-left needs tile
  // (2, 2) through both paths.
  MapCharacter event = At(6, 2);
  event.stepSize = 2;
  EXPECT_FALSE(event.StepDownLeft(true));
  EXPECT_EQ(event.preciseX, 6);
  EXPECT_EQ(event.direction, 1) << "turned first";

  MapCharacter sliding = At(6, 2);
  sliding.stepSize = 2;
  sliding.slide = 1;
  EXPECT_TRUE(sliding.StepDownLeft(false));
  EXPECT_EQ(sliding.preciseX, 6) << "vertical part first";
  EXPECT_EQ(sliding.preciseY, 4);

  Walls({{2, 2}, {3, 2}});
  MapCharacter horizontal = At(6, 2);
  horizontal.stepSize = 2;
  horizontal.slideToward = 1;
  EXPECT_TRUE(horizontal.StepDownLeft(false));
  EXPECT_EQ(horizontal.preciseX, 4) << "then the horizontal part";
  EXPECT_EQ(horizontal.preciseY, 2);

  Walls({{2, 2}, {3, 2}, {2, 1}});
  MapCharacter boxed = At(6, 2);
  boxed.stepSize = 2;
  boxed.slide = 1;
  EXPECT_FALSE(boxed.StepDownLeft(false));
}

TEST_F(CharacterMovementTest, HeroStepsAreRecorded) {
  UseMap(10, 10);
  Walls({{2, 2}});
  hero_.passThrough = 0;
  hero_.stepSize = 2;
  hero_.preciseX = 6;
  hero_.preciseY = 2;
  hero_.quarterX = 6 * 64;
  hero_.quarterY = 2 * 64;
  EXPECT_TRUE(hero_.StepDownLeft(false));
  EXPECT_TRUE(hero_.StepUp(false));
  EXPECT_EQ(heroSteps, (std::vector<int32_t>{2, 8}));
}

TEST_F(CharacterMovementTest, FacingsOnFourDirectionSheets) {
  struct Case {
    int32_t from;
    int32_t diagonal;
    int32_t expected;
  };
  for (const Case& k : {Case{6, 7, 4}, Case{2, 7, 8}, Case{6, 1, 4}, Case{4, 1, 2}, Case{4, 9, 6}, Case{2, 9, 8},
                        Case{4, 3, 6}, Case{8, 3, 2}}) {
    MapCharacter c;
    c.eightDirSheet = 0;
    c.direction = static_cast<int16_t>(k.from);
    c.idleFrames = 9;
    c.Face(k.diagonal);
    EXPECT_EQ(c.direction, k.expected) << k.from << " " << k.diagonal;
    EXPECT_EQ(c.idleFrames, 0);
  }
  MapCharacter fixed;
  fixed.directionFixed = 1;
  fixed.Face(8);
  fixed.Face(9);
  EXPECT_EQ(fixed.direction, 2);
}

TEST_F(CharacterMovementTest, TurnsByNinetyOrFortyFiveDegrees) {
  const int32_t rightEight[10] = {0, 4, 1, 2, 7, 0, 3, 8, 9, 6};
  const int32_t leftEight[10] = {0, 2, 3, 6, 1, 0, 9, 4, 7, 8};
  for (int32_t d : {1, 2, 3, 4, 6, 7, 8, 9}) {
    MapCharacter c;
    c.direction = static_cast<int16_t>(d);
    c.TurnRight90();
    EXPECT_EQ(c.direction, rightEight[d]) << d;
    c.direction = static_cast<int16_t>(d);
    c.TurnLeft90();
    EXPECT_EQ(c.direction, leftEight[d]) << d;
  }
  MapCharacter four;
  four.eightDirSheet = 0;
  for (int32_t expected : {4, 8, 6, 2}) {
    four.TurnRight90();
    EXPECT_EQ(four.direction, expected);
  }
  four.TurnLeft90();
  EXPECT_EQ(four.direction, 6);
  four.direction = 7;
  four.TurnLeft90();
  EXPECT_EQ(four.direction, 7) << "a diagonal on a four-direction sheet has no turn";
}

TEST_F(CharacterMovementTest, FaceHeroAndAway) {
  UseMap(20, 20);
  struct Case {
    int32_t heroX;
    int32_t heroY;
    int32_t toward;
    int32_t away;
  };
  for (const Case& k : {Case{10, 20, 2, 8}, Case{10, 0, 8, 2}, Case{0, 10, 4, 6}, Case{20, 10, 6, 4},
                        Case{6, 14, 1, 8}, Case{14, 6, 9, 2}, Case{6, 6, 7, 2}, Case{14, 14, 3, 8}, Case{11, 14, 2, 8}}) {
    hero_.preciseX = k.heroX;
    hero_.preciseY = k.heroY;
    MapCharacter c = At(10, 10);
    c.FaceHero();
    EXPECT_EQ(c.direction, k.toward) << k.heroX << "," << k.heroY;
    c.FaceAwayFromHero();
    EXPECT_EQ(c.direction, k.away) << k.heroX << "," << k.heroY;
  }
}

TEST_F(CharacterMovementTest, DistancesTakeTheShortWayRoundALoopingMap) {
  UseMap(10, 10);
  MapCharacter c = At(18, 4);
  EXPECT_EQ(c.DistanceX(1), 17);
  CurrentMap.loopX = 1;
  EXPECT_EQ(c.DistanceX(1), -3) << "the target lies to the right, over the edge";
  EXPECT_EQ(c.DistanceX(19), -1);
  MapCharacter left = At(1, 4);
  EXPECT_EQ(left.DistanceX(18), 3);
  EXPECT_EQ(c.DistanceY(0), 4) << "y does not loop";

  hero_.preciseX = 1;
  hero_.preciseY = 4;
  CurrentMapSettings.moveDirections = 8;
  c.StepTowardHero();
  EXPECT_EQ(c.preciseX, 19) << "steps right over the edge";
  EXPECT_EQ(c.direction, 6);
  EXPECT_EQ(c.slideToward, 1);
}

TEST_F(CharacterMovementTest, StepTowardACharacterOrATile) {
  UseMap(10, 10);
  CurrentMapSettings.moveDirections = 4;
  AddEvent(5, 10, 4).passThrough = 1;
  MapCharacter c = At(4, 4);
  c.StepTowardCharacter(1, 5, 0);
  EXPECT_EQ(c.preciseX, 5);
  c.StepTowardCharacter(1, 77, 0);
  c.StepTowardCharacter(1, -1, 0);
  EXPECT_EQ(c.preciseX, 5) << "no such character";
  c.StepTowardCharacter(0, 2, 6);  // precise (4, 12): farther down than left
  EXPECT_EQ(c.preciseY, 5);
  EXPECT_EQ(c.direction, 2);
  CurrentMap.events.clear();
  CurrentMap.mapData.events.clear();
  hero_.preciseX = 0;
  c.StepTowardCharacter(1, -2, 0);
  EXPECT_EQ(c.preciseX, 5) << "a map without events: no step";
}

TEST_F(CharacterMovementTest, StepAwayAndBackward) {
  UseMap(10, 10);
  hero_.preciseX = 6;
  hero_.preciseY = 4;
  MapCharacter c = At(4, 4);
  c.StepAwayFromHero();
  EXPECT_EQ(c.preciseX, 3);
  EXPECT_EQ(c.direction, 4);
  c.direction = 6;
  c.StepBackward();
  EXPECT_EQ(c.preciseX, 2);
  EXPECT_EQ(c.direction, 6) << "backs away facing the same way";
  EXPECT_EQ(c.directionFixed, 0);
  c.StepForward();
  EXPECT_EQ(c.preciseX, 3);
}

TEST_F(CharacterMovementTest, RandomStepsAndTurnsFollowTheSequence) {
  UseMap(10, 10);
  EngineRandom(kRandomSet, 12345);
  const uint32_t r = EngineRandom(kRandomRead);
  (void)r;
  MapCharacter c = At(8, 8);
  for (int i = 0; i < 20; ++i) {
    c.StepRandom();
    c.FaceRandom();
    c.TurnRandom90();
    EXPECT_GE(c.preciseX, 0);
    EXPECT_LT(c.preciseX, 19);
  }
  CurrentMapSettings.moveDirections = 6;
  const MapCharacter before = c;
  c.StepRandom();
  c.FaceRandom();
  EXPECT_TRUE(c == before) << "other settings: no step, no turn";
}

TEST_F(CharacterMovementTest, JumpsOnTheSpotOntoFreeAndOntoBlockedCells) {
  UseMap(10, 10);
  Walls({{4, 2}});
  MapCharacter c = At(4, 4);
  c.JumpBy(0, 0);
  EXPECT_EQ(c.jumpHalf, (0 + 15 - 4) / 2);
  EXPECT_EQ(c.jumpCount, 10);
  EXPECT_TRUE(c.IsJumping());
  c.UpdateMovement();
  EXPECT_GT(c.JumpArc(), 0) << "raised on the spot";
  while (c.IsJumping()) c.UpdateMovement();
  EXPECT_EQ(c.JumpArc(), 0);

  MapCharacter blocked = At(4, 4);
  blocked.direction = 2;
  blocked.JumpBy(4, 0);  // onto tile (4, 2)... precise (8, 4)
  EXPECT_EQ(blocked.preciseX, 4);
  EXPECT_FALSE(blocked.IsJumping());
  EXPECT_EQ(blocked.direction, 6) << "the turn stays";

  MapCharacter free = At(4, 4);
  free.JumpBy(0, 3);
  EXPECT_EQ(free.direction, 2);
  EXPECT_EQ(free.preciseY, 7);
  EXPECT_EQ(free.jumpHalf, (3 + 15 - 4) / 2);
  EXPECT_EQ(free.quarterY, 4 * 64) << "the drawn position follows over the jump";
  int frames = 0;
  while (free.IsJumping()) {
    free.UpdateMovement();
    ++frames;
  }
  EXPECT_EQ(frames, 14);
  EXPECT_EQ(free.quarterY, 7 * 64);

  MapCharacter far = At(4, 4);
  far.JumpBy(INT32_MAX, INT32_MIN);
  EXPECT_EQ(far.preciseX, 4) << "a jump off every map is refused";
}

TEST_F(CharacterMovementTest, JumpLandsOnItsTargetAtFrameStepThree) {
  UseMap(10, 10);
  CurrentMapSettings.frameStep = 3;
  for (int16_t speed : {int16_t{4}, int16_t{5}, int16_t{14}, int16_t{15}, int16_t{16}}) {
    MapCharacter c = At(4, 4);
    c.moveSpeed = speed;
    c.JumpBy(2, 0);
    int frames = 0;
    // At speed 15 and up the jump has no frames and the character walks.
    while ((c.IsJumping() || c.IsMoving()) && frames < 100) {
      c.UpdateMovement();
      ++frames;
    }
    EXPECT_EQ(c.quarterX, 6 * 64) << speed;
    EXPECT_EQ(c.jumpCount, 0) << speed;
  }
}

TEST_F(CharacterMovementTest, CanMoveWrappedWrapsTheDestinationFirst) {
  UseMap(10, 10);
  MapCharacter c = At(4, 4);
  EXPECT_TRUE(c.CanMoveWrapped(4, 4, 0));
  EXPECT_FALSE(c.CanMoveWrapped(-4, 4, 0)) << "the remainder keeps its sign";
  EXPECT_FALSE(c.CanMoveWrapped(INT32_MAX, INT32_MIN, 0));
  EXPECT_FALSE(c.CanMoveWrapped(INT32_MAX, 4, 6));
  c.heroSpeed = 1;
  EXPECT_TRUE(c.CanMoveWrapped(-4, 4, 0));
  CurrentMap.loopX = 1;
  CurrentMap.loopY = 1;
  MapCharacter l = At(4, 4);
  EXPECT_TRUE(l.CanMove(INT32_MAX, INT32_MIN, 3)) << "any position on a looping map";
  EXPECT_TRUE(l.CanMove(19, 4, 6));
}

TEST_F(CharacterMovementTest, CanMoveWrappedAtEveryEdgeOfLoopingAndPlainMaps) {
  // The destination is taken modulo the map with its sign: off a plain map's
  // low end it stays outside; off the high end it wraps to 0 and the step
  // itself is then refused. A looping axis has no outside.
  struct Case {
    bool loops;
    int32_t x, y, d;
    bool expected;
  };
  const Case cases[] = {
      {false, 0, 8, 4, false},  {true, 0, 8, 4, true},   {false, 8, 0, 8, false}, {true, 8, 0, 8, true},
      {false, 19, 8, 6, false}, {true, 19, 8, 6, true},  {false, 8, 19, 2, false}, {true, 8, 19, 2, true},
      {false, 1, 8, 4, true},   {false, 17, 8, 6, true}, {false, 18, 8, 6, false}, {true, 18, 8, 6, true},
      {false, 0, 0, 7, false},  {true, 19, 19, 3, true}, {false, 8, 16, 2, true},
  };
  for (const Case& c : cases) {
    UseMap(10, 10);
    CurrentMap.loopX = c.loops;
    CurrentMap.loopY = c.loops;
    const MapCharacter walker = At(c.x, c.y);
    EXPECT_EQ(walker.CanMoveWrapped(c.x, c.y, c.d), c.expected)
        << (c.loops ? "looping " : "plain ") << c.x << "," << c.y << " toward " << c.d;
  }
}

}  // namespace
