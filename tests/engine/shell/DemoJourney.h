#pragma once
// A scripted play of the demo game the way a player plays it: legs run one
// after the other (walk to a tile, through a door, talk to someone, close
// the window), each holding the keys its goal needs frame by frame, and at
// every goal the state of the game is taken as a checkpoint. Whatever
// frames are left after the last leg pass with no key held.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/PlayHarness.h"

// What a checkpoint looks at.
struct GameView {
  int32_t mapId = -1;
  int32_t heroX = -1;  // tiles
  int32_t heroY = -1;
  int32_t heroDirection = 0;
  int32_t music = -2;  // entries of the sound types, -1 none
  int32_t backgroundSound = -2;
  std::string musicFile;
  bool musicPlaying = false;  // a sampled music's sound plays
  bool backgroundSoundPlaying = false;
  bool windowOpen = false;
  std::string lastMessage;
  std::vector<int32_t> pictures;  // the numbers of the pictures not erased
  std::vector<std::vector<int32_t>> numbers;
  std::vector<std::string> strings;

  static GameView Now();
  bool operator==(const GameView &) const = default;
};
void PrintTo(const GameView &view, std::ostream *out);

struct Checkpoint {
  std::string leg;
  int64_t frame = -1;  // the frame whose start met the goal
  GameView view;
};

class DemoJourney {
 public:
  // Every leg gives up after this many frames.
  static constexpr int64_t kLegFrames = 600;

  // Drives play through its onFrame; call Play on play afterwards.
  explicit DemoJourney(PlayHarness &play);

  // The game as it stands at the start of frame frame.
  DemoJourney &WaitUntil(std::string name, int64_t frame);
  // Walks onto the tile and stands there.
  DemoJourney &WalkTo(std::string name, int32_t tileX, int32_t tileY);
  // Walks onto a door until the hero stands in the room it leads to.
  DemoJourney &Through(std::string name, int32_t tileX, int32_t tileY, int32_t toMap);
  // Walks to the tile, turns by the arrow and presses the decide key until a
  // message window opens.
  DemoJourney &Talk(std::string name, int32_t tileX, int32_t tileY, int arrow);
  // Presses the decide key (and lets go between presses) until no window
  // is open and no event runs.
  DemoJourney &CloseWindows(std::string name);
  // Any other leg: keys(frameInLeg) are held until reached() holds.
  DemoJourney &Leg(std::string name, std::function<std::vector<int>(int64_t)> keys, std::function<bool()> reached);

  // The checkpoints met, in order; a leg that gave up ends the journey.
  std::vector<Checkpoint> reached;
  // Called at each goal before the checkpoint is taken.
  std::function<void(const Checkpoint &)> onCheckpoint;
  // The frame after the last leg's goal, -1 while legs are left.
  int64_t endFrame = -1;
  std::string gaveUp;  // the leg that gave up, if any

  // The checkpoint of the leg; fails the test when it was never met.
  const Checkpoint &At(const std::string &leg) const;

 private:
  struct Step {
    std::string name;
    std::function<std::vector<int>(int64_t)> keys;
    std::function<bool()> reached;
  };
  void OnFrame(int64_t frame);

  PlayHarness &play_;
  std::vector<Step> legs_;
  size_t next_ = 0;
  int64_t legStart_ = 0;
};
