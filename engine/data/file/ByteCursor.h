#pragma once
// A read cursor over the bytes of one whole file, through which the data and
// save files are read field by field (numbers little-endian).
//
// Every read is checked: a field that would pass the end, or a count or a
// length that is negative, above its limit or larger than the bytes left,
// copies nothing, leaves the position where it is and sets the overrun flag.
// The flag stays set until the cursor is given new bytes: once one field is
// missing nothing after it can be trusted, so every later read fails too and
// a reader may test the flag once at the end of a record.

#include <cstdint>
#include <string>
#include <vector>

class ByteCursor {
 public:
  static constexpr int32_t kNoLimit = INT32_MAX;

  ByteCursor() = default;
  explicit ByteCursor(std::vector<uint8_t> bytes);

  // New contents: position 0, overrun flag clear. At most INT32_MAX bytes
  // (positions are 32-bit); more makes the cursor empty and overrun.
  void Assign(std::vector<uint8_t> bytes);
  void Release() { Assign({}); }

  const uint8_t* Data() const { return buffer_.data(); }
  uint8_t* Data() { return buffer_.data(); }
  int32_t Size() const { return static_cast<int32_t>(buffer_.size()); }
  int32_t Position() const { return position_; }
  int64_t Remaining() const { return static_cast<int64_t>(buffer_.size()) - position_; }
  bool Overrun() const { return overrun_; }
  void ClearOverrun() { overrun_ = false; }

  // Moves to an offset from 0 to the size.
  bool Seek(int64_t offset);

  bool ReadBytes(void* out, int64_t n);
  bool ReadU8(uint8_t& value);
  bool ReadI8(int8_t& value);
  bool ReadU16(uint16_t& value);
  bool ReadI16(int16_t& value);
  bool ReadI32(int32_t& value);
  bool ReadI32Array(int32_t* out, int64_t count);

  // A string field: int32 length counting the closing NUL, then that many
  // bytes; the text is the bytes up to the first NUL. maxLength bounds the
  // length field (the work buffer of the reader that owns the field).
  bool ReadString(std::string& text, int32_t maxLength = kNoLimit);

  // A text that must carry its terminator: a length field of lengthBytes (2
  // or 4) counting the closing NUL, then that many bytes, among which a NUL
  // must be; the text is the bytes up to the first NUL. A negative length, a
  // length above maxLength and bytes without a NUL fail the field.
  bool ReadTerminatedString(std::string& text, int lengthBytes, int32_t maxLength = kNoLimit);

  // A list count: 0 <= count <= maxCount, and count entries of at least
  // minEntryBytes each must fit in the bytes left. Test a count this way
  // before resizing anything to it.
  bool ReadCount(int32_t& count, int64_t minEntryBytes, int32_t maxCount = kNoLimit);
  bool CountFits(int64_t count, int64_t minEntryBytes);

  // List fields: an int32 count, tested as ReadCount does against maxCount,
  // then count entries (strings with length fields up to maxLength). These
  // make the list exactly count entries long. Lists of strings and other
  // entries grow as entries are read, so a damaged field has built no more
  // than it held.
  bool ReadByteList(std::vector<uint8_t>& list, int32_t maxCount = kNoLimit);
  bool ReadI32List(std::vector<int32_t>& list, int32_t maxCount = kNoLimit);
  bool ReadStringList(std::vector<std::string>& list, int32_t maxLength = kNoLimit, int32_t maxCount = kNoLimit);

  // These read the entries into the first count entries of the list, which
  // grows when it is shorter and otherwise keeps its later entries. They
  // return the count (the list's length does not tell it), or -1 when the
  // field is damaged.
  int32_t ReadByteListPrefix(std::vector<uint8_t>& list, int32_t maxCount = kNoLimit);
  int32_t ReadU16ListPrefix(std::vector<uint16_t>& list, int32_t maxCount = kNoLimit);
  int32_t ReadI32ListPrefix(std::vector<int32_t>& list, int32_t maxCount = kNoLimit);
  int32_t ReadStringListPrefix(std::vector<std::string>& list, int32_t maxLength = kNoLimit,
                               int32_t maxCount = kNoLimit);
  // The same for entries of any kind: readEntry(cursor, entry) reads one
  // entry of at least minEntryBytes.
  template <typename T, typename ReadEntry>
  int32_t ReadListPrefix(std::vector<T>& list, int64_t minEntryBytes, int32_t maxCount, ReadEntry readEntry);

  // Sets the overrun flag; returns false so that a reader fails in one step.
  bool Fail();

 protected:
  std::vector<uint8_t> buffer_;
  int32_t position_ = 0;
  bool overrun_ = false;

 private:
  // Reads a count and makes the list at least (prefix) or exactly that long.
  template <typename T>
  int32_t SizeList(std::vector<T>& list, int64_t minEntryBytes, int32_t maxCount, bool prefix);
  template <typename T>
  int32_t ReadNumberList(std::vector<T>& list, int32_t maxCount, bool prefix);
};

template <typename T>
int32_t ByteCursor::SizeList(std::vector<T>& list, int64_t minEntryBytes, int32_t maxCount, bool prefix) {
  int32_t count = 0;
  if (!ReadCount(count, minEntryBytes, maxCount)) return -1;
  if (!prefix || list.size() < static_cast<size_t>(count)) list.resize(static_cast<size_t>(count));
  return count;
}

template <typename T, typename ReadEntry>
int32_t ByteCursor::ReadListPrefix(std::vector<T>& list, int64_t minEntryBytes, int32_t maxCount,
                                   ReadEntry readEntry) {
  int32_t count = 0;
  if (!ReadCount(count, minEntryBytes, maxCount)) return -1;
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    if (i == list.size()) list.emplace_back();
    if (!readEntry(*this, list[i])) return -1;
  }
  return count;
}
