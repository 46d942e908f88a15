#include "runtime/platform/files/StreamOps.h"

#include <cstring>

#include "runtime/platform/files/FileAccessTable.h"

namespace {

int64_t FileStreamTell(StreamHandle stream) { return FileTellVia(stream); }
int FileStreamSeek(StreamHandle stream, int64_t offset, int origin) { return FileSeekVia(stream, offset, origin); }
// Whole elements, whatever the file lies in: inside an archive the table's
// read counts bytes, so the count comes from the position moved. A partial
// last element counts as one, zero-filled, as in a memory stream.
size_t FileStreamRead(void* buffer, size_t elementSize, size_t count, StreamHandle stream) {
  if (elementSize == 0 || count == 0) return 0;
  const int64_t before = FileTellVia(stream);
  const size_t result = FileReadVia(buffer, elementSize, count, stream);
  const int64_t moved = FileTellVia(stream) - before;
  if (result == 0 || moved <= 0) return 0;
  const size_t bytes = static_cast<size_t>(moved);
  const size_t partial = bytes % elementSize;
  if (partial == 0) return bytes / elementSize;
  std::memset(static_cast<unsigned char*>(buffer) + bytes, 0, elementSize - partial);
  return bytes / elementSize + 1;
}
int FileStreamEof(StreamHandle stream) { return FileEofVia(stream); }
int FileStreamIdle(StreamHandle stream) { return FileIdleVia(stream); }
int FileStreamClose(StreamHandle stream) { return FileCloseRead(stream); }

constexpr StreamOps kFileStreamOps = {FileStreamTell, FileStreamSeek, FileStreamRead,
                                      FileStreamEof,  FileStreamIdle, FileStreamClose};
constexpr StreamOps kMemoryStreamOps = {MemStreamTell, MemStreamSeek, MemStreamRead,
                                        MemStreamEof,  MemStreamIdle, MemStreamClose};

}  // namespace

const StreamOps* GetFileStreamOps() { return &kFileStreamOps; }
const StreamOps* GetMemoryStreamOps() { return &kMemoryStreamOps; }
