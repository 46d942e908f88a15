#include "tests/engine/shell/DemoJourney.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"
#include "tests/support/HeroWalker.h"

GameView GameView::Now() {
  GameView v;
  v.mapId = CurrentMap.mapId;
  v.heroX = PlayerHero.preciseX / 2;
  v.heroY = PlayerHero.preciseY / 2;
  v.heroDirection = PlayerHero.direction;
  v.music = RootRunner.currentMusicEntry;
  v.backgroundSound = RootRunner.currentBackgroundSoundEntry;
  v.musicFile = RootRunner.musicFileName;
  v.musicPlaying = IsSoundPlaying(GameSounds.fades[0].currentHandle) == 1;
  v.backgroundSoundPlaying = IsSoundPlaying(GameSounds.fades[1].currentHandle) == 1;
  v.windowOpen = SystemStateHub.windowOpen;
  v.lastMessage = SystemStateHub.lastMessageText;
  for (const Picture &picture : GamePictures.pictures) {
    if (!picture.erased) v.pictures.push_back(picture.number);
  }
  v.numbers = Variables.numberedSets;
  v.strings = Variables.stringVariables;
  return v;
}

void PrintTo(const GameView &v, std::ostream *out) {
  size_t numbers = 0;
  for (const auto &set : v.numbers) numbers += set.size();
  *out << "{map " << v.mapId << ", hero (" << v.heroX << ", " << v.heroY << ") facing " << v.heroDirection << ", music "
       << v.music << (v.musicPlaying ? " playing" : "") << " '" << v.musicFile << "', background " << v.backgroundSound
       << (v.backgroundSoundPlaying ? " playing" : "") << ", window " << (v.windowOpen ? "open" : "closed") << ", "
       << v.pictures.size() << " pictures, " << numbers << " numbers, " << v.strings.size() << " strings}";
}

DemoJourney::DemoJourney(PlayHarness &play) : play_(play) {
  play_.onFrame = [this](int64_t frame) { OnFrame(frame); };
}

DemoJourney &DemoJourney::WaitUntil(std::string name, int64_t frame) {
  return Leg(
      std::move(name), [](int64_t) { return std::vector<int>{}; },
      [this, frame] { return play_.framesRun - 1 >= frame; });
}

DemoJourney &DemoJourney::WalkTo(std::string name, int32_t tileX, int32_t tileY) {
  return Leg(
      std::move(name), [tileX, tileY](int64_t) { return ArrowTowardTile(tileX, tileY); },
      [tileX, tileY] { return HeroStandsOn(tileX, tileY) && !PlayerHero.IsMoving(); });
}

DemoJourney &DemoJourney::Through(std::string name, int32_t tileX, int32_t tileY, int32_t toMap) {
  return Leg(
      std::move(name),
      [tileX, tileY, toMap](int64_t) {
        return CurrentMap.mapId == toMap ? std::vector<int>{} : ArrowTowardTile(tileX, tileY);
      },
      [toMap] { return CurrentMap.mapId == toMap && !PlayerHero.IsMoving() && !RootInterpreter.IsRunning(); });
}

DemoJourney &DemoJourney::Talk(std::string name, int32_t tileX, int32_t tileY, int arrow) {
  auto stand = std::make_shared<int64_t>(-1);
  return Leg(
      std::move(name),
      [tileX, tileY, arrow, stand](int64_t frameInLeg) -> std::vector<int> {
        if (*stand < 0) {
          if (!HeroStandsOn(tileX, tileY) || PlayerHero.IsMoving()) return ArrowTowardTile(tileX, tileY);
          *stand = frameInLeg;
        }
        // Turn for two frames, then press and let go in turn.
        const int64_t since = frameInLeg - *stand;
        if (since < 2) return {arrow};
        return since % 4 < 2 ? std::vector<int>{kKeyEnter} : std::vector<int>{};
      },
      [] { return SystemStateHub.windowOpen; });
}

DemoJourney &DemoJourney::CloseWindows(std::string name) {
  return Leg(
      std::move(name),
      [](int64_t frameInLeg) { return frameInLeg % 4 < 2 ? std::vector<int>{kKeyEnter} : std::vector<int>{}; },
      [] { return !SystemStateHub.windowOpen && !RootInterpreter.IsRunning(); });
}

DemoJourney &DemoJourney::Leg(std::string name, std::function<std::vector<int>(int64_t)> keys,
                              std::function<bool()> reached) {
  legs_.push_back({std::move(name), std::move(keys), std::move(reached)});
  return *this;
}

const Checkpoint &DemoJourney::At(const std::string &leg) const {
  for (const Checkpoint &c : reached) {
    if (c.leg == leg) return c;
  }
  ADD_FAILURE() << "the leg '" << leg << "' was never finished";
  static const Checkpoint none;
  return none;
}

void DemoJourney::OnFrame(int64_t frame) {
  // A new leg starts on the frame after the last goal; one frame may meet
  // several goals.
  while (next_ < legs_.size()) {
    Step &leg = legs_[next_];
    if (!leg.reached()) break;
    Checkpoint checkpoint{leg.name, frame, GameView::Now()};
    if (onCheckpoint) onCheckpoint(checkpoint);
    reached.push_back(std::move(checkpoint));
    ++next_;
    legStart_ = frame;
    if (next_ == legs_.size()) endFrame = frame;
  }
  if (next_ >= legs_.size()) {
    play_.HoldNow({});
    return;
  }
  if (frame - legStart_ > kLegFrames) {
    gaveUp = legs_[next_].name;
    next_ = legs_.size();
    play_.HoldNow({});
    return;
  }
  play_.HoldNow(legs_[next_].keys(frame - legStart_));
}
