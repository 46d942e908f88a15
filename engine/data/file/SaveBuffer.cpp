#include "engine/data/file/SaveBuffer.h"

#include <cstring>

bool SaveBuffer::WriteBytes(const void* bytes, int64_t n) {
  if (overrun_ || n < 0 || n > kBodyLimit - static_cast<int64_t>(position_)) return Fail();
  const size_t end = static_cast<size_t>(position_ + n);
  if (buffer_.size() < end) buffer_.resize(end);
  if (n > 0) std::memcpy(buffer_.data() + position_, bytes, static_cast<size_t>(n));
  position_ = static_cast<int32_t>(end);
  return true;
}

bool SaveBuffer::WriteString(const std::string& text) {
  if (text.size() >= static_cast<size_t>(kBodyLimit)) return Fail();
  return WriteI32(static_cast<int32_t>(text.size() + 1)) && WriteBytes(text.c_str(), static_cast<int64_t>(text.size()) + 1);
}
