#pragma once
// Process-wide settings that start-up establishes once and the rest of the
// engine reads: test play and the tile unit.

#include <cstdint>

// 1 when the game runs as a test play from the editor, else 0.
extern int32_t TestPlayFlag;

// Pixels of one map tile: 32, or 16 for games made on the small grid (drawn
// at display scale 2).
extern int32_t TileUnit;

// Drawn coordinates are multiplied by this: 2 on the small grid, else 1.
inline int32_t DisplayScale() { return TileUnit == 16 ? 2 : 1; }

// Test play is asked for by exactly this command line, nothing else.
bool IsTestPlayCommandLine(const char* commandLine);
