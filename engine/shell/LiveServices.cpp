#include "engine/shell/LiveServices.h"

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/CommonEventRunnerHooks.h"
#include "engine/events/LiveGameHooks.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/presentation/PresentationHooks.h"
#include "engine/shell/GameScene.h"
#include "engine/shell/InGameErrorScreen.h"
#include "engine/shell/Player.h"

void InstallLiveServices() {
  InstallInGameErrorScreen();
  InstallEventPicking();
  InstallCommonEventRunnerHooks();

  MapSceneHooks scene = CurrentMapSceneHooks();
  scene.endGame = [] { SystemStateHub.gameState = -1; };
  scene.setPanoramaNumber = [](int32_t number) { RootRunner.panorama[0] = number; };
  scene.setPanoramaName = [](const std::string& name) { RootRunner.panoramaFileName = name; };
  scene.setPanoramaByName = [](bool byName) { SystemStateHub.panoramaChanged = byName; };
  SetMapSceneHooks(&scene);

  LiveGameHooks live = CurrentLiveGameHooks();
  live.markPanoramaChanged = [] { SystemStateHub.panoramaChanged = 1; };
  live.markFogChanged = [] { SystemStateHub.fogChanged = 1; };
  SetLiveGameHooks(&live);

  // The windows whose graphics the restore after a lost display reloads
  // belong to the running scene.
  PresentationHooks presentation = CurrentPresentationHooks();
  presentation.loadChoiceSkins = [] {
    if (GameScene* running = RunningGameScene()) running->choiceWindow.LoadSkins();
  };
  presentation.loadWaitCursor = [] {
    if (GameScene* running = RunningGameScene()) running->messageWindow.LoadWaitCursor();
  };
  SetPresentationHooks(&presentation);
}
