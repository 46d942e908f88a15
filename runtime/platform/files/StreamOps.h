#pragma once
// The six stream operations that image readers and sound decoders read
// through, handed over together with the stream. One set serves files opened
// through the file access table (the stream is the file handle), one serves
// memory streams (the stream is a MemStream).

#include <cstddef>
#include <cstdint>

using StreamHandle = uintptr_t;

struct StreamOps {
  int64_t (*tell)(StreamHandle stream);
  // origin 0 from the start, 1 from the position, 2 from the end. 0, or -1.
  int (*seek)(StreamHandle stream, int64_t offset, int origin);
  // Whole elements read; 0 when nothing could be read.
  size_t (*read)(void* buffer, size_t elementSize, size_t count, StreamHandle stream);
  // Non-zero at the end.
  int (*eof)(StreamHandle stream);
  // 1 when no read is pending.
  int (*idle)(StreamHandle stream);
  int (*close)(StreamHandle stream);
};

const StreamOps* GetFileStreamOps();
const StreamOps* GetMemoryStreamOps();

// The stream's size in bytes, its position left at 0; -1 when it cannot be
// moved to its end and back.
inline int64_t StreamByteSize(const StreamOps& ops, StreamHandle stream) {
  if (ops.seek(stream, 0, 2) != 0) return -1;
  const int64_t size = ops.tell(stream);
  if (ops.seek(stream, 0, 0) != 0) return -1;
  return size;
}

// A stream over memory that it does not own.
struct MemStream {
  const unsigned char* base;
  uint32_t size;
  uint32_t position;
  int eofFlag;
};

// Null when the record cannot be allocated. Closing frees the record, never
// the memory it reads.
MemStream* MemStreamOpen(const void* base, uint32_t size);
int64_t MemStreamTell(StreamHandle stream);
int MemStreamSeek(StreamHandle stream, int64_t offset, int origin);
// At the end: 0 and the end state. Fewer bytes left than asked: the whole
// elements left; when not even one is left, the remaining bytes, the rest of
// the element zero-filled, count 1.
size_t MemStreamRead(void* buffer, size_t elementSize, size_t count, StreamHandle stream);
int MemStreamEof(StreamHandle stream);
int MemStreamIdle(StreamHandle stream);
int MemStreamClose(StreamHandle stream);
