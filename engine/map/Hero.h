#pragma once
// The player's character and the five followers that trail it over the map.
// Each frame, after the map scene and the root runner, Control turns the
// player's direction keys into steps, moves the hero and the followers,
// keeps the view on the hero, wraps it round looping maps, runs its move
// routes and fires the touch and decide-key triggers of map events.

#include <cstdint>
#include <vector>

#include "engine/map/MapCharacter.h"

class Hero : public MapCharacter {
 public:
  static constexpr int32_t kFollowerCount = 5;
  static constexpr size_t kHistoryLength = 100;

  uint8_t moved = 0;            // the position changed in this frame's input handling
  uint8_t followersInStep = 0;  // the followers repeat the latest step together
  int32_t lastStep = 0;         // that step, while they do
  std::vector<MapCharacter> followers;

  // Shows the root runner's hero extra image.
  Hero();
  // Shows this extra image (the global hero is built before the root
  // runner).
  explicit Hero(int32_t extraImage);

  void Control();
  // Every step of the hero: the followers' history, or the step they repeat.
  void RecordStep(int32_t d);
  void UpdateFollowers();
  // The followers stand on the hero; the history holds no steps.
  void ResetFollowers();
  // The scroll that puts this tile 9.5 tiles from the left and 7 from the
  // top of the screen, held inside the map on an axis that does not loop.
  void CenterScrollOnHero(int32_t tileX, int32_t tileY) const;
  void WarpTo(int32_t tileX, int32_t tileY);
  // A step with the bump test of touch events at its destination first.
  bool StepWithTouch(int32_t d, bool turnFirst);

  // The hero's save record: its character, the followers, in step and
  // stepped, the step history. Load reads every saved follower and keeps
  // five; false (overrun) when the record is cut short or a count does not
  // fit the bytes left.
  bool Save(SaveBuffer& out) const;
  bool Load(ByteCursor& in);
  // The saved fields of a hero read from a save, standing; the rest stays.
  void TakeSavedState(const Hero& saved);

  bool operator==(const Hero&) const = default;

 private:
  void FollowView(int32_t quarterX0, int32_t quarterY0) const;
  void WrapAroundLoopingMap();
  // The player may act: not walking, no event or forced route running, no
  // window open and no transition that holds the hero.
  bool MayAct();
};

// The one hero of the running game.
extern Hero PlayerHero;
