#pragma once
// The runtime layer's public interface: the only header of the layer that the
// engine includes. Results follow the layer's convention: 0 (or a handle, a
// count, a value) on success, -1 on failure.

#include <cstddef>
#include <cstdint>

#include "runtime/ShiftJis.h"

// ---- System, log and time ----

// Formatted text to the log, no line end added. Returns -1.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// 0 switches the log file off. May be called before LayerInit.
int EnableLogOutput(int flag);
// Milliseconds of the layer's tick.
uint32_t GetTickMs();

// ---- Files and archives ----

// Opaque handle of an open file; 0 means failure.
using FileHandle = uintptr_t;

// Opens a file for reading; flag non-zero asks for a file-access thread.
FileHandle FileOpenRead(const char* name, int flag);
// Size in bytes, or -1 when the file cannot be opened.
int64_t FileSizeOf(const char* name);
int FileCloseRead(FileHandle handle);
// Reads n bytes as one element: from a plain file 1 when all n were read and
// 0, reading nothing, when fewer are left; inside an archive the bytes read.
int FileReadBytes(void* buffer, size_t n, FileHandle handle);
