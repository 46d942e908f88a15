#pragma once
// Paths as the archive lookup compares them: absolute, '\' separated, no
// trailing separator, no empty, "." or ".." elements. Letter case is kept so
// that the path still names the files on disk; comparisons raise it.

#include <cstddef>

// Relative paths start from the current directory. A leading '\' or '/' (one
// or more) starts at the root, and so does a drive ("C:"), since the host has
// no drives. ".." never leaves the root. False when the result does not fit
// in size bytes.
bool NormalizeArchivePath(const char* path, char* result, size_t size);
