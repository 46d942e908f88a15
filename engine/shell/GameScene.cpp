#include "engine/shell/GameScene.h"

#include <algorithm>
#include <array>

#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SaveSlotCache.h"
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

  // The update time of this frame, newest first; Frame makes it a duration.
  std::array<int32_t, 5>& updateTimes = SystemStateHub.updateTimes;
  std::copy_backward(updateTimes.begin(), updateTimes.end() - 1, updateTimes.end());
  updateTimes[0] = static_cast<int32_t>(GetTickMs());
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
  if (SystemStateHub.tileLevelRefresh) {
    SystemStateHub.tileLevelRefresh = 0;
    mapDrawing.tileLayers.RefreshTileLevels();
  }

  RootRunner.frameCounter = (RootRunner.frameCounter + 1) % kFrameCounterPeriod;
  CurrentMap.Update();
  RootInterpreter.RunFrame();
  // A load or a return to the title during the events: the next frame
  // starts with the scene reload. No interpreter runs now, so a load the
  // events asked for enters the game here.
  if (SystemStateHub.stateLoaded && LoadPending()) {
    // The load deletes every graphic: the windows let go of theirs first
    // and take them again at the scene reload.
    messageWindow.Release();
    choiceWindow.Release();
    ApplyPendingLoad();
  }
  if (SystemStateHub.stateLoaded || SystemStateHub.sceneReload) return;

  PlayerHero.Control();
  if (SystemStateHub.mapChangePending) ApplyMapChange();
  choiceWindow.Update();
  messageWindow.Update();
  GamePictures.Update();
  UpdateSoundManager();
  SystemStateHub.CountDownTransition();
  RootRunner.UpdateTone();
  mapDrawing.ScrollPanoramaAndFog();
  mapDrawing.TakeMapScroll();
  SystemStateHub.updateTimes[0] = static_cast<int32_t>(GetTickMs()) - SystemStateHub.updateTimes[0];

  float credit = RootRunner.drawCreditPerFrame;
  if (ReplayPlaying) {
    // The player runs the playback faster: decide draws a third of the
    // frames, with sub a fifth of that.
    if (Input.liveButtonsHeld[kButtonDecide]) credit /= 3;
    if (Input.liveButtonsHeld[kButtonSub]) credit /= 5;
  }
  pacer.AddCredit(credit);
  // Nothing is drawn while a transition is prepared but not started.
  if (pacer.TakeDraw(SystemStateHub.screenFrozen != 0)) Draw();
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
  const uint32_t start = GetTickMs();
  ClearDrawTarget();
  SetDrawFilter(0);
  // The map applies the darkening part of the tone itself; the frozen
  // picture that stands in while map drawing is off needs it too.
  if (RootRunner.mapDrawing) {
    mapDrawing.DrawMap();
  } else {
    RootRunner.DrawTint(RootEventRunner::TintPhase::kBefore);
    SystemStateHub.DrawFrozenMap();
  }
  RootRunner.DrawTint(RootEventRunner::TintPhase::kAfter);
  RootRunner.DrawTint(RootEventRunner::TintPhase::kReset);
  GamePictures.Draw(0);
  messageWindow.Draw();
  choiceWindow.Draw();
  GamePictures.Draw(1);
  RootRunner.DrawFlash();
  SystemStateHub.DrawTransition();
  RootInterpreter.DrawTextEntry();
  for (MapEventState& event : CurrentMap.events) event.DrawTextEntry();
  SystemStateHub.drawTime = static_cast<int32_t>(GetTickMs() - start);
  FlipScreen();
  SystemStateHub.spriteRefresh = 0;
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

void GameScene::ResetSprites() { mapDrawing.ResetSprites(); }
