// The engine's file entry points, over the installed file access table.

#include <cstring>

#include "runtime/Movan.h"
#include "runtime/ShiftJis.h"
#include "runtime/host/system/Clock.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/files/StartDirectory.h"

int ReturnToStartFolder() { return RestoreStartDirectory(); }

FileHandle FileOpenRead(const char* name, int flag) { return FileOpenVia(name, 0, 1, flag != 0 ? 1 : 0); }

int64_t FileSizeOf(const char* name) {
  const FileHandle file = FileOpenVia(name, 0, 1, 0);
  if (!file) return -1;
  FileSeekVia(file, 0, kSeekEnd);
  const int64_t size = FileTellVia(file);
  FileCloseRead(file);
  return size;
}

int FileReadBytes(void* buffer, size_t n, FileHandle handle) {
  return static_cast<int>(FileReadVia(buffer, n, 1, handle));
}

int FileReadLine(char* buffer, size_t size, FileHandle handle) {
  if (!buffer || size < 2 || FileEofVia(handle)) return -1;
  const int64_t start = FileTellVia(handle);
  const size_t asked = size - 1;
  const size_t got = FileReadVia(buffer, 1, asked, handle);
  while (!FileIdleVia(handle)) HostSleepMs(0);
  if (got == 0) return -1;
  const bool blockFull = got == asked;

  // end: the line's length; next: where the file goes on (-1: after the block).
  size_t end = got;
  int64_t next = -1;
  for (size_t i = 0; i < got; ++i) {
    const uint8_t b = static_cast<uint8_t>(buffer[i]);
    if (b == 0) {
      end = i;
      break;
    }
    if (IsShiftJisLeadByte(b)) {
      if (ShiftJisCharLengthIn(buffer + i, got - i) == 2) {
        ++i;
        continue;
      }
      // A lead byte whose second half lies beyond the block: the line ends
      // before it, unless that leaves nothing or the file ends here (the
      // byte then stands alone, else the same byte would come back forever).
      if (blockFull && i > 0) {
        end = i;
        next = start + static_cast<int64_t>(i);
      }
      break;
    }
    if (b == '\r') {
      if (i + 1 < got && buffer[i + 1] == '\n') {
        end = i;
        next = start + static_cast<int64_t>(i) + 2;
        break;
      }
      // A CR that ends a full block: the byte after the block decides
      // whether it ends the line.
      if (i + 1 == got && blockFull) {
        char after = 0;
        const size_t peeked = FileReadVia(&after, 1, 1, handle);
        while (!FileIdleVia(handle)) HostSleepMs(0);
        next = start + static_cast<int64_t>(got);
        if (peeked == 1 && after == '\n') {
          end = i;
          next += 1;
        }
        break;
      }
    }
  }
  if (next >= 0) FileSeekVia(handle, next, kSeekStart);
  buffer[end] = '\0';
  return static_cast<int>(end);
}
