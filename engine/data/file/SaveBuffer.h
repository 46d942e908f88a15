#pragma once
// The cursor through which save files are written and read. Reading is the
// checked reading of ByteCursor (a read of n bytes succeeds while
// 0 <= n <= size - position). Writing copies at the position and advances,
// growing the buffer; a save body never passes kBodyLimit bytes, and a write
// that would pass it copies nothing and sets the overrun flag, so that a
// save is written whole or not at all.

#include <string>

#include "engine/data/file/ByteCursor.h"

class SaveBuffer : public ByteCursor {
 public:
  static constexpr int32_t kBodyLimit = 31200000;

  using ByteCursor::ByteCursor;

  bool WriteBytes(const void* bytes, int64_t n);
  bool WriteU8(uint8_t value) { return WriteBytes(&value, 1); }
  bool WriteI8(int8_t value) { return WriteBytes(&value, 1); }
  bool WriteU16(uint16_t value) { return WriteBytes(&value, 2); }
  bool WriteI16(int16_t value) { return WriteBytes(&value, 2); }
  bool WriteI32(int32_t value) { return WriteBytes(&value, 4); }
  // A string field: the length with the closing NUL, the bytes, the NUL.
  bool WriteString(const std::string& text);
};
