#include "tests/support/MemoryMovieReader.h"

#include <cstring>

namespace {

struct Bytes {
  const uint8_t* data;
  int64_t size;
  int64_t position;
};

int64_t Read(void* context, uint8_t* buffer, int64_t n) {
  auto* b = static_cast<Bytes*>(context);
  const int64_t left = b->size - b->position;
  const int64_t got = left < n ? (left > 0 ? left : 0) : n;
  if (got > 0) std::memcpy(buffer, b->data + b->position, static_cast<size_t>(got));
  b->position += got;
  return got;
}

int Seek(void* context, int64_t offset) {
  static_cast<Bytes*>(context)->position = offset;
  return 0;
}

void Close(void* context) { delete static_cast<Bytes*>(context); }

}  // namespace

HostMovieReader MemoryMovieReader(const void* data, size_t size) {
  auto* bytes = new Bytes{static_cast<const uint8_t*>(data), static_cast<int64_t>(size), 0};
  return {bytes, Read, Seek, static_cast<int64_t>(size), Close};
}
