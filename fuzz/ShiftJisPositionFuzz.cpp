// Byte positions of any text: the classification must stay inside the text
// and keep its pairs: a trail byte only ever follows a lead byte.

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/services/ShiftJisPosition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const int length = static_cast<int>(std::strlen(text.c_str()));
  int before = kSingleByteChar;
  for (int n = -2; n <= length + 2; ++n) {
    const int state = ShiftJisPositionState(text.c_str(), n);
    if (state != kSingleByteChar && state != kLeadByte && state != kTrailByte) __builtin_trap();
    if ((n < 0 || n >= length) && state != kSingleByteChar) __builtin_trap();
    if (state == kTrailByte && before != kLeadByte) __builtin_trap();
    before = state;
  }
  return 0;
}
