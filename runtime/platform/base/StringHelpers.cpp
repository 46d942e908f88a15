#include "runtime/platform/base/StringHelpers.h"

#include <cstring>

#include "runtime/ShiftJis.h"

size_t StrCopy(char* destination, size_t size, const char* source) {
  if (size == 0) return 0;
  size_t n = std::strlen(source);
  if (n > size - 1) n = ShiftJisCutLength(source, size - 1);
  std::memmove(destination, source, n);
  destination[n] = '\0';
  return n;
}

size_t StrAppend(char* destination, size_t size, const char* source) {
  if (size == 0) return 0;
  const size_t used = strnlen(destination, size - 1);
  return used + StrCopy(destination + used, size - used, source);
}

const char* StrFindChar(const char* text, char c) {
  for (const char* p = text; *p;) {
    const int n = ShiftJisCharLength(p);
    if (n == 1 && *p == c) return p;
    p += n;
  }
  return c == '\0' ? text + std::strlen(text) : nullptr;
}

char* StrFindChar(char* text, char c) {
  return const_cast<char*>(StrFindChar(static_cast<const char*>(text), c));
}

int StrDiffers(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? 0 : 1; }

void StrUpper(char* text) { ShiftJisUpper(text, std::strlen(text)); }
