#pragma once
// Walking message text after escape expansion: Shift-JIS characters and the
// control sequences of the text layout (byte 1, a code byte, then the code's
// argument bytes, which may hold any value, NUL and lead bytes included).
// Both the expander and the layout step through text with these, so that an
// argument byte is never taken for a character or for the end of the text.

#include <cstddef>
#include <cstdint>

#include "runtime/ShiftJis.h"

inline constexpr uint8_t kControlByte = 1;

// Argument bytes that follow the code byte of a control sequence. Texts
// (ruby, image names) are not arguments: they are walked as characters.
constexpr int ControlArgumentBytes(uint8_t code) {
  switch (code) {
    case 2: case 3: case 4: case 7: case 17:  // colour, font size, line height, squeeze, face
      return 1;
    case 12: case 18: case 22: case 24: case 25:  // speed, line spacing, icon, move x, move y
      return 2;
    default:
      return 0;
  }
}

// Length of the unit at text[0] in a text of `left` bytes: a whole control
// sequence (cut at the end of the text), a two-byte character (a lead byte
// followed by a trail byte), or one byte; 0 when nothing is left.
inline size_t MessageUnitLength(const char* text, size_t left) {
  if (left == 0) return 0;
  const uint8_t b = static_cast<uint8_t>(text[0]);
  if (b == kControlByte) {
    const size_t n = left < 2 ? left : 2 + static_cast<size_t>(ControlArgumentBytes(static_cast<uint8_t>(text[1])));
    return n < left ? n : left;
  }
  if (IsShiftJisLeadByte(b) && left >= 2 && IsShiftJisTrailByte(static_cast<uint8_t>(text[1]))) return 2;
  return 1;
}

// Characters of the text; control sequences are not counted.
inline size_t CountMessageCharacters(const char* text, size_t length) {
  size_t count = 0;
  for (size_t i = 0; i < length;) {
    if (static_cast<uint8_t>(text[i]) != kControlByte) ++count;
    i += MessageUnitLength(text + i, length - i);
  }
  return count;
}
