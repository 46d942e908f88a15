#pragma once
// The layer's memory operations.

#include <cstddef>

// 0 when the first n bytes are equal, else 1.
int MemPrefixDiffers(const void* a, const void* b, size_t n);
int MemBlockDiffers(const void* a, const void* b, size_t n);

void MemFill(void* destination, int byte, size_t n);

// Both allow overlapping areas: a destination above the source is copied
// from the end backwards, so no byte is repeated.
void* MemCopy(void* destination, const void* source, size_t n);
void* MemMove(void* destination, const void* source, size_t n);
