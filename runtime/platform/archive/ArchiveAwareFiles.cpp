#include "runtime/platform/archive/ArchiveAwareFiles.h"

#include <cstring>

#include "runtime/ShiftJis.h"
#include "runtime/WildcardMatch.h"
#include "runtime/platform/archive/ArchiveCache.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/files/PlainFile.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr FileHandle kHandleTag = 0xF0000000u;

struct OpenFile {
  int inArchive;
  FileHandle plain;
  int cacheSlot;
  ArchiveFile file;
};

struct ArchiveFind {
  int inArchive;
  int cacheSlot;
  FindHandle plain;
  ArchiveReader* reader;
  char pattern[kFilePathSize];  // upper case
  uint32_t directory;
  uint32_t next;
};

OpenFile* gOpenFiles[kOpenFileSlots];
int gOpenFileCount;

OpenFile* FileOf(FileHandle handle) {
  if ((handle & kHandleTag) != kHandleTag) return nullptr;
  const FileHandle slot = handle & ~kHandleTag;
  return slot < static_cast<FileHandle>(kOpenFileSlots) ? gOpenFiles[slot] : nullptr;
}

void FreeSlot(int slot) {
  TrackedFree(gOpenFiles[slot]);
  gOpenFiles[slot] = nullptr;
  --gOpenFileCount;
}

int CloseOpenFile(int slot) {
  OpenFile* f = gOpenFiles[slot];
  int result = 0;
  if (f->inArchive) {
    ArchiveFileClose(&f->file);
    ReleaseArchive(f->cacheSlot);
  } else {
    result = PlainFileClose(f->plain);
  }
  FreeSlot(slot);
  return result;
}

ArchiveFind* FindOf(FindHandle find) { return (find == -1 || find == 0) ? nullptr : reinterpret_cast<ArchiveFind*>(find); }

// Reports the next item of the directory that matches the pattern.
bool NextArchiveItem(ArchiveFind* find, FileInfo* info) {
  const char* upperName;
  while (ArchiveDirectoryItem(find->reader, find->directory, find->next, nullptr, &upperName)) {
    const uint32_t index = find->next++;
    if (MatchWildcard(find->pattern, upperName) == 0) {
      ArchiveDirectoryItem(find->reader, find->directory, index, info, &upperName);
      return true;
    }
  }
  return false;
}

// Splits the inner pattern at its last separator; both halves upper case.
void SplitPattern(const char* inner, char* directory, size_t directorySize, char* pattern, size_t patternSize) {
  const PathSplit split = SplitAtLastSeparator(inner);
  if (split.folderLength == 0) {
    StrCopy(directory, directorySize, ".");
  } else {
    const size_t length = split.FolderLengthWithoutSeparator();
    StrCopy(directory, directorySize, inner);
    if (length < directorySize) directory[length] = '\0';
  }
  StrCopy(pattern, patternSize, split.name);
  StrUpper(directory);
  StrUpper(pattern);
}

}  // namespace

FileHandle OpenFileArchiveAware(const char* name, int cacheFlag, int unused, int threadFlag) {
  if (!name) return 0;
  if (gOpenFileCount >= kOpenFileSlots) return LogWrite("同時に開けるファイルの数が限界を超えました\n"), 0;
  int slot = 0;
  while (gOpenFiles[slot]) ++slot;
  OpenFile* f = static_cast<OpenFile*>(TrackedAllocZero(sizeof(OpenFile), __FILE__, __LINE__));
  if (!f) return LogWrite("ファイルの情報を格納するメモリの確保に失敗しました\n"), 0;
  gOpenFiles[slot] = f;
  ++gOpenFileCount;

  char inner[kArchivePathSize];
  f->cacheSlot = ResolveArchivePath(name, inner);
  if (f->cacheSlot < 0) {
    f->plain = PlainFileOpen(name, cacheFlag, unused, threadFlag);
    if (!f->plain) {
      FreeSlot(slot);
      return 0;
    }
  } else {
    f->inArchive = 1;
    if (ArchiveFileOpen(CachedArchive(f->cacheSlot), inner, &f->file) != 0) {
      ReleaseArchive(f->cacheSlot);
      FreeSlot(slot);
      return 0;
    }
  }
  return static_cast<FileHandle>(slot) | kHandleTag;
}

