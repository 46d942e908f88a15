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

namespace {

// Every graphic of the old game goes. Their holders let go of them first:
// handles are reused, and a holder that deleted its stale handle later would
// delete whatever graphic took the number meanwhile.
void DeleteEveryGraphic() {
  ClearGraphicCache();
  GamePictures.Clear(true);
  TextResourcesHub.ReleaseIcons();
  DeleteAllGraphics(0);
  SystemStateHub.transitionImage = 0;
  SystemStateHub.capturedScreen = -1;
  SystemStateHub.frozenMapGraphic = -1;
  SystemStateHub.RecreateTransitionSurfaces();
  // The load command started its transition from the screen as the player
  // saw it; that capture went with the rest, and the back screen still
  // shows the same frame.
  if (SystemStateHub.transitionActive || SystemStateHub.screenFrozen) SystemStateHub.CaptureScreen();
}

}  // namespace

bool ApplyPendingLoad() {
  std::string path;
  int32_t slot = 0;
  if (!TakePendingLoad(path, slot)) return false;
  const auto it = SaveSlots.records.find(path);
  if (it == SaveSlots.records.end()) return false;
  const SaveSlotRecord& record = it->second;

  // A clean scene first: the next frame reloads what it draws.
  DeleteEveryGraphic();
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
  // The saved pictures load their files afresh.
  GamePictures = record.pictures;
  GamePictures.EnterLoaded();
  VariableDatabase = record.variableDatabase;
  CurrentMap.RequestPageRefresh();
  // The loaded game's choice of transition, from the transition it loads
  // with on.
  SystemStateHub.LoadTransitionImage(RootRunner.transitionSetting1, RootRunner.transitionSetting2,
                                     RootRunner.transitionSetting3);
  if (SystemStateHub.transitionActive) SystemStateHub.transitionCounter = SystemStateHub.transitionTotal;
  if (record.replayInFile) {
    GameReplay.codes = record.replayLog.codes;
    GameReplay.values = record.replayLog.values;
  }
  RootRunner.saveSlotValue = slot;
  ShowMouseCursor(RootRunner.mouseCursorShown);
  return true;
}
