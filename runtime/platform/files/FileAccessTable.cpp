#include "runtime/platform/files/FileAccessTable.h"

#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/files/PlainFile.h"
#include "runtime/platform/system/PlatformState.h"

namespace {

constexpr FileAccessTable kPlainSet = {PlainFileOpen,  PlainFileClose, PlainFileTell,  PlainFileSeek,
                                       PlainFileRead,  PlainFileEof,   PlainFileIdle,  PlainChangeDir,
                                       PlainGetDir,    PlainFindFirst, PlainFindNext,  PlainFindClose};
constexpr FileAccessTable kArchiveAwareSet = {
    OpenFileArchiveAware, ArchiveAwareClose, ArchiveAwareTell,      ArchiveAwareSeek,
    ArchiveAwareRead,     ArchiveAwareEof,   ArchiveAwareIdle,      ArchiveChangeDir,
    ArchiveGetDir,        ArchiveAwareFindFirst, ArchiveAwareFindNext, ArchiveFindClose};

// Files are read before the layer starts (the game information): the
// default mode's set is in place from the beginning.
FileAccessTable gInstalled = kArchiveAwareSet;

const FileAccessTable& StandardSet(int archiveAccess) { return archiveAccess ? kArchiveAwareSet : kPlainSet; }

bool IsSet(const FileAccessTable& set) {
  const FileAccessTable& t = gInstalled;
  return t.open == set.open && t.close == set.close && t.tell == set.tell && t.seek == set.seek &&
         t.read == set.read && t.eof == set.eof && t.changeDir == set.changeDir && t.getDir == set.getDir &&
         t.findFirst == set.findFirst && t.findNext == set.findNext && t.findClose == set.findClose;
}

}  // namespace

bool SeekTarget(int64_t position, int64_t size, int64_t offset, int origin, int64_t* target) {
  int64_t base;
  if (origin == kSeekStart) {
    base = 0;
  } else if (origin == kSeekCurrent) {
    base = position;
  } else if (origin == kSeekEnd) {
    base = size;
  } else {
    return false;
  }
  if (__builtin_add_overflow(base, offset, target)) *target = offset < 0 ? INT64_MIN : INT64_MAX;
  return true;
}

bool ClampedSeekTarget(int64_t position, int64_t size, int64_t offset, int origin, int64_t* target) {
  if (!SeekTarget(position, size, offset, origin, target)) return false;
  if (*target < 0) *target = 0;
  if (*target > size) *target = size;
  return true;
}

const FileAccessTable& PlainFileTable() { return kPlainSet; }
const FileAccessTable& ArchiveAwareFileTable() { return kArchiveAwareSet; }

int InstallFileAccessTable(const FileAccessTable* table) {
  gInstalled = table ? *table : StandardSet(gPlatform.archiveAccess);
  return 0;
}

int IsStandardFileTableInstalled() { return IsSet(StandardSet(gPlatform.archiveAccess)) ? 1 : 0; }

int EnableArchiveAccess(int flag) {
  const int mode = flag ? 1 : 0;
  if (mode != gPlatform.archiveAccess) {
    const bool standard = IsSet(StandardSet(gPlatform.archiveAccess));
    gPlatform.archiveAccess = mode;
    if (standard) gInstalled = StandardSet(mode);
  }
  return 0;
}

FileHandle FileOpenVia(const char* name, int cacheFlag, int unused, int threadFlag) {
  return gInstalled.open(name, cacheFlag, unused, threadFlag);
}
int FileCloseRead(FileHandle file) { return gInstalled.close(file); }
int64_t FileTellVia(FileHandle file) { return gInstalled.tell(file); }
int FileSeekVia(FileHandle file, int64_t offset, int origin) { return gInstalled.seek(file, offset, origin); }
size_t FileReadVia(void* buffer, size_t elementSize, size_t count, FileHandle file) {
  return gInstalled.read(buffer, elementSize, count, file);
}
int FileEofVia(FileHandle file) { return gInstalled.eof(file); }
int FileIdleVia(FileHandle file) { return gInstalled.idle(file); }
int ChangeDirVia(const char* path) { return gInstalled.changeDir(path); }
int GetDirVia(char* buffer) { return gInstalled.getDir(buffer); }
FindHandle FindFirstVia(const char* pattern, FileInfo* info) { return gInstalled.findFirst(pattern, info); }
int FindNextVia(FindHandle find, FileInfo* info) { return gInstalled.findNext(find, info); }
int FindCloseVia(FindHandle find) { return gInstalled.findClose(find); }
