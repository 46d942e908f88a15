#include "engine/map/CommonEventRunnerHooks.h"

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/map/MapSceneHooks.h"

void InstallCommonEventRunnerHooks() {
  MapSceneHooks hooks = CurrentMapSceneHooks();
  hooks.commonEvents = [] { return static_cast<const CommonEventList*>(&CommonEvents); };
  hooks.refreshCommonEventRunner = RefreshCommonEventRunner;
  hooks.runCommonEventRunner = RunCommonEventRunner;
  hooks.resetCommonEventRunners = ClearCommonEventRunners;
  SetMapSceneHooks(&hooks);
}
