#pragma once
// Absolute game paths from paths relative to a base folder.

#include <cstddef>

// The absolute form of path into result (size bytes): relative to base, or
// to the current folder of the file functions when base is null; a path
// starting with '\' on the base's drive, one with its own drive kept. "."
// elements are dropped and ".." removes the element before it (never the
// drive). 0, or -1 for an empty element (two separators in a row) or a
// result that does not fit.
int ConvertFullPath(const char* path, char* result, size_t size, const char* base);
