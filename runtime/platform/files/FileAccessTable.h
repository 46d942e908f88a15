#pragma once
// Every file the layer and the engine read goes through one replaceable table
// of twelve file operations. Two standard sets exist: the archive-aware set
// (the default), which looks for each file inside archives first, and the
// plain-file set, used when archive access is off.

#include <cstddef>
#include <cstdint>

#include "runtime/Movan.h"

// Path buffers of the table's get-directory and of FileInfo names.
constexpr size_t kFilePathSize = 260;

// A file time split in local time.
struct DateRecord {
  int year, month, day, hour, minute, second;
};

// One entry found by a directory search.
struct FileInfo {
  char name[kFilePathSize];
  int isDirectory;
  uint32_t sizeLow;
  uint32_t sizeHigh;
  DateRecord creationTime;
  DateRecord lastWriteTime;
};

// A directory search in progress; -1 means none.
using FindHandle = intptr_t;

// Seek origins.
constexpr int kSeekStart = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;

// The place a seek asks for, saturated at the ends of int64_t. False for an
// unknown origin.
bool SeekTarget(int64_t position, int64_t size, int64_t offset, int origin, int64_t* target);
// The same held inside the stream, 0 to size: for streams that cannot be
// read beyond their end.
bool ClampedSeekTarget(int64_t position, int64_t size, int64_t offset, int origin, int64_t* target);

struct FileAccessTable {
  // The third argument is read by no open; the thread flag asks for a
  // file-access thread. 0 on failure.
  FileHandle (*open)(const char* name, int cacheFlag, int unused, int threadFlag);
  int (*close)(FileHandle file);
  int64_t (*tell)(FileHandle file);
  // 0, or -1.
  int (*seek)(FileHandle file, int64_t offset, int origin);
  // Whole elements read (bytes, for a file inside an archive).
  size_t (*read)(void* buffer, size_t elementSize, size_t count, FileHandle file);
  // Non-zero at the end.
  int (*eof)(FileHandle file);
  // 1 when no read is pending.
  int (*idle)(FileHandle file);
  // 0, or -1.
  int (*changeDir)(const char* path);
  // Fills kFilePathSize bytes. 0, or -1.
  int (*getDir)(char* buffer);
  // info may be null. -1 when nothing matches.
  FindHandle (*findFirst)(const char* pattern, FileInfo* info);
  // 0, or -1 at the end.
  int (*findNext)(FindHandle find, FileInfo* info);
  int (*findClose)(FindHandle find);
};

// Null installs the standard set of the current archive mode; a table is
// copied. Returns 0.
int InstallFileAccessTable(const FileAccessTable* table);
// 1 when the installed operations (all but idle) are the standard set of the
// current archive mode.
int IsStandardFileTableInstalled();

const FileAccessTable& PlainFileTable();
const FileAccessTable& ArchiveAwareFileTable();

// Each calls the installed table's operation.
FileHandle FileOpenVia(const char* name, int cacheFlag, int unused, int threadFlag);
int64_t FileTellVia(FileHandle file);
int FileSeekVia(FileHandle file, int64_t offset, int origin);
size_t FileReadVia(void* buffer, size_t elementSize, size_t count, FileHandle file);
int FileEofVia(FileHandle file);
int FileIdleVia(FileHandle file);
int ChangeDirVia(const char* path);
int GetDirVia(char* buffer);
FindHandle FindFirstVia(const char* pattern, FileInfo* info);
int FindNextVia(FindHandle find, FileInfo* info);
int FindCloseVia(FindHandle find);
// FileCloseRead (Movan.h) is the close dispatcher.
