#pragma once
// The layout of an archive file (all integers little-endian, every byte
// stored XORed with the archive key). Shared by the reader and the test
// writer.
//
// Header (24 bytes at offset 0): "MV", uint16 version (3 at most), uint32
// table block size, uint32 data area offset (file data offsets count from
// there), uint32 table block offset, uint32 file-entry table offset and
// uint32 directory table offset, both inside the table block.
//
// The table block holds the name area (at its start), the file-entry table
// and the directory table.
// - Name record: uint16 length L in 4-byte units, uint16 checksum (sum of the
//   upper-case name's bytes), the upper-case name and the name as written,
//   each NUL-padded to 4L bytes; L = (name length + 4) / 4.
// - File entry (40 bytes, 44 from version 2): uint32 name record offset,
//   uint32 attributes (0x10 directory), uint64 creation, last access and
//   last write times, uint32 data offset (a directory: its directory
//   record's offset in the directory table), uint32 size, and from version 2
//   uint32 compressed size (0xFFFFFFFF: stored).
// - Directory record (16 bytes; the root at offset 0): uint32 unused,
//   uint32 parent record offset (0xFFFFFFFF for the root), uint32 entry
//   count, uint32 offset of its first entry in the file-entry table.

#include <cstddef>
#include <cstdint>

#include "runtime/LittleEndian.h"

constexpr size_t kArchiveHeaderSize = 24;
constexpr uint16_t kArchiveMaxVersion = 3;
constexpr size_t kArchiveEntrySizeOld = 40;   // versions 0 and 1
constexpr size_t kArchiveEntrySize = 44;      // versions 2 and 3
constexpr uint16_t kArchiveFirstCompressingVersion = 2;
constexpr size_t kArchiveDirectoryRecordSize = 16;
constexpr uint32_t kArchiveDirectoryAttribute = 0x10;
constexpr uint32_t kArchiveStored = 0xFFFFFFFF;
constexpr uint32_t kArchiveNoParent = 0xFFFFFFFF;

// Field offsets.
constexpr size_t kHeaderVersion = 2, kHeaderTableSize = 4, kHeaderDataOffset = 8, kHeaderTableOffset = 12,
                 kHeaderEntryTableOffset = 16, kHeaderDirectoryTableOffset = 20;
constexpr size_t kEntryName = 0, kEntryAttributes = 4, kEntryCreationTime = 8, kEntryLastAccessTime = 16,
                 kEntryLastWriteTime = 24, kEntryData = 32, kEntrySize = 36, kEntryCompressedSize = 40;
constexpr size_t kDirectoryParent = 4, kDirectoryCount = 8, kDirectoryFirstEntry = 12;

// What a compressed entry may expand to, paid for by its code: at most
// kArchiveMaxExpansion times the code plus kArchiveExpansionAllowance. The
// code can reach about 2048 times; a blank bitmap packs that densely, so
// any entry up to 128 MiB passes whatever it holds, and memory stays linear
// in the archive's size.
constexpr uint64_t kArchiveMaxExpansion = 1024;
constexpr uint64_t kArchiveExpansionAllowance = uint64_t{64} << 20;
constexpr bool ArchiveExpansionAllowed(uint64_t statedSize, uint64_t packedSize) {
  return statedSize <= kArchiveMaxExpansion * packedSize + kArchiveExpansionAllowance;
}

