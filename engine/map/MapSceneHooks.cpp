#include "engine/map/MapSceneHooks.h"

namespace {

void Nothing() {}
void NoNumber(int32_t) {}
void NoName(const std::string&) {}
void NoFlag(bool) {}
const CommonEventList* NoCommonEvents() { return nullptr; }
MapCharacter* NoHero() { return nullptr; }
MapCharacter* NoFollower(int32_t) { return nullptr; }

constexpr MapSceneHooks kDefaults{Nothing, NoNumber, NoName, NoFlag, NoCommonEvents, NoNumber,
                                  NoNumber, Nothing, NoHero,  NoFollower, NoNumber};

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
