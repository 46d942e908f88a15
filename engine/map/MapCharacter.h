#pragma once
// A figure on the map: the hero, a follower or a map event at run time.
//
// Units: a character's position is in precise units (half tiles); it covers
// the half-tile columns x and x + 1 and stands on the half-tile row y + 1.
// Its drawn position is in quarter pixels, 2 x t of them per precise unit (t
// the tile unit). Directions are numpad codes: 2 down, 4 left, 6 right, 8 up,
// 1 down-left, 3 down-right, 7 up-left, 9 up-right.
//
// The record is a plain value. The map it stands on is the current map scene
// (CurrentMap), and other characters are looked up there or through the
// scene's hooks at each use; the character keeps no reference to either.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/map/MoveRoute.h"
#include "engine/map/MapSettings.h"

class MapScene;
class MapEventState;

class MapCharacter {
 public:
  static constexpr int32_t kHeroId = -2;
  static constexpr int32_t kFirstFollowerId = -3;  // follower i has -3 - i

  int32_t id = kHeroId;
  int32_t preciseX = 0;
  int32_t preciseY = 0;
  int32_t quarterX = 0;
  int32_t quarterY = 0;
  int32_t graphicId = -1;
  std::string graphicFile;
  int16_t opacity = 255;
  int16_t blend = 0;
  int16_t direction = 2;
  int16_t pattern = 1;
  int16_t basePattern = 1;
  int16_t pageDirection = 2;
  uint8_t forcedRoute = 0;
  uint8_t passThrough = 0;
  uint8_t isHero = 0;
  uint8_t eightDirSheet = 0;
  int16_t moveType = 0;
  int16_t moveSpeed = 4;
  int16_t animSpeed = 2;
  int16_t moveFrequency = 6;
  int16_t animPhase = 0;
  int16_t animCentre = 1;
  int32_t idleFrames = 0;
  int32_t jumpCount = 0;
  int32_t jumpHalf = 0;
  int32_t waitFrames = 0;
  int32_t talkDirection = 0;
  MoveRoute route;
  MoveRoute savedRoute;
  // The next step of route and of savedRoute. Routes hold up to 65536 steps;
  // a negative index means the route has ended.
  int32_t routeIndex = 0;
  int32_t savedRouteIndex = 0;
  uint8_t walkAnim = 1;
  uint8_t stepAnim = 0;
  uint8_t directionFixed = 0;
  uint8_t alwaysAbove = 0;
  uint8_t talking = 0;
  int32_t stepSize = 1;
  uint8_t tall = 0;
  uint8_t slide = 0;
  uint8_t slideToward = 0;
  int16_t extraImageLoaded = -1;
  uint8_t erased = 0;
  uint8_t heroSpeed = 0;
  uint8_t stepped = 0;
  uint8_t moving = 0;
  uint8_t wasMoving = 0;
  int32_t height = 0;
  std::vector<int32_t> reservedList;
  int32_t spriteWidth = 0;
  int32_t spriteHeight = 0;
  int32_t effectKind = 0;
  int32_t effectDuration = 1;
  int32_t effectTimer = 0;
  int32_t shakeAmpX = 0;
  int32_t shakeAmpY = 0;
  int32_t shakeSwings = 0;
  int32_t shakePeriod = 1;
  int32_t shakeTimer = 0;
  int32_t shakeOffsetX = 0;
  int32_t shakeOffsetY = 0;
  std::vector<uint8_t> extraBytes{255};
  std::vector<int32_t> stepHistory;
  double animCounter = 0;

  // The defaults, shaped by the settings (sheet directions, then
  // ApplySystemSettings).
  explicit MapCharacter(const MapSettings& settings = CurrentMapSettings);

  // Collision height, step size and the standing pattern from the settings.
  void ApplySystemSettings(const MapSettings& settings = CurrentMapSettings);

  // ---- Placement and screen position ----

  // Puts the character on a tile at once. A tile past the map's right or
  // bottom edge is reported on the error screen and brought onto the last
  // column or row.
  void PlaceCharacter(int32_t tileX, int32_t tileY);
  // The same on a given map scene.
  void PlaceCharacterOn(const MapScene& map, int32_t tileX, int32_t tileY);
  // Pixels on the screen: the horizontal centre; the foot line raised by the
  // height and the jump arc; the foot line alone. With wrap set, a position
  // left of or above the screen on a looping map is brought round the map.
  int32_t ScreenX(bool wrap) const;
  int32_t ScreenY(bool wrap) const;
  int32_t ScreenYBase(bool wrap) const;
  // How far the jump arc raises the character now, in pixels.
  int32_t JumpArc() const;
  int32_t DrawPriority() const { return alwaysAbove ? 999 : 0; }

  bool HasGraphic() const { return graphicId != -1 || !graphicFile.empty(); }
  bool IsStanding() const;
  bool IsMoving();
  bool WasMoving();
  bool IsJumping() const { return jumpCount > 0; }
  void ResetAnimation();
  void BeginTalkFacing();
  void EndTalkFacing();
  void SetEffect(int32_t value, int32_t frames);
  void StartShake(int32_t ampX, int32_t ampY, int32_t swings, int32_t period);
  int32_t TerrainTagUnder() const;
  // A map event's collision half-width along x (axis 0) or y (axis 1).
  int32_t CollisionWidth(int32_t axis) const;
  // On a looping axis, a character standing on its target that has left the
  // map's range is brought back into it.
  void WrapOnLoopingMap();

