#pragma once
// The archives opened so far, cached by path (512 slots), with the archive
// settings and the lookup of the archive that stands in for a directory on a
// file's path.

#include <cstddef>

#include "runtime/platform/archive/ArchiveReader.h"

constexpr int kArchiveCacheSlots = 512;

// The archive of a cache slot.
ArchiveReader* CachedArchive(int slot);
// Lowers the slot's use count (a file or search of it has ended).
void ReleaseArchive(int slot);

// Finds the archive standing in for one of the directories of the path, from
// the top down (never the file name itself): the directory's path plus "."
// and the archive extension. The last archive found is remembered with the
// directory it stands for, so that later files below it skip the search.
// Returns the cache slot, its use count raised, and the path inside the
// archive (a pointer into inner, which must hold kArchivePathSize bytes); -1
// when no archive stands in.
int ResolveArchivePath(const char* path, char* inner);

// Closes every cached archive no file or search uses.
void CloseUnusedArchives();
// Closes every cached archive and forgets the last archive found; the
// extension and key string stay.
void ResetArchiveCache();
