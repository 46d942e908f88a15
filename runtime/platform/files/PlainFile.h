#pragma once
// The plain-file set of the file access table: files on disk, read directly
// or through a file-access thread of their own (one per open file), with an
// optional read-ahead cache that the thread fills between commands.

#include <cstddef>
#include <cstdint>

#include "runtime/platform/files/FileAccessTable.h"

// Handles of this set are the address of the file's record. In thread mode a
// read with the thread flag (no-wait) returns before the data has arrived:
// test idle, or complete it, before using the data.
FileHandle PlainFileOpen(const char* name, int cacheFlag, int unused, int threadFlag);
int PlainFileClose(FileHandle file);
int64_t PlainFileTell(FileHandle file);
int PlainFileSeek(FileHandle file, int64_t offset, int origin);
size_t PlainFileRead(void* buffer, size_t elementSize, size_t count, FileHandle file);
int PlainFileEof(FileHandle file);
int PlainFileIdle(FileHandle file);

// Waits for the pending read and returns the bytes it actually read (0 when
// none is pending); the position then stands after them.
int64_t PlainFileCompleteRead(FileHandle file);
int64_t PlainFileSize(FileHandle file);

int PlainChangeDir(const char* path);
int PlainGetDir(char* buffer);
FindHandle PlainFindFirst(const char* pattern, FileInfo* info);
int PlainFindNext(FindHandle find, FileInfo* info);
int PlainFindClose(FindHandle find);

// A file time (100-ns units since 1601, UTC) in local time; zeros when it
// cannot be represented.
void FileTimeToDateRecord(uint64_t fileTime, DateRecord* record);
