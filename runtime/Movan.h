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

// Files are read from the game's archives when an archive stands in for a
// directory of their path (a file that archive lacks is not found), else
// from plain files. Names are game paths: '\' separators, any letter case.

// Opens a file for reading; flag non-zero asks for a file-access thread.
FileHandle FileOpenRead(const char* name, int flag);
// Size in bytes, or -1 when the file cannot be opened.
int64_t FileSizeOf(const char* name);
// Closes a file of FileOpenRead. 0, or -1.
int FileCloseRead(FileHandle handle);
// Reads n bytes as one element: from a plain file 1 when all n were read and
// 0, reading nothing, when fewer are left; inside an archive the bytes read.
int FileReadBytes(void* buffer, size_t n, FileHandle handle);
// Reads one line (Shift-JIS aware) into the buffer, without its CR LF, and
// NUL-terminates it; a line longer than size - 1 bytes comes in pieces, and a
// NUL byte ends the line. Returns its length, or -1 at the end of the file.
int FileReadLine(char* buffer, size_t size, FileHandle handle);

// Archive access is on by default; 0 reads plain files only. May be called
// before the layer starts.
int EnableArchiveAccess(int flag);
// The extension of archive files, without the dot. Null, an empty text or
// one of 64 characters or more gives the default "MVA".
int SetArchiveExtension(const char* text);
// The key string that the archive key is made from; at most its first 12
// bytes count. Null (or empty) gives the built-in key.
int SetArchiveKeyString(const char* text);
