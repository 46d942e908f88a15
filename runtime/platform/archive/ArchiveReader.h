#pragma once
// One open archive: its header and table block, read through a plain file
// in thread mode, and the files inside it.
//
// Every size, offset and count of the header and the tables is checked when
// the archive opens, for every directory the tables reach: a damaged archive
// does not open, and afterwards every walk of the tables stays inside them.

#include <cstddef>
#include <cstdint>

#include "runtime/platform/archive/ArchiveKey.h"
#include "runtime/platform/files/FileAccessTable.h"

// Longest element name inside an archive, in bytes.
constexpr size_t kArchiveNameMax = 1020;
// Buffers of whole paths: the host's own limit (PATH_MAX with its NUL), so
// that any path the host can open can be looked up in archives too, a
// longest element name under a deep current folder included.
constexpr size_t kArchivePathSize = 4096;

// A name as the tables compare it: upper case, checksum, length in 4-byte
// units, NUL-padded.
struct ArchiveNameKey {
  uint16_t units;
  uint16_t checksum;
  uint8_t upper[kArchiveNameMax + 4];
};
// False when the name is longer than kArchiveNameMax.
bool MakeArchiveNameKey(const char* name, size_t length, ArchiveNameKey* key);

// A decompressed file shared by the handles open on it at the same time.
struct ArchiveSharedData {
  uint32_t entry;
  int users;
  uint8_t* data;
};
constexpr int kArchiveSharedDataSlots = 8;

struct ArchiveReader {
  uint16_t version;
  uint32_t tableSize;
  uint32_t dataOffset;
  uint32_t tableOffset;
  uint32_t entryTableOffset;
  uint32_t directoryTableOffset;
  uint32_t entrySize;
  int64_t fileSize;
  FileHandle file;  // a plain file in thread mode
  uint8_t* table;
  uint32_t currentDirectory;  // directory record offset; the root between operations
  uint8_t key[kArchiveKeySize];
  ArchiveSharedData shared[kArchiveSharedDataSlots];
};

// 0, or -1 when the file does not open or is not an archive.
int OpenArchive(ArchiveReader* reader, const char* path, const char* keyString);
void CloseArchive(ArchiveReader* reader);

// A file inside an archive.
struct ArchiveFile {
  ArchiveReader* reader;
  uint32_t entry;  // offset in the file-entry table
  uint32_t size;
  uint64_t dataStart;  // in the archive file
  uint8_t* data;       // the decompressed file (shared), once a read needs it
  uint8_t* code;       // the checked code of a compressed file, until it is decompressed
  uint32_t codeSize;
  uint32_t position;
  int eofFlag;
};

// innerPath is relative to the archive's root, '\' separated. 0, or -1 when
// it names no file, the file states a size above kMaxWholeFileSize or above
// what its code pays for (ArchiveExpansionAllowed; both refused before its
// code is read) or its code is damaged (checked without decompressing).
int ArchiveFileOpen(ArchiveReader* reader, const char* innerPath, ArchiveFile* file);
void ArchiveFileClose(ArchiveFile* file);
// Returns the bytes read. A compressed file read whole by its first read is
// decompressed straight into the caller's buffer, so the data loader holds
// the only copy; any other read decompresses it once into memory shared by
// the handles open on it.
size_t ArchiveFileRead(ArchiveFile* file, void* buffer, size_t count);
// Clamped to the file. 0, or -1 for an unknown origin.
int ArchiveFileSeek(ArchiveFile* file, int64_t offset, int origin);

// Walks from the current directory: "." stays, "\" is the root, ".." the
// parent, anything else element by element (a leading '\' from the root). A
// failed walk stops where it failed. 0, or -1.
int ChangeArchiveDir(ArchiveReader* reader, const char* path);

// Items of a directory in order: "." (every directory), ".." (all but the
// root), then its entries. False past the last.
bool ArchiveDirectoryItem(const ArchiveReader* reader, uint32_t directory, uint32_t index, FileInfo* info,
                          const char** upperName);
