#include <cstring>

#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/files/StreamOps.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

MemStream* StreamOf(StreamHandle stream) { return reinterpret_cast<MemStream*>(stream); }

}  // namespace

MemStream* MemStreamOpen(const void* base, uint32_t size) {
  MemStream* s = static_cast<MemStream*>(TrackedAllocZero(sizeof(MemStream), __FILE__, __LINE__));
  if (!s) return nullptr;
  s->base = static_cast<const unsigned char*>(base);
  s->size = base ? size : 0;
  return s;
}

int64_t MemStreamTell(StreamHandle stream) { return stream ? StreamOf(stream)->position : -1; }

int MemStreamSeek(StreamHandle stream, int64_t offset, int origin) {
  MemStream* s = StreamOf(stream);
  if (!s) return -1;
  int64_t target;
  if (!ClampedSeekTarget(s->position, s->size, offset, origin, &target)) return -1;
  s->position = static_cast<uint32_t>(target);
  s->eofFlag = 0;
  return 0;
}

size_t MemStreamRead(void* buffer, size_t elementSize, size_t count, StreamHandle stream) {
  MemStream* s = StreamOf(stream);
  if (!s || elementSize == 0 || count == 0) return 0;
  const size_t left = s->size - s->position;
  if (left == 0) {
    s->eofFlag = 1;
    return 0;
  }
  unsigned char* out = static_cast<unsigned char*>(buffer);
  const unsigned char* from = s->base + s->position;
  size_t copied;
  size_t result;
  if (count <= left / elementSize) {
    copied = count * elementSize;
    result = count;
  } else if (left >= elementSize) {
    result = left / elementSize;
    copied = result * elementSize;
  } else {
    // A partial last element: the bytes there are, the rest zero.
    copied = left;
    result = 1;
    std::memset(out + left, 0, elementSize - left);
  }
  std::memcpy(out, from, copied);
  s->position += static_cast<uint32_t>(copied);
  s->eofFlag = 0;
  return result;
}

int MemStreamEof(StreamHandle stream) { return stream ? StreamOf(stream)->eofFlag : 0; }

int MemStreamIdle(StreamHandle) { return 1; }

int MemStreamClose(StreamHandle stream) {
  if (!stream) return -1;
  TrackedFree(StreamOf(stream));
  return 0;
}
