#pragma once
// The flags of the game's system state that the event run loop reads and
// writes. The rest of the hub (pending texts, transitions, scene flags)
// joins this record as the scenes that own it land.

#include <cstdint>

struct SystemState {
  int32_t gameState = 1;          // 1 running, 0 return to the title, -1 quit
  uint8_t transitionActive = 0;   // a screen transition is running
  uint8_t transitionWait = 0;     // ... and the running events wait for it
  uint8_t waitForScroll = 0;      // the running interpreter waits until the map scroll ends
  uint8_t textEntryActive = 0;    // a text entry of the string operation is open
  uint8_t sceneReload = 0;        // the scene reloads its images and sounds next frame
  uint8_t stateLoaded = 0;        // a save was just loaded: every interpreter stops for this frame
  int32_t reservedCommonEvent = -1;  // started next by the root runner, -1 none
};

extern SystemState SystemStateHub;
