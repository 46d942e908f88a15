#include "engine/shell/TitleStart.h"

#include "engine/data/CommonEventList.h"
#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/saves/SaveSlotCache.h"
#include "engine/services/EngineRandom.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/FrameSkip.h"
#include "engine/shell/SoundSteps.h"
#include "runtime/Movan.h"

namespace {

// System database type 7 holds the start positions: data 0 is where a new
// game begins (map, x, y).
constexpr int32_t kStartPositionType = 7;

}  // namespace

void StartTitle(bool first) {
  if (TestPlayFlag) LogPrintf("タイトル処理開始\n");
  ShowMouseCursor(RootRunner.mouseCursorShown);

  CommonEvents = CommonEventList();
  CommonEvents.LoadCommonEvents("BasicData\\CommonEvent.dat");
  CommonEvents.RebuildNameMap();

  ResetSoundManager();
  SystemStateHub.stateLoaded = 0;

  // A replay plays from the random state its log began with.
  uint32_t seed = 0;
  if (!ReplayPlaying) {
    GameReplay = ReplayLog();
  } else if (GameReplay.FirstSeed(seed)) {
    EngineRandom(kRandomSet, seed);
  }

  if (!first) LoadDatabases();
  SetUpFonts(GameInformation);
  // The return to the title asked for a scene reload: the fresh hub keeps
  // that request.
  const uint8_t sceneReload = SystemStateHub.sceneReload;
  ResetSystemStateHub();
  SystemStateHub.sceneReload = sceneReload;
  if (TestPlayFlag) SystemStateHub.debugLineFlag = 1;
  StoreSoundEntryCounts();
  if (TestPlayFlag) SystemStateHub.debugLineFlag = 1;

  VariableDatabase = Database();
  VariableDatabase.Load(kVariableDatabaseName);
  Variables = VariableStore();
  RootRunner = RootEventRunner();
  PlayerHero = Hero();
  if (static_cast<size_t>(GameInfo::kHeroGraphic) < GameInformation.settingStrings.size()) {
    PlayerHero.graphicFile = GameInformation.settingStrings[GameInfo::kHeroGraphic];
  }
  CurrentMap = MapScene();
  CurrentMap.Reset();
  GamePictures = PictureList();
  Input.Reset();
  Variables.rootRunner = &RootRunner;
  SetDrawTarget(-2);
  SetFrameSkip(Settings.frameSkip);
  SaveSlots = SaveSlotCache();
  DropPendingLoad();

  SystemStateHub.gameState = 1;
  CurrentMap.mapId = -1;
  SystemStateHub.mapChangePending = 0;
  SystemStateHub.transferMapId = SystemDatabase.GetInt(kStartPositionType, 0, 0);
  SystemStateHub.transferX = SystemDatabase.GetInt(kStartPositionType, 0, 1);
  SystemStateHub.transferY = SystemDatabase.GetInt(kStartPositionType, 0, 2);

  if (TestPlayFlag) BuildDatabaseNameMaps();
  PrepareCommonEvents();
  ResetRootInterpreter();
}
