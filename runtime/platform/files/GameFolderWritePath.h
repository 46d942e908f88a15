#pragma once
// Files that game content names for writing stay below the game folder.

// False for an empty name, an absolute path, a drive letter or any ".."
// element.
bool IsGameFolderWritePath(const char* path);
