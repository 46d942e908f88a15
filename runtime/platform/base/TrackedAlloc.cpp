#include "runtime/platform/base/TrackedAlloc.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "runtime/platform/base/Format.h"
#include "runtime/platform/base/Log.h"

namespace {

constexpr size_t kHeaderSize = sizeof(TrackedBlockHeader);
constexpr size_t kGuardedBytes = offsetof(TrackedBlockHeader, guard);
static_assert(kGuardedBytes == sizeof(TrackedBlockHeader::guard));

// Allocations of this size are traced in the log.
constexpr uint32_t kTraceSize = 0;

std::recursive_mutex gMutex;
TrackedBlockHeader gEndRecord;
TrackedBlockHeader* gHead = &gEndRecord;
int64_t gTotalSize = 0;
int gBlockCount = 0;
uint16_t gNextAllocId = 0;
int gFailureCountdown = -1;

TrackedBlockHeader* HeaderOf(void* block) {
  return reinterpret_cast<TrackedBlockHeader*>(static_cast<char*>(block) - kHeaderSize);
}

void* BlockOf(TrackedBlockHeader* header) { return reinterpret_cast<char*>(header) + kHeaderSize; }

void RefreshGuard(TrackedBlockHeader* h) {
  if (h) std::memcpy(h->guard, h, kGuardedBytes);
}

bool InjectedFailure() {
  if (gFailureCountdown < 0) return false;
  if (gFailureCountdown == 0) {
    gFailureCountdown = -1;
    return true;
  }
  --gFailureCountdown;
  return false;
}

void SetOrigin(TrackedBlockHeader* h, const char* sourceFile, int line) {
  std::memset(h->sourceFile, 0, sizeof h->sourceFile);
  if (sourceFile) {
    const size_t length = std::strlen(sourceFile);
    const size_t keep = length > 15 ? 15 : length;
    std::memcpy(h->sourceFile, sourceFile + (length - keep), keep);
  }
  h->sourceLine = static_cast<uint16_t>(line);
  h->allocId = gNextAllocId++;
}

// Appends formatted text at line[n], never past the end of the line.
void AppendFormat(char* line, size_t size, int& n, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void AppendFormat(char* line, size_t size, int& n, const char* format, ...) {
  va_list args;
  va_start(args, format);
  n += FormatStringV(line + n, size - static_cast<size_t>(n), format, args);
  va_end(args);
}

// shownSize limits the bytes shown; a damaged header's own size is not trusted.
void LogBlockLine(TrackedBlockHeader* h, uint32_t shownSize) {
  char line[256];
  int n = 0;
  const unsigned char* data = static_cast<const unsigned char*>(BlockOf(h));
  const uint32_t shown = shownSize < 16 ? shownSize : 16;
  AppendFormat(line, sizeof line, n,
               "\tsize:%d(%.3fkb)  file:%.15s  line:%d  ID:%d  addr:%08" PRIxPTR "  data:<",
               static_cast<int>(h->size), static_cast<double>(h->size) * 0.0009765625, h->sourceFile,
               h->sourceLine, h->allocId, reinterpret_cast<uintptr_t>(data));
  for (uint32_t i = 0; i < shown; ++i) {
    line[n++] = (data[i] < 0x20 || data[i] >= 0x80) ? '.' : static_cast<char>(data[i]);
  }
  AppendFormat(line, sizeof line, n, "> [");
  for (uint32_t i = 0; i < shown; ++i) AppendFormat(line, sizeof line, n, "%02x ", data[i]);
  if (shown > 0) --n;  // the last blank gives way to the closing bracket
  line[n] = '\0';
  AppendFormat(line, sizeof line, n, "]\n");
  LogWrite(line);
}

void LogBlockLine(TrackedBlockHeader* h) { LogBlockLine(h, h->size); }

void Trace(const char* what, TrackedBlockHeader* h) {
  if (h->size != kTraceSize) return;
  LogWrite(what);
  LogBlockLine(h);
}

}  // namespace

void* TrackedAlloc(size_t size, const char* sourceFile, int line) {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  TrackedBlockHeader* h = nullptr;
  if (size <= 0xFFFFFFFFu && !InjectedFailure()) {
    h = static_cast<TrackedBlockHeader*>(std::malloc(size + kHeaderSize));
  }
  if (!h) {
    DumpAllocations();
    CheckAllocations();
    return nullptr;
  }
  h->size = static_cast<uint32_t>(size);
  SetOrigin(h, sourceFile, line);
  h->next = gHead;
  h->prev = nullptr;
  gHead->prev = h;
  RefreshGuard(gHead);
  gHead = h;
  RefreshGuard(h);
  gTotalSize += static_cast<int64_t>(size);
  gBlockCount += 1;
  Trace("mem alloc  ", h);
  return BlockOf(h);
}

void* TrackedAllocZero(size_t size, const char* sourceFile, int line) {
  void* block = TrackedAlloc(size, sourceFile, line);
  if (block) std::memset(block, 0, size);
  return block;
}

int TrackedFree(void* block) {
  if (!block) return 0;
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  TrackedBlockHeader* h = HeaderOf(block);
  gTotalSize -= h->size;
  gBlockCount -= 1;
  h->next->prev = h->prev;
  if (h->prev) {
    h->prev->next = h->next;
  } else {
    gHead = h->next;
  }
  RefreshGuard(h->next);
  RefreshGuard(h->prev);
  Trace("mem free  ", h);
  std::free(h);
  return 1;
}

void* TrackedRealloc(void* block, size_t size, const char* sourceFile, int line) {
  if (!block) return TrackedAlloc(size, sourceFile, line);
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  TrackedBlockHeader* old = HeaderOf(block);
  const uint32_t oldSize = old->size;
  const bool wasHead = gHead == old;
  TrackedBlockHeader* h = nullptr;
  if (size <= 0xFFFFFFFFu && !InjectedFailure()) {
    h = static_cast<TrackedBlockHeader*>(std::realloc(old, size + kHeaderSize));
  }
  if (!h) {
    DumpAllocations();
    return nullptr;
  }
  if (size > oldSize) std::memset(static_cast<char*>(BlockOf(h)) + oldSize, 0, size - oldSize);
  h->size = static_cast<uint32_t>(size);
  SetOrigin(h, sourceFile, line);
  h->next->prev = h;
  if (h->prev) h->prev->next = h;
  if (wasHead) gHead = h;
  gTotalSize += static_cast<int64_t>(size) - static_cast<int64_t>(oldSize);
  RefreshGuard(h);
  RefreshGuard(h->next);
  RefreshGuard(h->prev);
  Trace("mem realloc  ", h);
  return BlockOf(h);
}

int DumpAllocations() {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  LogWrite("\n");
  LogWrite("Alloc memory dump");
  for (TrackedBlockHeader* h = gHead; h != &gEndRecord; h = h->next) LogBlockLine(h);
  LogFormat("\tTotal size:%" PRId64 "(%.3fkb)  Alloc num:%d", gTotalSize,
            static_cast<double>(gTotalSize) / 1024.0, gBlockCount);
  LogWrite("\n");
  return -1;
}

int CheckAllocations() {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  for (TrackedBlockHeader* h = gHead; h != &gEndRecord; h = h->next) {
    if (std::memcmp(h, h->guard, kGuardedBytes) != 0) {
      TrackedBlockHeader intact;
      std::memcpy(&intact, h->guard, kGuardedBytes);
      LogWrite("以下のメモリ確保情報が破損しました");
      LogBlockLine(h, h->size < intact.size ? h->size : intact.size);
      return -1;
    }
  }
  return 0;
}

int64_t TrackedTotalSize() {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  return gTotalSize;
}

int TrackedBlockCount() {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  return gBlockCount;
}

void SetTrackedAllocFailureCountdown(int n) {
  std::lock_guard<std::recursive_mutex> lock(gMutex);
  gFailureCountdown = n;
}
