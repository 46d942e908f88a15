#include "engine/shell/LiveServices.h"

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/CommonEventRunnerHooks.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/shell/InGameErrorScreen.h"

void InstallLiveServices() {
  InstallInGameErrorScreen();
  InstallEventPicking();
  InstallCommonEventRunnerHooks();

  MapSceneHooks scene = CurrentMapSceneHooks();
  scene.endGame = [] { SystemStateHub.gameState = -1; };
  scene.setPanoramaNumber = [](int32_t number) { RootRunner.panorama[0] = number; };
  scene.setPanoramaName = [](const std::string& name) { RootRunner.panoramaFileName = name; };
  SetMapSceneHooks(&scene);
}
