#pragma once
// A file written whole and then put in place of the old one: the bytes go to
// a temporary file in the same folder, and only when every write and the
// close succeeded is it renamed over the target. On any failure the old file
// stays as it was.

#include <cstddef>
#include <cstdint>

struct ReplacingFile;

// Null when the temporary file cannot be created.
ReplacingFile* OpenReplacingFile(const char* gamePath);
// Buffered. False once any write has failed; later writes fail too.
bool WriteReplacingFile(ReplacingFile* file, const void* data, size_t size);
// Flushes, closes and renames over the target; frees the record. 0, or -1
// (the temporary file removed, the target untouched).
int CommitReplacingFile(ReplacingFile* file);
// Removes the temporary file and frees the record.
void DiscardReplacingFile(ReplacingFile* file);

// Test seam: after this many more bytes reach the disk every write fails, as
// on a full disk (-1: never).
void SetReplacingFileWriteLimit(int64_t bytes);
