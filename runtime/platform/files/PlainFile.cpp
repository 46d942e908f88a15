#include "runtime/platform/files/PlainFile.h"

#include <cstring>

#include "runtime/host/files/FileTime.h"
#include "runtime/host/files/HostDirectory.h"
#include "runtime/host/system/HostEvent.h"
#include "runtime/host/files/HostFile.h"
#include "runtime/host/system/HostThread.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr int64_t kCacheSize = 0x20000;
constexpr uint32_t kReadAheadPauseMs = 100;
// The host's own limit on a whole path (PATH_MAX with its NUL): an archive
// under a deep current folder still opens.
constexpr size_t kNameSize = 4096;

enum Command { kOpen = 0, kClose = 1, kRead = 2, kSeek = 3, kExit = 4 };

struct FileAccessRecord {
  HostFile file;  // direct mode
  int threadMode;
  int cacheFlag;
  int noWait;
  int eofFlag;
  int64_t position;
  int64_t size;

  // The file-access thread. The owner fills a command only while the done
  // event is set; the thread writes its results before setting it.
  HostThread* thread;
  HostEvent* commandEvent;
  HostEvent* doneEvent;
  int command;
  int threadEnded;
  int openFailed;
  char fileName[kNameSize];
  HostFile threadFile;
  unsigned char* readBuffer;
  int64_t readPosition;
  int64_t readSize;  // asked for; the bytes read once done
  int readPending;
  int64_t pendingReadStart;
  int64_t seekPosition;
  unsigned char* cache;
  int64_t cachePosition;
  int64_t cacheFill;
};

FileAccessRecord* RecordOf(FileHandle file) { return reinterpret_cast<FileAccessRecord*>(file); }

void ReadAhead(FileAccessRecord* r) {
  if (r->threadFile == kNoHostFile || r->cacheFill >= kCacheSize) return;
  const int64_t got = HostReadFileAt(r->threadFile, r->cache + r->cacheFill,
                                     static_cast<size_t>(kCacheSize - r->cacheFill), r->cachePosition + r->cacheFill);
  if (got > 0) r->cacheFill += got;
}

void ThreadRead(FileAccessRecord* r) {
  int64_t done = 0;
  if (r->cache && r->cachePosition == r->readPosition && r->cacheFill > 0) {
    const int64_t n = r->cacheFill < r->readSize ? r->cacheFill : r->readSize;
    std::memcpy(r->readBuffer, r->cache, static_cast<size_t>(n));
    std::memmove(r->cache, r->cache + n, static_cast<size_t>(r->cacheFill - n));
    r->cacheFill -= n;
    r->cachePosition += n;
    done = n;
  }
  if (done < r->readSize) {
    const int64_t got = HostReadFileAt(r->threadFile, r->readBuffer + done, static_cast<size_t>(r->readSize - done),
                                       r->readPosition + done);
    if (got > 0) done += got;
    if (r->cache) {
      r->cachePosition = r->readPosition + done;
      r->cacheFill = 0;
    }
  }
  r->readSize = done;
}

void FileAccessThreadProc(void* argument) {
  FileAccessRecord* r = static_cast<FileAccessRecord*>(argument);
  for (;;) {
    if (!r->cache) {
      HostWaitEvent(r->commandEvent);
    } else {
      while (!HostWaitEventMs(r->commandEvent, kReadAheadPauseMs)) ReadAhead(r);
    }
    HostResetEvent(r->commandEvent);
    switch (r->command) {
      case kOpen:
        r->threadFile = HostOpenFileRead(r->fileName);
        if (r->threadFile == kNoHostFile) {
          r->openFailed = 1;
          r->threadEnded = 1;
          HostSetEvent(r->doneEvent);
          return;
        }
        break;
      case kClose:
        HostCloseFile(r->threadFile);
        r->threadFile = kNoHostFile;
        break;
      case kRead:
        ThreadRead(r);
        break;
      case kSeek:
        if (r->cache) {
          r->cachePosition = r->seekPosition;
          r->cacheFill = 0;
        }
        break;
      case kExit:
      default:
        HostCloseFile(r->threadFile);
        r->threadFile = kNoHostFile;
        r->threadEnded = 1;
        HostSetEvent(r->doneEvent);
        return;
    }
    HostSetEvent(r->doneEvent);
  }
}

