#pragma once
// The control sequences inside message text as the layout reads them: byte
// 1, a code byte, then the code's argument bytes (any value, NUL included).
// The escape expander writes them; the layout decodes them here.

#include <cstddef>
#include <cstdint>

#include "engine/services/MessageTextScan.h"

enum ControlCode : uint8_t {
  kCodeBackslash = 1,
  kCodeColor = 2,
  kCodeFontSize = 3,
  kCodeLineHeight = 4,
  kCodeEdgeOn = 5,
  kCodeEdgeOff = 6,
  kCodeSqueeze = 7,
  kCodeRuby = 9,
  kCodeInstantOn = 10,
  kCodeInstantOff = 11,
  kCodeSpeed = 12,
  kCodeWait = 14,
  kCodeKeyWait = 15,
  kCodeAutoClose = 16,
  kCodeFontFace = 17,
  kCodeLineSpacing = 18,
  kCodeAlignLeft = 19,
  kCodeAlignCenter = 20,
  kCodeAlignRight = 21,
  kCodeIcon = 22,
  kCodeImage = 23,
  kCodeMoveX = 24,
  kCodeMoveY = 25,
};

// One byte holding value + 14: 0..255.
constexpr int32_t DecodeSmallValue(uint8_t b) { return static_cast<uint8_t>(b - 14); }

// Two bytes, high then low, each holding its part + 14: 0..65535.
constexpr int32_t DecodeWideValue(uint8_t high, uint8_t low) {
  return DecodeSmallValue(high) * 256 + DecodeSmallValue(low);
}

// The value itself as a signed byte; 255 stands for 0 (a 0 byte would end
// the author's text on the writing side).
constexpr int32_t DecodeSignedByte(uint8_t b) { return b == 255 ? 0 : static_cast<int8_t>(b); }

// Argument bytes that the layout counts as control bytes: those of the
// codes whose values shape the text. Icon and move arguments are left out,
// so they take part in the reveal like characters.
constexpr int32_t CountedArgumentBytes(uint8_t code) {
  return code == kCodeIcon || code == kCodeMoveX || code == kCodeMoveY ? 0 : ControlArgumentBytes(code);
}
