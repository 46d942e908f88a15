#pragma once
// The flags of the game's system state that the event run loop reads and
// writes. The rest of the hub (pending texts, transitions, scene flags)
// joins this record as the scenes that own it land.

#include <array>
#include <cstdint>
#include <string>

struct SystemState {
  int32_t gameState = 1;          // 1 running, 0 return to the title, -1 quit
  uint8_t transitionActive = 0;   // a screen transition is running
  uint8_t transitionWait = 0;     // ... and the running events wait for it
  uint8_t waitForScroll = 0;      // the running interpreter waits until the map scroll ends
  uint8_t textEntryActive = 0;    // a text entry of the string operation is open
  uint8_t sceneReload = 0;        // the scene reloads its images and sounds next frame
  uint8_t stateLoaded = 0;        // a save was just loaded: every interpreter stops for this frame
  int32_t reservedCommonEvent = -1;  // started next by the root runner, -1 none

  // The map and tile the next map change goes to; the frame carries the
  // change out while mapChangePending is set.
  uint8_t mapChangePending = 0;
  int32_t transferMapId = 0;
  int32_t transferX = 0;
  int32_t transferY = 0;

  // For the debug lines: 1 while they are drawn; milliseconds the updates
  // of the last five frames took (newest first), and the last draw.
  int32_t debugLineFlag = 0;
  std::array<int32_t, 5> updateTimes{};
  int32_t drawTime = 0;

  // Messages and choices between the event commands and their windows.
  // Waiters are interpreter serials (0 none); a hand-back is taken by the
  // waiter at its next turn.
  std::string pendingMessageText;
  std::string pendingChoiceText;
  std::string lastMessageText;
  std::array<std::string, 10> lastChoiceTexts;
  int32_t messageWaiterMode = -1;  // 1 an interpreter waits for the message window
  uint64_t messageWaiter = 0;
  int32_t choiceCount = 0;
  int32_t cancelChoice = 0;
  int32_t choiceExtraFlags = 0;
  int32_t choiceWaiterLevel = -1;  // the indent whose branch result takes the choice
  uint64_t choiceWaiter = 0;
  uint8_t choiceWithMessage = 0;
  uint8_t closeMessageWithChoice = 0;
  uint8_t autoCloseMessage = 0;
  uint8_t closeChoiceRequest = 0;
  uint64_t releasedMessageWaiter = 0;
  uint64_t choiceResultWaiter = 0;
  int32_t choiceResultLevel = 0;
  int32_t choiceResultValue = 0;

  // What the windows publish: a message or choice window is open; the
  // message window has shown its whole text; it is open (system variable
  // 12); the choice row taken, -1 while none (system variable 20).
  uint8_t windowOpen = 0;
  uint8_t messageShown = 0;
  int32_t messageWindowShown = 0;
  int32_t lastChoiceResult = -1;

  // The map: the hero's facing when the transfer was recorded; the tile
  // draw levels and the character sprites are due for a refresh.
  int32_t transferDirection = 2;
  uint8_t tileLevelRefresh = 0;
  uint8_t spriteRefresh = 0;

  // (-1, 0) clears.
  void SetMessageWaiter(int32_t mode, uint64_t waiter);
  // The message window closed: its waiter goes on at its next turn.
  void ReleaseMessageWaiter();
  void SetChoiceWaiter(int32_t level, uint64_t waiter);
  // The chosen case goes to the choice waiter's branch result at the waiter
  // level, and the waiter goes on.
  void DeliverChoiceResult(int32_t value);
  // An interpreter went away: nothing waits for it any more.
  void ForgetWaiter(uint64_t serial);
};

extern SystemState SystemStateHub;
