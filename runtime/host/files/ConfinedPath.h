#pragma once
// Paths that game content steers (text files written by events, folder
// listings) must stay inside the game folder, the current folder. A game
// path is refused when it is absolute (a leading separator), names a drive
// (any ':'), holds a ".." element, or when the deepest part of it that
// exists on disk resolves, through symlinks, outside the game folder.

#include <cstddef>
#include <cstdint>
#include <string>

// The host path of a game path relative to the game folder, or false when
// the path leaves it. An empty path names the game folder itself.
bool ConfineGamePath(const char* gamePath, std::string* hostPath);

// Writes the bytes to a temporary file in the file's folder, checking every
// write and the close, then renames it over the file. On failure the old
// file is intact and the temporary file is gone.
bool HostReplaceFile(const std::string& hostPath, const void* data, size_t size);

// Makes the folder; one that already stands there is no failure.
bool HostMakeFolder(const std::string& hostPath);
// Bytes an unprivileged writer may still put on the file system holding the
// path; -1 when it cannot be told.
int64_t HostFreeSpace(const char* hostPath);
