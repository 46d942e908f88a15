#pragma once
// The layer's allocator. Every block is headed by a record naming where it
// was asked for and linking it into the list of live blocks, so that the
// blocks still held can be listed at the end of the run and damaged headers
// found.

#include <cstddef>
#include <cstdint>

struct TrackedBlockHeader {
  char sourceFile[16];       // last 15 characters of the source file name
  uint16_t allocId;          // rolling counter at (re)allocation
  uint16_t sourceLine;       // low 16 bits of the line
  uint32_t size;             // bytes asked for
  TrackedBlockHeader* next;  // next older block, or the end record
  TrackedBlockHeader* prev;  // next newer block, or null for the newest
  unsigned char guard[40];   // copy of every field above
};
static_assert(sizeof(TrackedBlockHeader) % 16 == 0, "blocks behind the header stay 16-byte aligned");

void* TrackedAlloc(size_t size, const char* sourceFile = nullptr, int line = 0);
void* TrackedAllocZero(size_t size, const char* sourceFile = nullptr, int line = 0);
// Returns 1 when the block was given back, 0 for null.
int TrackedFree(void* block);
// A null block is a new allocation; on failure the old block stays valid.
void* TrackedRealloc(void* block, size_t size, const char* sourceFile = nullptr, int line = 0);

// Lists every live block in the log, newest first, then the totals. Returns -1.
int DumpAllocations();
// 0 when every live header agrees with its guard copy; else logs the first
// damaged one and returns -1.
int CheckAllocations();

int64_t TrackedTotalSize();
int TrackedBlockCount();

// Test seam: after n more successful allocations the next one fails (-1: never).
void SetTrackedAllocFailureCountdown(int n);
