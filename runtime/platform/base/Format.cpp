#include "runtime/platform/base/Format.h"

#include <cstdio>

#include "runtime/ShiftJis.h"

int FormatStringV(char* buffer, size_t size, const char* format, va_list args) {
  if (size == 0) return 0;
  const int wanted = std::vsnprintf(buffer, size, format, args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  size_t length = static_cast<size_t>(wanted);
  if (length >= size) {
    // Cut: do not leave half of a two-byte character at the end.
    length = ShiftJisCutLength(buffer, size - 1);
    buffer[length] = '\0';
  }
  return static_cast<int>(length);
}

int FormatString(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatStringV(buffer, size, format, args);
  va_end(args);
  return 0;
}
