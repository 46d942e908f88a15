#include "engine/data/file/ByteCursor.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the file formats are read by copying little-endian fields");

ByteCursor::ByteCursor(std::vector<uint8_t> bytes) { Assign(std::move(bytes)); }

void ByteCursor::Assign(std::vector<uint8_t> bytes) {
  position_ = 0;
  overrun_ = false;
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) {
    buffer_.clear();
    overrun_ = true;
    return;
  }
  buffer_ = std::move(bytes);
}

bool ByteCursor::Fail() {
  overrun_ = true;
  return false;
}

bool ByteCursor::Seek(int64_t offset) {
  if (overrun_ || offset < 0 || offset > Size()) return Fail();
  position_ = static_cast<int32_t>(offset);
  return true;
}

bool ByteCursor::ReadBytes(void* out, int64_t n) {
  if (overrun_ || n < 0 || n > Remaining()) return Fail();
  if (n > 0) std::memcpy(out, buffer_.data() + position_, static_cast<size_t>(n));
  position_ += static_cast<int32_t>(n);
  return true;
}

bool ByteCursor::ReadU8(uint8_t& value) { return ReadBytes(&value, 1); }
bool ByteCursor::ReadI8(int8_t& value) { return ReadBytes(&value, 1); }
bool ByteCursor::ReadU16(uint16_t& value) { return ReadBytes(&value, 2); }
bool ByteCursor::ReadI16(int16_t& value) { return ReadBytes(&value, 2); }
bool ByteCursor::ReadI32(int32_t& value) { return ReadBytes(&value, 4); }

bool ByteCursor::ReadI32Array(int32_t* out, int64_t count) {
  if (count < 0 || count > Remaining() / 4) return Fail();
  return ReadBytes(out, count * 4);
}

bool ByteCursor::ReadString(std::string& text, int32_t maxLength) {
  const int32_t start = position_;
  int32_t length = 0;
  if (!ReadI32(length)) return false;
  if (length < 0 || length > maxLength || length > Remaining()) {
    position_ = start;
    return Fail();
  }
  const char* bytes = reinterpret_cast<const char*>(buffer_.data() + position_);
  const void* nul = std::memchr(bytes, 0, static_cast<size_t>(length));
  text.assign(bytes, nul ? static_cast<const char*>(nul) : bytes + length);
  position_ += length;
  return true;
}

bool ByteCursor::ReadTerminatedString(std::string& text, int lengthBytes, int32_t maxLength) {
  const int32_t start = position_;
  int32_t length = 0;
  if (lengthBytes == 2) {
    int16_t shortLength = 0;
    if (!ReadI16(shortLength)) return false;
    length = shortLength;
  } else if (!ReadI32(length)) {
    return false;
  }
  const char* bytes = reinterpret_cast<const char*>(buffer_.data() + position_);
  const void* nul = length > 0 && length <= maxLength && length <= Remaining()
                        ? std::memchr(bytes, 0, static_cast<size_t>(length))
                        : nullptr;
  if (!nul) {
    position_ = start;
    return Fail();
  }
  text.assign(bytes, static_cast<const char*>(nul));
  position_ += length;
  return true;
}

bool ByteCursor::CountFits(int64_t count, int64_t minEntryBytes) {
  // Every entry takes at least one byte, so no count passes the bytes left.
  if (overrun_ || count < 0 || count > Remaining() / std::max<int64_t>(minEntryBytes, 1)) return Fail();
  return true;
}

bool ByteCursor::ReadCount(int32_t& count, int64_t minEntryBytes, int32_t maxCount) {
  const int32_t start = position_;
  int32_t value = 0;
  if (!ReadI32(value)) return false;
  if (value > maxCount || !CountFits(value, minEntryBytes)) {
    position_ = start;
    return Fail();
  }
  count = value;
  return true;
}

template <typename T>
int32_t ByteCursor::ReadNumberList(std::vector<T>& list, int32_t maxCount, bool prefix) {
  const int32_t count = SizeList(list, sizeof(T), maxCount, prefix);
  if (count < 0 || !ReadBytes(list.data(), int64_t{count} * static_cast<int64_t>(sizeof(T)))) return -1;
  return count;
}

bool ByteCursor::ReadByteList(std::vector<uint8_t>& list, int32_t maxCount) {
  return ReadNumberList(list, maxCount, false) >= 0;
}

bool ByteCursor::ReadI32List(std::vector<int32_t>& list, int32_t maxCount) {
  return ReadNumberList(list, maxCount, false) >= 0;
}

bool ByteCursor::ReadStringList(std::vector<std::string>& list, int32_t maxLength, int32_t maxCount) {
  int32_t count = 0;
  if (!ReadCount(count, 4, maxCount)) return false;
  list.clear();
  std::string text;
  for (int32_t i = 0; i < count; ++i) {
    if (!ReadString(text, maxLength)) return false;
    list.push_back(std::move(text));
  }
  return true;
}

int32_t ByteCursor::ReadByteListPrefix(std::vector<uint8_t>& list, int32_t maxCount) {
  return ReadNumberList(list, maxCount, true);
}

int32_t ByteCursor::ReadU16ListPrefix(std::vector<uint16_t>& list, int32_t maxCount) {
  return ReadNumberList(list, maxCount, true);
}

int32_t ByteCursor::ReadI32ListPrefix(std::vector<int32_t>& list, int32_t maxCount) {
  return ReadNumberList(list, maxCount, true);
}

int32_t ByteCursor::ReadStringListPrefix(std::vector<std::string>& list, int32_t maxLength, int32_t maxCount) {
  return ReadListPrefix(list, 4, maxCount,
                        [maxLength](ByteCursor& in, std::string& text) { return in.ReadString(text, maxLength); });
}
