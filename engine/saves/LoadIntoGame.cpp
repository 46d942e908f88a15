// Entering a checked save into the running game, between the events of one
// frame and the scene reload of the next.

#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/saves/SaveSlotCache.h"
#include "engine/services/EngineRandom.h"
#include "runtime/Movan.h"

bool ApplyPendingLoad() {
  std::string path;
  int32_t slot = 0;
  if (!TakePendingLoad(path, slot)) return false;
  const auto it = SaveSlots.records.find(path);
  if (it == SaveSlots.records.end()) return false;
  const SaveSlotRecord& record = it->second;

  // A clean scene first: the next frame reloads what it draws.
  ClearGraphicCache();
  SystemStateHub.sceneReload = 1;
  TextResourcesHub.ResetFontCache();
  TextResourcesHub.LoadIcons();
  ResetRootInterpreter();

  CurrentMap.Reset();
  CurrentMap.EnterSavedState(record.mapScene);
  RootRunner = record.rootRunner;
  Variables = record.variables;
  Variables.rootRunner = &RootRunner;
  EngineRandom(kRandomSet, record.randomState);
  // A fresh hero takes its extra image from the restored runner.
  PlayerHero = Hero();
  PlayerHero.TakeSavedState(record.hero);
  // The saved pictures replace the live ones and load their files afresh.
  GamePictures.Clear(true);
  GamePictures = record.pictures;
  GamePictures.EnterLoaded();
  VariableDatabase = record.variableDatabase;
  CurrentMap.RequestPageRefresh();
  if (record.replayInFile) {
    GameReplay.codes = record.replayLog.codes;
    GameReplay.values = record.replayLog.values;
  }
  RootRunner.saveSlotValue = slot;
  ShowMouseCursor(RootRunner.mouseCursorShown);
  return true;
}
