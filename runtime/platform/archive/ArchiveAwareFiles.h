#pragma once
// The archive-aware set of the file access table, the layer's default: every
// open and directory search first looks for an archive standing in for a
// directory of its path and uses the plain file only when there is none. A
// file missing from the archive of its directory is not found.
//
// Handles are the slot index of the open-file table (512 slots) OR
// 0xF0000000, for files inside archives and plain files alike. For a file
// inside an archive, read counts bytes (element size x count as one run);
// tell, seek and end of file work on the uncompressed file; idle is 1.

#include "runtime/platform/files/FileAccessTable.h"

constexpr int kOpenFileSlots = 512;

FileHandle OpenFileArchiveAware(const char* name, int cacheFlag, int unused, int threadFlag);
int ArchiveAwareClose(FileHandle file);
int64_t ArchiveAwareTell(FileHandle file);
int ArchiveAwareSeek(FileHandle file, int64_t offset, int origin);
size_t ArchiveAwareRead(void* buffer, size_t elementSize, size_t count, FileHandle file);
int ArchiveAwareEof(FileHandle file);
int ArchiveAwareIdle(FileHandle file);
int ArchiveChangeDir(const char* path);
int ArchiveGetDir(char* buffer);
FindHandle ArchiveAwareFindFirst(const char* pattern, FileInfo* info);
int ArchiveAwareFindNext(FindHandle find, FileInfo* info);
int ArchiveFindClose(FindHandle find);

// Files open through this set.
int ArchiveAwareOpenFileCount();

// Closes every file open through this set and every cached archive, and
// forgets the last archive found; the extension and key string stay. Searches
// must be closed before.
void ResetArchiveState();
