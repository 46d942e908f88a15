#include "engine/services/ShiftJisPosition.h"

#include <cstdint>

#include "runtime/Movan.h"

int ShiftJisPositionState(const char* text, int n) {
  if (n < 0) return kSingleByteChar;
  int state = kSingleByteChar;
  for (int i = 0; text[i] != '\0'; ++i) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    if (state == kLeadByte) {
      // A byte that cannot be a trail byte counts as a single-byte character,
      // even when it is itself a lead byte.
      state = IsShiftJisTrailByte(b) ? kTrailByte : kSingleByteChar;
    } else {
      state = IsShiftJisLeadByte(b) ? kLeadByte : kSingleByteChar;
    }
    if (i == n) return state;
  }
  return kSingleByteChar;
}
