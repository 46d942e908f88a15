#pragma once
// A new empty file in the system's temporary folder, for the copy of a file
// that a reader can only take from disk.

#include <cstddef>

#include "runtime/host/files/HostFile.h"

// The file's absolute game path goes to name (size bytes) when given.
// kNoHostFile on failure.
HostFile CreateTempFile(char* name, size_t size);
