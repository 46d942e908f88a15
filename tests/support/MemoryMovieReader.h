#pragma once
// Bytes in memory handed to a streaming-movie graph as its reader, for the
// movie tests, benchmarks and fuzzer.

#include <cstddef>
#include <cstdint>

#include "runtime/host/movies/MovieGraph.h"

// The bytes stay the caller's and must outlive the graph; the graph frees
// the reader when it lets it go.
HostMovieReader MemoryMovieReader(const void* data, size_t size);
