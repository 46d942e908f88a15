#pragma once
// "Game.ini", the player's settings file in the game folder: the crash-
// recovery start flag, the drawing, window, sound and frame-skip choices,
// the proxy texts and the screenshot switch. Written whole at start-up and
// at shutdown.

#include <string>

#include "engine/services/StartupSettings.h"

inline constexpr const char* kGameIniName = "Game.ini";

// Reads the settings from the text of the file: every space is removed
// first, then each key is looked for from the start of the text. Fields
// whose key is missing take their defaults.
PlayerSettings ParseGameIni(std::string text);

// The file's text for the settings, lines ending in LF (written as CR LF),
// no line end after the last.
std::string FormatGameIni(const PlayerSettings& settings);

// Reads "Game.ini" of the current folder into settings: 1, or -1 when there
// is no file (then start -1 and the file defaults of the first five fields;
// the proxy texts and the screenshot switch keep their values).
int ReadGameIni(PlayerSettings& settings);

// Writes "Game.ini" anew from settings with these three fields replaced,
// through a temporary file renamed over the old one. False when it cannot
// be written (the old file is then intact).
bool WriteGameIni(const PlayerSettings& settings, int32_t start, int32_t softMode, int32_t frameSkip);
