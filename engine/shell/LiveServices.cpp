#include "engine/shell/LiveServices.h"

#include "engine/events/LiveGameHooks.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/PresentationHooks.h"
#include "engine/presentation/pictures/LivePictureHooks.h"
#include "engine/saves/LiveSaveCommands.h"
#include "engine/shell/FrameSkip.h"
#include "engine/shell/GameScene.h"
#include "engine/shell/InGameErrorScreen.h"
#include "engine/shell/Player.h"

void InstallLiveServices() {
  InstallInGameErrorScreen();
  InstallLivePictureHooks();
  InstallSaveCommands();

  LiveGameHooks live = CurrentLiveGameHooks();
  live.setFrameSkip = SetFrameSkip;
  live.scrollX = [] { return CurrentMap.scrollX; };
  live.scrollY = [] { return CurrentMap.scrollY; };
  live.setScroll = [](int32_t quarterX, int32_t quarterY) {
    CurrentMap.scrollX = quarterX;
    CurrentMap.scrollY = quarterY;
  };
  live.mapWidth = [] { return CurrentMap.HasMap() ? CurrentMap.Width() : 0; };
  live.mapHeight = [] { return CurrentMap.HasMap() ? CurrentMap.Height() : 0; };
  live.loopsHorizontally = [] { return CurrentMap.loopX != 0; };
  live.loopsVertically = [] { return CurrentMap.loopY != 0; };
  live.heroMoving = [] { return !PlayerHero.IsStanding(); };
  // Member 0 the hero, 1-5 the followers.
  live.memberGraphic = [](int32_t member) -> std::string {
    if (member == 0) return PlayerHero.graphicFile;
    const auto i = static_cast<size_t>(member - 1);
    return member > 0 && i < PlayerHero.followers.size() ? PlayerHero.followers[i].graphicFile : std::string();
  };
  live.setMemberGraphic = [](int32_t member, const std::string& name) {
    const auto i = static_cast<size_t>(member - 1);
    if (member == 0) {
      PlayerHero.graphicFile = name;
    } else if (member > 0 && i < PlayerHero.followers.size()) {
      PlayerHero.followers[i].graphicFile = name;
    }
  };
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