// The owner waits for the previous command before it fills the fields of the
// next one.
void WaitForThread(FileAccessRecord* r) { HostWaitEvent(r->doneEvent); }

// Hands a command over; open, exit and a read without the no-wait flag wait
// for it to be done, a seek returns at once.
void SendCommand(FileAccessRecord* r, int command) {
  WaitForThread(r);
  r->command = command;
  HostResetEvent(r->doneEvent);
  HostSetEvent(r->commandEvent);
  if (command == kOpen || command == kExit || (command == kRead && !r->noWait)) HostWaitEvent(r->doneEvent);
}

void FreeRecord(FileAccessRecord* r) {
  if (r->commandEvent) HostDestroyEvent(r->commandEvent);
  if (r->doneEvent) HostDestroyEvent(r->doneEvent);
  if (r->cache) TrackedFree(r->cache);
  TrackedFree(r);
}

FileHandle OpenWithThread(FileAccessRecord* r, const char* name) {
  const HostFile probe = HostOpenFileRead(name);
  if (probe == kNoHostFile) return 0;
  r->size = HostFileSize(probe);
  HostCloseFile(probe);
  if (r->size < 0 || std::strlen(name) >= kNameSize) return 0;
  StrCopy(r->fileName, kNameSize, name);

  if (r->cacheFlag) {
    r->cache = static_cast<unsigned char*>(TrackedAlloc(kCacheSize, __FILE__, __LINE__));
    if (!r->cache) return LogWrite("ファイル読み込みキャッシュ用メモリの確保に失敗しました\n"), 0;
  }
  r->commandEvent = HostCreateEvent(false);
  r->doneEvent = HostCreateEvent(true);
  if (r->commandEvent && r->doneEvent) r->thread = HostStartThread(FileAccessThreadProc, r);
  if (!r->thread) return LogWrite("ファイルアクセス専用スレッドの作成に失敗しました\n"), 0;

  SendCommand(r, kOpen);
  if (r->openFailed) {
    HostJoinThread(r->thread);
    r->thread = nullptr;
    return LogWrite("ファイルのオープンに失敗しました\n"), 0;
  }
  return reinterpret_cast<FileHandle>(r);
}

}  // namespace

FileHandle PlainFileOpen(const char* name, int cacheFlag, int unused, int threadFlag) {
  if (!name) return 0;
  FileAccessRecord* r = static_cast<FileAccessRecord*>(TrackedAllocZero(sizeof(FileAccessRecord), __FILE__, __LINE__));
  if (!r) return 0;
  r->file = kNoHostFile;
  r->threadFile = kNoHostFile;
  r->cacheFlag = cacheFlag;
  r->noWait = threadFlag;
  r->threadMode = (cacheFlag || threadFlag) ? 1 : 0;

  if (r->threadMode) {
    const FileHandle handle = OpenWithThread(r, name);
    if (!handle) FreeRecord(r);
    return handle;
  }
  r->file = HostOpenFileRead(name);
  if (r->file != kNoHostFile) r->size = HostFileSize(r->file);
  if (r->file == kNoHostFile || r->size < 0) {
    HostCloseFile(r->file);
    FreeRecord(r);
    return 0;
  }
  return reinterpret_cast<FileHandle>(r);
}

int PlainFileClose(FileHandle file) {
  FileAccessRecord* r = RecordOf(file);
  if (!r) return -1;
  int result = 0;
  if (r->threadMode) {
    SendCommand(r, kExit);
    HostJoinThread(r->thread);
  } else if (!HostCloseFile(r->file)) {
    result = -1;
  }
  FreeRecord(r);
  return result;
}

int64_t PlainFileTell(FileHandle file) { return file ? RecordOf(file)->position : -1; }

int64_t PlainFileSize(FileHandle file) { return file ? RecordOf(file)->size : -1; }

int PlainFileSeek(FileHandle file, int64_t offset, int origin) {
  FileAccessRecord* r = RecordOf(file);
  if (!r) return -1;
  int64_t target;
  // A place before the start does not exist; beyond the end is allowed.
  if (!SeekTarget(r->position, r->size, offset, origin, &target) || target < 0) return -1;
  r->position = target;
  r->eofFlag = 0;
  if (r->threadMode) {
    WaitForThread(r);
    r->readPending = 0;
    r->seekPosition = target;
    SendCommand(r, kSeek);
  }
  return 0;
}

