#pragma once
// Files on disk by game path: small whole-file operations that the layer needs
// outside its file table (the log file), and files held open by handle for
// the file table and the temporary file.

#include <cstddef>
#include <cstdint>
#include <string>

// Writers never follow a symbolic link at the last element (WriteOpen.h).

// Deletes the file when it exists and creates it anew, empty.
bool HostRecreateFile(const char* gamePath);

// Opens (creating when missing), writes at the end and closes again. False
// when a symbolic link stands at the name.
bool HostAppendToFile(const char* gamePath, const void* data, size_t size);

// An open file; kNoHostFile when none.
using HostFile = int;
constexpr HostFile kNoHostFile = -1;

// Opens an existing file for reading; a folder does not open. A separator
// after the name is ignored, as the archive lookup ignores it.
HostFile HostOpenFileRead(const char* gamePath);
// Size in bytes, or -1.
int64_t HostFileSize(HostFile file);
// Reads up to n bytes at the offset, independent of any file pointer, so
// that another thread may read the same file. Returns the bytes read (fewer
// only at the end of the file), or -1 on an error or a negative offset.
int64_t HostReadFileAt(HostFile file, void* buffer, size_t n, int64_t offset);
// Writes all n bytes at the file's end position. False on an error.
bool HostWriteFile(HostFile file, const void* data, size_t n);
bool HostCloseFile(HostFile file);
bool HostDeleteFile(const char* gamePath);

// Creates a new empty file named "tmp" plus a unique suffix in the system's
// temporary folder, open for writing; its absolute game path goes to name.
HostFile HostCreateTempFile(std::string* name);
