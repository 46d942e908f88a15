#pragma once
// The game's Data folder (a game path ending in a backslash), under which
// maps and tile sets are found. Start-up sets it from the executable's
// folder; until then it is "Data\" relative to the current folder.

#include <string>

const std::string& DataFolder();
void SetDataFolder(const std::string& folder);
