#include "engine/map/MapSceneHooks.h"

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/Hero.h"

namespace {

void EndGame() { SystemStateHub.gameState = -1; }
void SetPanoramaNumber(int32_t number) { RootRunner.panorama[0] = number; }
void SetPanoramaName(const std::string& name) { RootRunner.panoramaFileName = name; }
void SetPanoramaByName(bool byName) { SystemStateHub.panoramaChanged = byName; }
const CommonEventList* GameCommonEvents() { return &CommonEvents; }
MapCharacter* GameHero() { return &PlayerHero; }
MapCharacter* GameFollower(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= PlayerHero.followers.size()) return nullptr;
  return &PlayerHero.followers[static_cast<size_t>(index)];
}
void RecordGameHeroStep(int32_t direction) { PlayerHero.RecordStep(direction); }

constexpr MapSceneHooks kDefaults{EndGame,
                                  SetPanoramaNumber,
                                  SetPanoramaName,
                                  SetPanoramaByName,
                                  GameCommonEvents,
                                  RefreshCommonEventRunner,
                                  RunCommonEventRunner,
                                  ClearCommonEventRunners,
                                  GameHero,
                                  GameFollower,
                                  RecordGameHeroStep};

MapSceneHooks gHooks = kDefaults;

template <typename F>
F Or(F given, F fallback) {
  return given ? given : fallback;
}

}  // namespace

const MapSceneHooks& CurrentMapSceneHooks() { return gHooks; }

void SetMapSceneHooks(const MapSceneHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  gHooks.endGame = Or(hooks->endGame, kDefaults.endGame);
  gHooks.setPanoramaNumber = Or(hooks->setPanoramaNumber, kDefaults.setPanoramaNumber);
  gHooks.setPanoramaName = Or(hooks->setPanoramaName, kDefaults.setPanoramaName);
  gHooks.setPanoramaByName = Or(hooks->setPanoramaByName, kDefaults.setPanoramaByName);
  gHooks.commonEvents = Or(hooks->commonEvents, kDefaults.commonEvents);
  gHooks.refreshCommonEventRunner = Or(hooks->refreshCommonEventRunner, kDefaults.refreshCommonEventRunner);
  gHooks.runCommonEventRunner = Or(hooks->runCommonEventRunner, kDefaults.runCommonEventRunner);
  gHooks.resetCommonEventRunners = Or(hooks->resetCommonEventRunners, kDefaults.resetCommonEventRunners);
  gHooks.hero = Or(hooks->hero, kDefaults.hero);
  gHooks.follower = Or(hooks->follower, kDefaults.follower);
  gHooks.recordHeroStep = Or(hooks->recordHeroStep, kDefaults.recordHeroStep);
}
