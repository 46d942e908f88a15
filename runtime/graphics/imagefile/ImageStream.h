#pragma once
// The stream an image reader reads: the layer's stream operations and the
// stream they work on, with the few exact-size reads every reader needs.

#include <cstddef>
#include <cstdint>

#include "runtime/platform/files/StreamOps.h"

struct ImageStream {
  const StreamOps* ops;
  StreamHandle handle;
};

// True only when all n bytes arrived (the stream layer zero-fills a partial
// element, so bytes are read one by one in the count).
inline bool ReadExactly(const ImageStream& stream, void* buffer, size_t n) {
  return n == 0 || stream.ops->read(buffer, 1, n, stream.handle) == n;
}
// Bytes read, up to n.
inline size_t ReadUpTo(const ImageStream& stream, void* buffer, size_t n) {
  return n == 0 ? 0 : stream.ops->read(buffer, 1, n, stream.handle);
}
inline bool SeekStream(const ImageStream& stream, int64_t offset, int origin) {
  return stream.ops->seek(stream.handle, offset, origin) == 0;
}
inline int64_t TellStream(const ImageStream& stream) { return stream.ops->tell(stream.handle); }

// Bytes from the current position to the end, the position kept; -1 when
// the stream cannot be moved.
inline int64_t BytesToEnd(const ImageStream& stream) {
  const int64_t here = TellStream(stream);
  if (here < 0 || !SeekStream(stream, 0, 2)) return -1;
  const int64_t end = TellStream(stream);
  if (!SeekStream(stream, here, 0) || end < here) return -1;
  return end - here;
}
