#pragma once
// The root event runner: the one interpreter that runs the events the player
// waits for, and the block of game-wide values that many parts of the game
// read and write (message and text-entry metrics, screen tone and flash,
// sounds, panorama and fog, key configuration, the values behind most system
// variables). This class holds the value block; the interpreter part joins
// it when the event interpreter lands. A save-slot snapshot keeps a copy.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/SaveBuffer.h"

class RootEventRunner {
 public:
  // Indices into keyCodes: keyboard key codes (DirectInput code + 100) of the
  // decide, cancel and sub buttons, then their pad masks.
  enum KeyCodeIndex : int {
    kDecideKey = 0,
    kCancelKey = 1,
    kSubKey = 2,
    kDecidePad = 3,
    kCancelPad = 4,
    kSubPad = 5,
  };

  // The longest texts the save record holds, terminator included.
  static constexpr int32_t kMaxSavedPartyName = 512;
  static constexpr int32_t kMaxSavedShortText = 1028;

  uint8_t reservedBytes[3] = {0, 0, 0};
  int32_t playSeconds = 0;
  int32_t reservedValue = 0;
  int32_t millisecondsOfSecond = 0;
  int32_t currentMusicEntry = -1;
  int32_t currentBackgroundSoundEntry = -1;
  float drawCreditPerFrame = 1.0f;
  int32_t framesPerSecond = 0;
  int32_t debugTimeValue = 0;
  int32_t systemValues0To4[5] = {0, -1, -1, -1, -1};   // sv 0-4
  int32_t systemValues17To19[3] = {-1, -1, -1};        // sv 17-19
  int32_t choiceCursor = 0;                            // sv 7
  int16_t currentTone[3] = {0, 0, 0};
  int16_t targetTone[3] = {0, 0, 0};
  int16_t startTone[3] = {0, 0, 0};
  int16_t toneCounter = -1;
  int16_t toneTotal = -1;
  int16_t flashColor[3] = {0, 0, 0};
  int16_t flashCounter = -1;
  int16_t flashTotal = -1;
  int32_t slotHoldsGame = 0;  // sv 24
  int32_t frameSkipMode = 0;  // sv 33
  int32_t messageFontSize = 22;  // sv 8
  int32_t panorama[3] = {-1, 0, 0};        // sv 66-68: number, scroll x, y
  int32_t fog[5] = {-1, 0, 0, 0, 255};     // sv 61-65: number, scroll x, y, blend, opacity
  int16_t followerSetting = 0;             // sv 36
  int32_t inputRepeat[2] = {16, 5};        // sv 15, 16: delay, interval
  int32_t saveSlotValue = -1;              // sv 25
  uint8_t movementDuringEvents = 0;
  int16_t messageWindowX = 320;            // sv 5
  int16_t messageWindowY = 137;            // sv 6
  uint8_t mapDrawing = 1;
  int16_t followerSpacing = 2;             // sv 37
  int32_t textEntryResult = 0;             // sv 39
  int16_t textEntryX = 150;                // sv 40
  int16_t textEntryY = 400;                // sv 41
  int32_t messageValues[3] = {120, 1000000, 1};  // sv 9, 11, 10 in this order
  uint8_t choiceFrame = 1;                 // sv 14
  int32_t screenLock = 0;
  int32_t textEdge = 0;                    // sv 21
  int32_t mouseWindowValue = 0;            // sv 73
  int32_t transitionSetting1 = -1;
  int32_t transitionSetting2 = 20;
  uint8_t transitionSetting3 = 0;
  std::vector<std::string> partyNames;
  std::vector<int32_t> followerValues = std::vector<int32_t>(5, -1);  // sv 87-91
  int32_t choiceCursorBlend = 0;           // sv 22
  int32_t panoramaValue = 0;
  int32_t fogValue = 0;
  int32_t keyInputValues[2] = {0, 0};      // sv 59, 60
  std::array<int32_t, 6> keyCodes = {144, 145, 146, 16, 32, 64};
  int32_t frameCounter = 0;                // sv 28
  std::string messagePrefix;               // ss 26
  std::string messageSuffix;               // ss 27
  int32_t soundValues[3] = {100, 100, 100};  // sv 100-102
  std::string musicFileName;               // ss 33
  std::string backgroundSoundFileName;     // ss 34
  int32_t musicParameters[3] = {0, 0, 0};
  int32_t backgroundSoundParameters[3] = {0, 0, 0};
  std::string panoramaFileName;            // ss 30
  std::string fogFileName;                 // ss 31
  uint8_t mouseCursorShown = 1;            // sv 74
  uint8_t partyFlag = 1;

  // The defaults, with the message metrics of the tile unit in force.
  RootEventRunner();

  // The values that follow the tile unit (and the frame counter and sound
  // values, which start-up sets again with them).
  void SetMessageMetrics();

  // Starts a tone change from the tone now shown to (r, g, b).
  void SetToneTarget(int16_t r, int16_t g, int16_t b, int32_t frames);
  void SetFlash(int16_t r, int16_t g, int16_t b, int32_t frames);

  // One frame of the tone change and of the flash.
  void UpdateTone();
  // The screen tone around what is drawn of the map: before it, the
  // negative channels darken through the draw brightness; after it, the
  // positive ones are added over the screen; reset gives the brightness back.
  enum class TintPhase { kBefore, kAfter, kReset };
  void DrawTint(TintPhase phase) const;
  // The flash over the screen, fading with its counter.
  void DrawFlash() const;

  // The block of values in a save body (written in the newest layout); the
  // interpreter part is not saved.
  bool WriteState(SaveBuffer& out) const;
  // Reads the layout of saveVersion into a freshly constructed runner.
  // False when a field runs past the end or is damaged (the buffer's overrun
  // flag is then set); the fields read so far keep their new values.
  bool ReadState(SaveBuffer& in, int32_t saveVersion);
};

// The running game's root runner.
extern RootEventRunner RootRunner;
