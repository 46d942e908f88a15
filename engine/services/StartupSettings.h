#pragma once
// Process-wide settings that start-up establishes once and the rest of the
// engine reads: test play, the tile unit and the sound setting.

#include <cstdint>

// 1 when the game runs as a test play from the editor, else 0.
extern int32_t TestPlayFlag;

// Pixels of one map tile: 32, or 16 for games made on the small grid (drawn
// at display scale 2).
extern int32_t TileUnit;

// The player's sound setting of "Game.ini": 0 neither sound effects nor
// music, 1 sound effects only, 2 music (and background sounds) only, 3 both.
extern int32_t SEandBGM;

// 1 while MIDI music can play (start-up clears it when the MIDI library
// does not start).
extern int32_t MidiAvailable;

// Drawn coordinates are multiplied by this: 2 on the small grid, else 1.
inline int32_t DisplayScale() { return TileUnit == 16 ? 2 : 1; }

// Test play is asked for by exactly this command line, nothing else.
bool IsTestPlayCommandLine(const char* commandLine);
