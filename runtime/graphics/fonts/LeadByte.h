#pragma once
// The lead-byte test of every string walk of the fonts: under the Korean
// charset (2) any byte with the high bit, else the Shift-JIS lead bytes.

#include <cstdint>

#include "runtime/ShiftJis.h"

inline int IsLeadByte(const char* byte, int charset) {
  const uint8_t b = static_cast<uint8_t>(*byte);
  if (charset == 2) return b >= 0x80 ? 1 : 0;
  return IsShiftJisLeadByte(b) ? 1 : 0;
}

// Bytes of the character at text[0] in a text of `left` bytes: 2 for a lead
// byte with a byte after it, 1 otherwise (a lead byte in the last place is a
// character of its own), 0 when nothing is left.
inline int FontCharLength(const char* text, int left, int charset) {
  if (left <= 0) return 0;
  return IsLeadByte(text, charset) && left >= 2 ? 2 : 1;
}
