#include "runtime/platform/base/MemoryHelpers.h"

#include <cstring>

int MemPrefixDiffers(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0 ? 0 : 1; }
int MemBlockDiffers(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0 ? 0 : 1; }
void MemFill(void* destination, int byte, size_t n) { std::memset(destination, byte, n); }
void* MemCopy(void* destination, const void* source, size_t n) { return std::memmove(destination, source, n); }
void* MemMove(void* destination, const void* source, size_t n) { return std::memmove(destination, source, n); }
