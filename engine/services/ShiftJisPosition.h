#pragma once
// Classification of one byte position of a NUL-terminated Shift-JIS string.

enum ShiftJisPosition : int {
  kSingleByteChar = 0,
  kLeadByte = 1,
  kTrailByte = 2,
};

// 0 also at or beyond the terminating NUL (and for negative positions).
int ShiftJisPositionState(const char* text, int n);
