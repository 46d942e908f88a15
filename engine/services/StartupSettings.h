#pragma once
// Process-wide settings that start-up establishes once and the rest of the
// engine reads: test play, the tile unit and display scale, the frame step,
// and the player's own settings from "Game.ini".

#include <cstdint>
#include <string>

// 1 when the game runs as a test play from the editor, else 0.
extern int32_t TestPlayFlag;

// Pixels of one map tile: 32, or 16 for games made on the small grid (drawn
// at display scale 2).
extern int32_t TileUnit;

// Counters fall by this much each frame: 60 divided by the game's frame
// rate, 1 for a rate that gives no step.
extern int32_t GameFrameStep;

// 1 while MIDI music can play (start-up clears it when the MIDI library
// does not start).
extern int32_t MidiAvailable;

// The player's settings file. Start: -1 no file, 0 the last start-up
// finished, 1 a start-up is running or never finished.
struct PlayerSettings {
  int32_t start = 0;
  int32_t softMode = 0;    // 1 software rendering
  int32_t windowMode = 1;  // 1 window, 0 full screen
  int32_t soundSwitch = 3;  // 0 none, 1 sound effects only, 2 music only, 3 both
  int32_t frameSkip = 0;   // 0..2
  std::string proxy;
  std::string proxyPort;
  int32_t screenShot = 1;  // Print Screen saves a screenshot

  bool operator==(const PlayerSettings&) const = default;
};

extern PlayerSettings Settings;

// Drawn coordinates are multiplied by this: 2 on the small grid, else 1.
inline int32_t DisplayScale() { return TileUnit == 16 ? 2 : 1; }

// Test play is asked for by exactly this command line, nothing else.
bool IsTestPlayCommandLine(const char* commandLine);
