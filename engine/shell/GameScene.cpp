#include "engine/shell/GameScene.h"

#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/FunctionKeys.h"
#include "engine/shell/InputUpdate.h"
#include "engine/shell/Player.h"
#include "engine/shell/SoundSteps.h"
#include "runtime/Movan.h"

namespace {

FramePassObserver gPassObserver = nullptr;
void* gPassContext = nullptr;
int64_t gPasses = 0;

constexpr int32_t kFrameCounterPeriod = 10000000;

}  // namespace

void SetFramePassObserver(FramePassObserver observer, void* context) {
  gPassObserver = observer;
  gPassContext = context;
}

GameScene::GameScene() {
  ResetSprites();
  pacer.drawCredit = RootRunner.drawCreditPerFrame;
}

GameScene::~GameScene() {
  choiceWindow.Release();
  messageWindow.Release();
}

void ReloadGameGraphics() {
  RestoreAllGraphics();
  GameScene* scene = RunningGameScene();
  if (scene) {
    scene->choiceWindow.LoadSkins();
    scene->messageWindow.LoadWaitCursor();
  }
  ReLoadGraphic();
  TextResourcesHub.LoadIcons();
  RePictureControl(GamePictures);
}

void GameScene::Dispatch() {
  if (SystemStateHub.gameState == 1) RunLoop();
}

void GameScene::RunLoop() {
  pacer.Begin(GameFrameStep, RootRunner.drawCreditPerFrame, GetTickMs());
  ResetSprites();
  while (RunLoopPass()) {
  }
}

bool GameScene::RunLoopPass() {
  if (gPassObserver) gPassObserver(gPassContext, gPasses);
  ++gPasses;
  if (PumpMessages() != 0) return false;
  UpdateInput();
  if (ReplayPlaying && ReplayEnded) {
    ReplayPlaying = false;
    ReplayEnded = false;
    SystemStateHub.gameState = 0;
    CloseWindows();
    return false;
  }

  Frame();
  FunctionKeys();
  FrameCounter(true);

  if (SystemStateHub.gameState != 1) {
    CloseWindows();
    return false;
  }

  const int32_t wait = pacer.FinishFrame(GetTickMs(), FrameBudget());
  if (wait > 0) WaitMilliseconds(wait);
  pacer.StartNextFrame(wait, GetTickMs());
  return true;
}

void GameScene::Frame() {
  if (CurrentMap.mapId == -1) ApplyMapChange();
  if (SystemStateHub.gameState == -1) return;
  if (SystemStateHub.sceneReload) ReloadScene();

  RootRunner.frameCounter = (RootRunner.frameCounter + 1) % kFrameCounterPeriod;
  CurrentMap.Update();
  RootInterpreter.RunFrame();
  // A load or a return to the title during the events: the next frame
  // starts with the scene reload.
  if (SystemStateHub.stateLoaded || SystemStateHub.sceneReload) return;

  PlayerHero.Control();
  if (SystemStateHub.mapChangePending) ApplyMapChange();
  choiceWindow.Update();
  messageWindow.Update();
  GamePictures.Update();
  UpdateSoundManager();

  float credit = RootRunner.drawCreditPerFrame;
  if (ReplayPlaying) {
    // The player runs the playback faster: decide draws a third of the
    // frames, with sub a fifth of that.
    if (Input.liveButtonsHeld[kButtonDecide]) credit /= 3;
    if (Input.liveButtonsHeld[kButtonSub]) credit /= 5;
  }
  pacer.AddCredit(credit);
  if (pacer.TakeDraw(false)) Draw();
}

int32_t GameScene::FrameBudget() const {
  if (!ReplayPlaying) return pacer.baseBudget;
  // During playback the player's own buttons steer it: decide runs it fast
  // (faster still with sub), cancel ends it at the next frame.
  if (Input.liveButtonsHeld[kButtonCancel]) ReplayEnded = true;
  if (Input.liveButtonsHeld[kButtonDecide]) return Input.liveButtonsHeld[kButtonSub] ? 1 : 5;
  return pacer.baseBudget;
}

// Leaving the frame loop releases every waiting event: no window survives
// into the title.
void GameScene::CloseWindows() {
  messageWindow.Close();
  choiceWindow.Close();
}

void GameScene::ReloadScene() {
  ClearGraphicCache();
  ResetSprites();
  choiceWindow.LoadSkins();
  messageWindow.LoadWaitCursor();
  SystemStateHub.sceneReload = 0;
  SystemStateHub.stateLoaded = 0;
  RestartSceneSounds();
  PrepareCommonEvents();
}

void GameScene::Draw() {
  ClearDrawTarget();
  SetDrawFilter(0);
  GamePictures.Draw(0);
  messageWindow.Draw();
  choiceWindow.Draw();
  GamePictures.Draw(1);
  RootInterpreter.DrawTextEntry();
  for (MapEventState& event : CurrentMap.events) event.DrawTextEntry();
  FlipScreen();
}

void GameScene::ApplyMapChange() {
  SystemStateHub.mapChangePending = 0;
  const bool changed = CurrentMap.mapId != SystemStateHub.transferMapId;
  if (changed) {
    CurrentMap.ChangeMap(SystemStateHub.transferMapId);
    if (SystemStateHub.gameState == -1) return;
    ReleaseIdleSounds();
    CurrentMap.StartMapSounds();
  }
  PlayerHero.WarpTo(SystemStateHub.transferX, SystemStateHub.transferY);
  PlayerHero.ResetAnimation();
  PlayerHero.extraImageLoaded = -1;  // the hero takes its extra image anew
  CurrentMap.RequestPageRefresh();
  CurrentMap.Update();
  if (changed) {
    ClearGraphicCache();
    ResetSprites();
  }
  PlayerHero.ResetFollowers();
  // A key held over the change counts as held, not as a new press.
  UpdateInput();
}

void GameScene::ResetSprites() {}
