#pragma once
// Small whole-file operations on game paths that the layer needs outside its
// file table (the log file).

#include <cstddef>

// Deletes the file when it exists and creates it anew, empty.
bool HostRecreateFile(const char* gamePath);

// Opens (creating when missing), writes at the end and closes again.
bool HostAppendToFile(const char* gamePath, const void* data, size_t size);
