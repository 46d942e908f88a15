#pragma once
// The current folder and the search of a folder's entries, by game path.
// Entry names are CP932 text.

#include <cstddef>
#include <cstdint>

// False when the folder does not exist.
bool HostSetCurrentDirectory(const char* gamePath);
// True when the game path names a folder.
bool HostFolderExists(const char* gamePath);
// The current folder as an absolute game path ('/' separators). False when
// it does not fit in size bytes with its NUL.
bool HostGetCurrentDirectory(char* buffer, size_t size);

struct HostFindData {
  char name[260];
  int isDirectory;
  uint64_t size;
  uint64_t creationTime;   // file times (FileTime.h)
  uint64_t lastWriteTime;
};

struct HostFindState;

// Searches the folder of the pattern ("dir\*.png") for the entries whose
// names match its last element (MatchWildcard, letter case ignored): "." and
// ".." first, then the others sorted by their upper-case names. Null when
// nothing matches.
HostFindState* HostFindFirstFile(const char* pattern, HostFindData* data);
// False at the end.
bool HostFindNextFile(HostFindState* find, HostFindData* data);
void HostFindClose(HostFindState* find);
