#pragma once
// The game's system state: what the parts of the engine hand each other for
// one frame or one interaction (the game state the scene loop obeys, the
// pending message and choice texts with the interpreters that wait for
// their windows, the scene flags, the screen transition with its two
// screen-sized graphics, timing figures for the debug lines). It is not
// saved; a return to the title replaces it with a fresh one
// (ResetSystemStateHub).

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

  // The screen transition. Preparing it captures the screen into
  // capturedScreen and stops the drawing (screenFrozen) until it starts;
  // then it is drawn from the captured picture to the live one while its
  // counter runs down from the total, plainly faded or through the image.
  uint8_t screenFrozen = 0;
  uint8_t plainFade = 1;
  int32_t transitionCounter = 20;  // frames left; keeps counting down to -10
  int32_t transitionTotal = 20;
  int32_t transitionImage = 0;     // the blend image, 0 none
  std::string transitionImageName;
  // Screen-sized graphics, -1 until made (RecreateTransitionSurfaces): the
  // picture a transition starts from, and the one drawn in place of the map
  // while map drawing is off.
  int32_t capturedScreen = -1;
  int32_t frozenMapGraphic = -1;

  // For the debug lines: 1 while they are drawn; milliseconds the updates
  // of the last five frames took (newest first), and the last draw.
  int32_t debugLineFlag = 0;
  std::array<int32_t, 5> updateTimes{};
  int32_t drawTime = 0;
  // The system family the layer reports: below 2 the 9x family.
  int32_t osPlatformId = 2;

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

  // What the map drawing reads: the sprites pick their sheets anew (the
  // tile set changed; cleared after each drawn frame), the tile draw levels
  // are recomputed next frame, the panorama or fog name text was changed.
  uint8_t spriteRefresh = 0;
  uint8_t tileLevelRefresh = 0;
  uint8_t panoramaChanged = 0;
  uint8_t fogChanged = 0;
  // What the windows publish: a message or choice window is open; the
  // message window has shown its whole text; it is open (system variable
  // 12); the choice row taken, -1 while none (system variable 20).
  uint8_t windowOpen = 0;
  uint8_t messageShown = 0;
  int32_t messageWindowShown = 0;
  int32_t lastChoiceResult = -1;

  // The map: the hero's facing when the transfer was recorded (the tile
  // level and sprite refresh flags are with the map drawing's above).
  int32_t transferDirection = 2;

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

  // The fields a fresh hub starts with that concern the windows, the
  // waiters and the reserved event.
  void Reset();
  // Deletes the two screen-sized graphics and makes them anew (at the title
  // and after a saved game was loaded, when every graphic went away).
  void RecreateTransitionSurfaces();

  // Chooses the transition of the next screen change: below 0 a plain fade,
  // else the image of that entry of the system database's transition type
  // (a file under the Data folder), made as a blend image; then its frames
  // and whether the running events wait for it. The image chosen before is
  // deleted.
  void LoadTransitionImage(int32_t number, int32_t frames, uint8_t wait);
  // Prepares a transition: false while a window is open or a transition
  // runs; else captures the screen and holds the drawing.
  bool FreezeScreen();
  // The back screen into capturedScreen.
  void CaptureScreen();
  // Starts the prepared transition (preparing it first when it is not);
  // false while one runs.
  bool StartTransition();
  // Every frame: the counter falls by the frame step, to -10 at the lowest.
  void CountDownTransition();
  // Every drawn frame, over the pictures and windows: the captured picture
  // fading out; the first frame with nothing left ends the transition.
  void DrawTransition();
  // Drawn in place of the map while map drawing is off.
  void DrawFrozenMap() const;
};

extern SystemState SystemStateHub;

// A fresh hub in place of the old one, whose graphics (the transition image
// and the two screen-sized ones) are deleted; the new one has its two made.
void ResetSystemStateHub();
