#include "engine/shell/LiveServices.h"

#include "engine/events/LiveGameHooks.h"
#include "engine/map/MapScene.h"
#include "engine/shell/FrameSkip.h"
#include "engine/shell/InGameErrorScreen.h"

void InstallLiveServices() {
  InstallInGameErrorScreen();

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
  SetLiveGameHooks(&live);
}