int ArchiveAwareClose(FileHandle file) {
  if (!FileOf(file)) return -1;
  return CloseOpenFile(static_cast<int>(file & ~kHandleTag));
}

int64_t ArchiveAwareTell(FileHandle file) {
  OpenFile* f = FileOf(file);
  if (!f) return -1;
  return f->inArchive ? f->file.position : PlainFileTell(f->plain);
}

int ArchiveAwareSeek(FileHandle file, int64_t offset, int origin) {
  OpenFile* f = FileOf(file);
  if (!f) return -1;
  return f->inArchive ? ArchiveFileSeek(&f->file, offset, origin) : PlainFileSeek(f->plain, offset, origin);
}

size_t ArchiveAwareRead(void* buffer, size_t elementSize, size_t count, FileHandle file) {
  OpenFile* f = FileOf(file);
  if (!f) return 0;
  if (!f->inArchive) return PlainFileRead(buffer, elementSize, count, f->plain);
  size_t bytes;
  if (__builtin_mul_overflow(elementSize, count, &bytes)) bytes = SIZE_MAX;
  return ArchiveFileRead(&f->file, buffer, bytes);
}

int ArchiveAwareEof(FileHandle file) {
  OpenFile* f = FileOf(file);
  if (!f) return 0;
  if (!f->inArchive) return PlainFileEof(f->plain);
  return f->file.eofFlag ? -1 : 0;
}

int ArchiveAwareIdle(FileHandle file) {
  OpenFile* f = FileOf(file);
  return (f && !f->inArchive) ? PlainFileIdle(f->plain) : 1;
}

int ArchiveChangeDir(const char* path) { return PlainChangeDir(path); }

int ArchiveGetDir(char* buffer) { return PlainGetDir(buffer); }

FindHandle ArchiveAwareFindFirst(const char* pattern, FileInfo* info) {
  if (!pattern) return -1;
  ArchiveFind* find = static_cast<ArchiveFind*>(TrackedAllocZero(sizeof(ArchiveFind), __FILE__, __LINE__));
  if (!find) return -1;
  char inner[kArchivePathSize];
  find->cacheSlot = ResolveArchivePath(pattern, inner);
  if (find->cacheSlot < 0) {
    find->plain = PlainFindFirst(pattern, info);
    if (find->plain == -1) {
      TrackedFree(find);
      return -1;
    }
    return reinterpret_cast<FindHandle>(find);
  }

  find->inArchive = 1;
  find->reader = CachedArchive(find->cacheSlot);
  char directory[kArchivePathSize];
  SplitPattern(inner, directory, sizeof directory, find->pattern, sizeof find->pattern);
  const uint32_t saved = find->reader->currentDirectory;
  const bool entered = ChangeArchiveDir(find->reader, directory) == 0;
  find->directory = find->reader->currentDirectory;
  find->reader->currentDirectory = saved;
  if (!entered || !NextArchiveItem(find, info)) {
    ReleaseArchive(find->cacheSlot);
    TrackedFree(find);
    return -1;
  }
  return reinterpret_cast<FindHandle>(find);
}

int ArchiveAwareFindNext(FindHandle handle, FileInfo* info) {
  ArchiveFind* find = FindOf(handle);
  if (!find) return -1;
  if (!find->inArchive) return PlainFindNext(find->plain, info);
  return NextArchiveItem(find, info) ? 0 : -1;
}

int ArchiveFindClose(FindHandle handle) {
  ArchiveFind* find = FindOf(handle);
  if (!find) return -1;
  int result = 0;
  if (find->inArchive) {
    ReleaseArchive(find->cacheSlot);
  } else {
    result = PlainFindClose(find->plain);
  }
  TrackedFree(find);
  return result;
}

int ArchiveAwareOpenFileCount() { return gOpenFileCount; }

void ResetArchiveState() {
  for (int slot = 0; slot < kOpenFileSlots; ++slot) {
    if (gOpenFiles[slot]) CloseOpenFile(slot);
  }
  ResetArchiveCache();
}