size_t PlainFileRead(void* buffer, size_t elementSize, size_t count, FileHandle file) {
  FileAccessRecord* r = RecordOf(file);
  if (!r || elementSize == 0) return 0;
  const int64_t left = r->size - r->position;
  if (left <= 0 || static_cast<uint64_t>(left) < elementSize) {
    r->eofFlag = 1;
    return 0;
  }
  const size_t wholeLeft = static_cast<size_t>(left) / elementSize;
  if (count > wholeLeft) count = wholeLeft;
  const size_t bytes = count * elementSize;
  if (bytes == 0) return 0;

  if (!r->threadMode) {
    const int64_t got = HostReadFileAt(r->file, buffer, bytes, r->position);
    if (got <= 0) return 0;
    r->position += got;
    return static_cast<size_t>(got) / elementSize;
  }
  WaitForThread(r);
  r->readBuffer = static_cast<unsigned char*>(buffer);
  r->readPosition = r->position;
  r->readSize = static_cast<int64_t>(bytes);
  r->pendingReadStart = r->position;
  r->readPending = 1;
  SendCommand(r, kRead);
  if (r->noWait) {
    // The count asked for; PlainFileCompleteRead gives the bytes read.
    r->position += static_cast<int64_t>(bytes);
    return count;
  }
  return static_cast<size_t>(PlainFileCompleteRead(file)) / elementSize;
}

int64_t PlainFileCompleteRead(FileHandle file) {
  FileAccessRecord* r = RecordOf(file);
  if (!r || !r->threadMode || !r->readPending) return 0;
  WaitForThread(r);
  r->readPending = 0;
  r->position = r->pendingReadStart + r->readSize;
  return r->readSize;
}

int PlainFileEof(FileHandle file) { return file && RecordOf(file)->eofFlag ? -1 : 0; }

int PlainFileIdle(FileHandle file) {
  FileAccessRecord* r = RecordOf(file);
  if (!r) return 1;
  return (!r->threadMode || HostIsEventSet(r->doneEvent)) ? 1 : 0;
}

int PlainChangeDir(const char* path) { return path && HostSetCurrentDirectory(path) ? 0 : -1; }

int PlainGetDir(char* buffer) { return HostGetCurrentDirectory(buffer, kFilePathSize) ? 0 : -1; }

void FileTimeToDateRecord(uint64_t fileTime, DateRecord* record) {
  HostLocalTime local;
  if (!HostFileTimeToLocalTime(fileTime, &local)) {
    *record = DateRecord();
    return;
  }
  *record = {local.year, local.month, local.day, local.hour, local.minute, local.second};
}

namespace {

void FillFileInfo(const HostFindData& found, FileInfo* info) {
  if (!info) return;
  std::memset(info, 0, sizeof *info);
  StrCopy(info->name, sizeof info->name, found.name);
  info->isDirectory = found.isDirectory;
  info->sizeLow = static_cast<uint32_t>(found.size);
  info->sizeHigh = static_cast<uint32_t>(found.size >> 32);
  FileTimeToDateRecord(found.creationTime, &info->creationTime);
  FileTimeToDateRecord(found.lastWriteTime, &info->lastWriteTime);
}

}  // namespace

FindHandle PlainFindFirst(const char* pattern, FileInfo* info) {
  if (!pattern) return -1;
  HostFindData found;
  HostFindState* find = HostFindFirstFile(pattern, &found);
  if (!find) return -1;
  FillFileInfo(found, info);
  return reinterpret_cast<FindHandle>(find);
}

int PlainFindNext(FindHandle find, FileInfo* info) {
  if (find == -1 || find == 0) return -1;
  HostFindData found;
  if (!HostFindNextFile(reinterpret_cast<HostFindState*>(find), &found)) return -1;
  FillFileInfo(found, info);
  return 0;
}

int PlainFindClose(FindHandle find) {
  if (find == -1 || find == 0) return -1;
  HostFindClose(reinterpret_cast<HostFindState*>(find));
  return 0;
}
