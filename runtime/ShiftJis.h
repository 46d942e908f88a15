#pragma once
// The one Shift-JIS (code page 932) byte classification used by the whole
// program, layer and engine alike. Every scan that must not match inside a
// two-byte character asks these.

#include <cstddef>
#include <cstdint>

// A lead byte starts a two-byte character.
constexpr bool IsShiftJisLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that may follow a lead byte as the second half of a character.
constexpr bool IsShiftJisTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Length of the character starting at text[0]: 2 for a lead byte followed by
// a non-NUL byte, else 1 (0 at the terminating NUL). Scans step with this so
// that a lone lead byte at the end of a string never walks past its NUL.
inline int ShiftJisCharLength(const char* text) {
  const uint8_t b = static_cast<uint8_t>(text[0]);
  if (b == 0) return 0;
  if (IsShiftJisLeadByte(b) && text[1] != '\0') return 2;
  return 1;
}

// The same in a text of `left` bytes that need not end in a NUL (any byte may
// be a second half): 2 for a lead byte with a byte after it, 1 for any other
// byte and for a lead byte in the last place, 0 when nothing is left.
constexpr int ShiftJisCharLengthIn(const char* text, size_t left) {
  if (left == 0) return 0;
  return IsShiftJisLeadByte(static_cast<uint8_t>(text[0])) && left >= 2 ? 2 : 1;
}

// Raises the letters a-z that stand as characters of their own to A-Z, in a
// text of `length` bytes; two-byte characters stay as they are.
inline void ShiftJisUpper(char* text, size_t length) {
  for (size_t i = 0; i < length;) {
    const int n = ShiftJisCharLengthIn(text + i, length - i);
    if (n == 1 && text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
    i += static_cast<size_t>(n);
  }
}

// Longest prefix of text[0, length) that ends on a character boundary: a
// lead byte in the last place, whose second half is cut off, goes too.
inline size_t ShiftJisCutLength(const char* text, size_t length) {
  size_t i = 0;
  while (i < length) {
    const int n = ShiftJisCharLengthIn(text + i, length - i);
    if (n == 1 && IsShiftJisLeadByte(static_cast<uint8_t>(text[i]))) break;
    i += static_cast<size_t>(n);
  }
  return i;
}

// The last '\' or '/' of a path that stands as a character of its own (never
// the second half of a two-byte character), or null.
inline const char* LastPathSeparator(const char* path) {
  const char* last = nullptr;
  for (const char* p = path; *p;) {
    const int n = ShiftJisCharLength(p);
    if (n == 1 && (*p == '\\' || *p == '/')) last = p;
    p += n;
  }
  return last;
}
