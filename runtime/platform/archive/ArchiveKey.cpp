#include "runtime/platform/archive/ArchiveKey.h"

#include <cstring>

namespace {

// Archives are readable only with exactly these values: the writer of the
// test support library builds its keys with the same code.
constexpr uint8_t kBuiltInFill[kArchiveKeySize] = {0x3A, 0x91, 0x5E, 0xC7, 0x08, 0x6B,
                                                   0xF2, 0x24, 0xAD, 0x53, 0x1F, 0xE8};
constexpr uint8_t kSecondKey[kArchiveKeySize] = {0x7C, 0x2E, 0xB5, 0x49, 0xD0, 0x83,
                                                 0x16, 0x6F, 0xEA, 0x35, 0x98, 0x0D};

constexpr uint8_t Rotate(uint8_t b, int bits) {
  return static_cast<uint8_t>((b << bits) | (b >> (8 - bits)));
}

uint8_t Transform(size_t position, uint8_t b) {
  switch (position) {
    case 0: return static_cast<uint8_t>(~b);
    case 1: return Rotate(b, 3);
    case 2: return static_cast<uint8_t>(b ^ 0xA5);
    case 3: return Rotate(static_cast<uint8_t>(~b), 1);
    case 4: return static_cast<uint8_t>(b ^ 0x3C);
    case 5: return static_cast<uint8_t>(Rotate(b, 5) ^ 0x96);
    case 6: return static_cast<uint8_t>(~Rotate(b, 2));
    case 7: return static_cast<uint8_t>(b ^ 0x5A);
    case 8: return Rotate(static_cast<uint8_t>(b ^ 0xC3), 4);
    case 9: return static_cast<uint8_t>(~(b ^ 0x69));
    case 10: return Rotate(b, 7);
    default: return static_cast<uint8_t>(Rotate(b, 6) ^ 0x1E);
  }
}

}  // namespace

void BuildArchiveKey(const char* keyString, uint8_t key[kArchiveKeySize]) {
  const size_t length = keyString ? std::strlen(keyString) : 0;
  for (size_t i = 0; i < kArchiveKeySize; ++i) {
    const uint8_t fill = length ? static_cast<uint8_t>(keyString[i % length]) : kBuiltInFill[i];
    key[i] = Transform(i, fill);
  }
}

void SecondArchiveKey(uint8_t key[kArchiveKeySize]) { std::memcpy(key, kSecondKey, kArchiveKeySize); }

void XorArchiveData(size_t count, void* buffer, uint64_t fileOffset, const uint8_t key[kArchiveKeySize]) {
  // The key laid out from this offset, 48 bytes (a whole number of keys and
  // of vector registers), so the inner loop vectorises.
  constexpr size_t kSpan = 4 * kArchiveKeySize;
  uint8_t pattern[kSpan];
  const size_t start = static_cast<size_t>(fileOffset % kArchiveKeySize);
  for (size_t i = 0; i < kSpan; ++i) pattern[i] = key[(start + i) % kArchiveKeySize];
  uint8_t* p = static_cast<uint8_t*>(buffer);
  size_t i = 0;
  for (; i + kSpan <= count; i += kSpan) {
    for (size_t j = 0; j < kSpan; ++j) p[i + j] ^= pattern[j];
  }
  for (size_t j = 0; i < count; ++i, ++j) p[i] ^= pattern[j];
}
