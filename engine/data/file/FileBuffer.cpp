#include "engine/data/file/FileBuffer.h"

#include "runtime/Movan.h"

bool FileBuffer::Load(const char* path) {
  Release();
  const FileHandle file = FileOpenRead(path, 0);
  if (file == 0) return false;
  const int64_t size = FileSizeOf(path);
  bool ok = size >= 0 && size <= kMaxWholeFileSize;
  std::vector<uint8_t> bytes;
  if (ok && size > 0) {
    bytes.resize(static_cast<size_t>(size));
    // A plain file answers 1 for the whole block, an archive the bytes read.
    ok = FileReadBytes(bytes.data(), bytes.size(), file) > 0;
  }
  FileCloseRead(file);
  if (!ok) return false;
  Assign(std::move(bytes));
  return true;
}