  // ---- Move routes ----

  // One call of the route runner: moves, turns and instant steps until a
  // move or turn is made, the route waits or it ends.
  void RunMoveRoute();
  // Runs the route, keeping the own route aside until this one ends; the
  // first steps run at once.
  void ForceMoveRoute(const MoveRoute& forced);

  // ---- Movement ----

  // One frame: jump, walk or stand; effect, shake and animation; route wait.
  void UpdateMovement();

  // Whether a character standing at precise (x, y) can step toward d by its
  // step size (d 0: the position itself).
  bool CanMove(int32_t x, int32_t y, int32_t d) const;
  // The same for a position the caller names freely: the destination is
  // first taken into the map's range and must lie inside it.
  bool CanMoveWrapped(int32_t x, int32_t y, int32_t d) const;

  // Steps: turnFirst turns even when the step is refused. True when moved.
  bool StepDown(bool turnFirst) { return StepStraight(2, turnFirst); }
  bool StepLeft(bool turnFirst) { return StepStraight(4, turnFirst); }
  bool StepRight(bool turnFirst) { return StepStraight(6, turnFirst); }
  bool StepUp(bool turnFirst) { return StepStraight(8, turnFirst); }
  bool StepDownLeft(bool turnFirst) { return StepDiagonal(1, turnFirst); }
  bool StepDownRight(bool turnFirst) { return StepDiagonal(3, turnFirst); }
  bool StepUpLeft(bool turnFirst) { return StepDiagonal(7, turnFirst); }
  bool StepUpRight(bool turnFirst) { return StepDiagonal(9, turnFirst); }
  // Any of the eight by its direction code; other codes do nothing.
  bool StepToward(int32_t d, bool turnFirst);

  // How a chosen step is made: the plain steps, or a map event's steps with
  // their touch test.
  using StepMaker = bool (*)(MapCharacter& c, int32_t d, bool turnFirst);
  static bool PlainStep(MapCharacter& c, int32_t d, bool turnFirst) { return c.StepToward(d, turnFirst); }

  void StepRandom(StepMaker step = PlainStep);
  void StepTowardHero(StepMaker step = PlainStep);
  // Mode 1: the character with id a; mode 0: the tile (a, b).
  void StepTowardCharacter(int32_t mode, int32_t a, int32_t b);
  void StepAwayFromHero();
  void StepForward(StepMaker step = PlainStep);
  void StepBackward();
  // Counted in steps; refused (keeping the turn) onto a position it cannot
  // stand on. (0, 0) jumps on the spot.
  void JumpBy(int32_t dx, int32_t dy);

  void FaceDown() { FaceStraight(2); }
  void FaceLeft() { FaceStraight(4); }
  void FaceRight() { FaceStraight(6); }
  void FaceUp() { FaceStraight(8); }
  void FaceDownLeft() { FaceDiagonal(1); }
  void FaceDownRight() { FaceDiagonal(3); }
  void FaceUpLeft() { FaceDiagonal(7); }
  void FaceUpRight() { FaceDiagonal(9); }
  // Any of the eight by its direction code; other codes do nothing.
  void Face(int32_t d);
  void TurnRight90();
  void TurnLeft90();
  void TurnRandom90();
  void FaceRandom();
  void FaceHero();
  void FaceAwayFromHero();

  // The distance from this character to a target position along x and y,
  // taken the shorter way round a looping map (positive: the target lies to
  // the left, resp. above).
  int32_t DistanceX(int32_t targetX) const;
  int32_t DistanceY(int32_t targetY) const;

  // ---- Save record ----

  // Appends the character's save record; false when the buffer is full.
  bool SaveCharacter(SaveBuffer& out) const;
  // Reads a save record into the saved fields; the character stands on its
  // position. False (overrun) when the record is cut short or damaged.
  bool LoadCharacter(ByteCursor& in);
  // The saved fields of another character, standing; the rest stays.
  void TakeSavedFields(const MapCharacter& saved);
  // The fewest bytes a record can take, for testing counts.
  static int64_t MinimumSaveBytes();

  bool operator==(const MapCharacter&) const = default;

 protected:
  // The route runner, with a map event's touching steps when touching is
  // set.
  void RunRoute(MapEventState* touching);

 private:
  bool StepStraight(int32_t d, bool turnFirst);
  bool StepDiagonal(int32_t d, bool turnFirst);
  void FaceStraight(int32_t d);
  void FaceDiagonal(int32_t d);
  // The step toward the target of StepTowardHero and StepTowardCharacter.
  void StepTowardPosition(int32_t targetX, int32_t targetY, StepMaker step = PlainStep);
  // The three kinds of route step: a move, a turn, and the rest, which run
  // at once.
  void RouteMove(int32_t code, const std::vector<int32_t>& arguments, MapEventState* touching);
  void RouteTurn(int32_t code);
  void RouteInstant(int32_t code, const std::vector<int32_t>& arguments);
  // One pass of CanMove for one row of the character.
  bool CanMoveRow(int64_t x, int64_t y, int32_t d) const;
  void JumpUpdate();
  void WalkUpdate();
  void StandUpdate();
  void ShakeAndEffectUpdate();
  void AnimationStep();
  int32_t StandX() const;
  int32_t StandY() const;
};
