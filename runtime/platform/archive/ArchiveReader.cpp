#include "runtime/platform/archive/ArchiveReader.h"

#include <cstring>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/ShiftJis.h"
#include "runtime/platform/archive/ArchiveDecompress.h"
#include "runtime/platform/archive/ArchiveFormat.h"
#include "runtime/platform/files/PlainFile.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// The longest match of the code is 8195 bytes from 4 code bytes; a stated
// size beyond what the code could make is damage, not an allocation to try.
constexpr uint64_t kMaxExpansionPerCodeByte = 2049;
constexpr uint64_t kLongestShortMatch = 35;

const uint8_t* EntryAt(const ArchiveReader* r, uint32_t entry) { return r->table + r->entryTableOffset + entry; }
const uint8_t* DirectoryAt(const ArchiveReader* r, uint32_t directory) {
  return r->table + r->directoryTableOffset + directory;
}

bool InTable(const ArchiveReader* r, uint64_t start, uint64_t length) {
  return start <= r->tableSize && length <= r->tableSize - start;
}

bool ValidNameRecord(const ArchiveReader* r, uint32_t offset) {
  if (!InTable(r, offset, 4)) return false;
  const uint64_t units = ReadLe16(r->table + offset);
  if (units == 0 || !InTable(r, offset + 4ull, 8 * units)) return false;
  const uint8_t* name = r->table + offset + 4;
  return name[4 * units - 1] == 0 && name[8 * units - 1] == 0;
}

bool IsStored(const ArchiveReader* r, const uint8_t* entry) {
  return r->version < kArchiveFirstCompressingVersion || ReadLe32(entry + kEntryCompressedSize) == kArchiveStored;
}

bool ValidEntry(const ArchiveReader* r, const uint8_t* e) {
  if (!ValidNameRecord(r, ReadLe32(e + kEntryName))) return false;
  if (ReadLe32(e + kEntryAttributes) & kArchiveDirectoryAttribute) return true;
  const uint64_t size = ReadLe32(e + kEntrySize);
  uint64_t length = size;
  if (!IsStored(r, e)) {
    length = ReadLe32(e + kEntryCompressedSize);
    if (length < kArchiveCodeHeadSize ||
        size > (length - kArchiveCodeHeadSize) * kMaxExpansionPerCodeByte + kLongestShortMatch) {
      return false;
    }
  }
  const uint64_t start = static_cast<uint64_t>(r->dataOffset) + ReadLe32(e + kEntryData);
  return start <= static_cast<uint64_t>(r->fileSize) && length <= static_cast<uint64_t>(r->fileSize) - start;
}

// Entries already checked, by offset in the entry table. Directories may
// share or overlap entry ranges, so each directory skips to the next entry
// not yet checked on its own stride: next[x] leads, through path-halved
// links, to the first unchecked offset at or after x with x's remainder.
// Every entry is checked once and the tables are walked in time about
// linear in their size.
class CheckedEntries {
 public:
  explicit CheckedEntries(uint32_t size, uint32_t stride) : next_(size), stride_(stride) {
    for (uint32_t i = 0; i < size; ++i) next_[i] = i;
  }
  uint32_t FirstUnchecked(uint32_t x) {
    while (x < next_.size() && next_[x] != x) {
      const uint32_t up = next_[x];
      if (up < next_.size()) next_[x] = next_[up];
      x = up;
    }
    return x;
  }
  void MarkChecked(uint32_t x) {
    const uint64_t after = static_cast<uint64_t>(x) + stride_;
    next_[x] = after < next_.size() ? static_cast<uint32_t>(after) : static_cast<uint32_t>(next_.size());
  }

 private:
  std::vector<uint32_t> next_;
  uint32_t stride_;
};

// Every directory the tables reach, through subdirectories and parents.
bool ValidateTables(const ArchiveReader* r) {
  const uint32_t entryArea = r->tableSize - r->entryTableOffset;
  const uint32_t directoryArea = r->tableSize - r->directoryTableOffset;
  CheckedEntries checked(entryArea, r->entrySize);
  std::vector<bool> seen(directoryArea);
  std::vector<uint32_t> pending;
  auto reach = [&](uint32_t directory) {
    // A record beyond the table is caught when it is taken from the list.
    if (directory >= directoryArea) {
      pending.push_back(directory);
    } else if (!seen[directory]) {
      seen[directory] = true;
      pending.push_back(directory);
    }
  };
  reach(0);
  while (!pending.empty()) {
    const uint32_t directory = pending.back();
    pending.pop_back();
    if (!InTable(r, static_cast<uint64_t>(r->directoryTableOffset) + directory, kArchiveDirectoryRecordSize)) {
      return false;
    }
    const uint8_t* d = DirectoryAt(r, directory);
    const uint32_t parent = ReadLe32(d + kDirectoryParent);
    if (parent != kArchiveNoParent) reach(parent);
    const uint64_t count = ReadLe32(d + kDirectoryCount);
    const uint32_t first = ReadLe32(d + kDirectoryFirstEntry);
    if (!InTable(r, static_cast<uint64_t>(r->entryTableOffset) + first, count * r->entrySize)) return false;
    const uint64_t end = first + count * r->entrySize;
    for (uint32_t at = checked.FirstUnchecked(first); at < end; at = checked.FirstUnchecked(at)) {
      const uint8_t* e = EntryAt(r, at);
      if (!ValidEntry(r, e)) return false;
      if (ReadLe32(e + kEntryAttributes) & kArchiveDirectoryAttribute) reach(ReadLe32(e + kEntryData));
      checked.MarkChecked(at);
    }
  }
  return true;
}

int64_t ReadRaw(const ArchiveReader* r, void* buffer, size_t count, uint64_t at) {
  if (PlainFileTell(r->file) != static_cast<int64_t>(at) && PlainFileSeek(r->file, static_cast<int64_t>(at), 0) != 0) {
    return 0;
  }
  PlainFileRead(buffer, 1, count, r->file);
  return PlainFileCompleteRead(r->file);
}

// Reads and unscrambles; waits for the file-access thread. Returns the bytes
// read.
int64_t ReadArchiveBlock(const ArchiveReader* r, void* buffer, size_t count, uint64_t at) {
  const int64_t got = ReadRaw(r, buffer, count, at);
  if (got > 0) XorArchiveData(static_cast<size_t>(got), buffer, at, r->key);
  return got;
}

bool HasMagic(const uint8_t* header) { return header[0] == 'M' && header[1] == 'V'; }

bool ReadHeader(ArchiveReader* r, const char* keyString) {
  uint8_t raw[kArchiveHeaderSize];
  if (ReadRaw(r, raw, sizeof raw, 0) != static_cast<int64_t>(sizeof raw)) return false;
  uint8_t header[kArchiveHeaderSize];
  std::memcpy(header, raw, sizeof raw);
  BuildArchiveKey(keyString, r->key);
  XorArchiveData(sizeof header, header, 0, r->key);
  if (!HasMagic(header)) {
    std::memcpy(header, raw, sizeof raw);
    SecondArchiveKey(r->key);
    XorArchiveData(sizeof header, header, 0, r->key);
    if (!HasMagic(header)) return false;
  }
  r->version = ReadLe16(header + kHeaderVersion);
  r->tableSize = ReadLe32(header + kHeaderTableSize);
  r->dataOffset = ReadLe32(header + kHeaderDataOffset);
  r->tableOffset = ReadLe32(header + kHeaderTableOffset);
  r->entryTableOffset = ReadLe32(header + kHeaderEntryTableOffset);
  r->directoryTableOffset = ReadLe32(header + kHeaderDirectoryTableOffset);
  r->entrySize = r->version < kArchiveFirstCompressingVersion ? kArchiveEntrySizeOld : kArchiveEntrySize;
  const uint64_t fileSize = static_cast<uint64_t>(r->fileSize);
  return r->version <= kArchiveMaxVersion && r->dataOffset <= fileSize && r->tableOffset <= fileSize &&
         r->tableSize <= fileSize - r->tableOffset && r->entryTableOffset <= r->tableSize &&
         r->directoryTableOffset <= r->tableSize;
}

bool NameMatches(const ArchiveReader* r, const uint8_t* entry, const ArchiveNameKey& key) {
  const uint8_t* record = r->table + ReadLe32(entry + kEntryName);
  return ReadLe16(record) == key.units && ReadLe16(record + 2) == key.checksum &&
         std::memcmp(record + 4, key.upper, 4u * key.units) == 0;
}

// The entry of the current directory with this name and kind, or -1.
int64_t FindInDirectory(const ArchiveReader* r, const char* name, size_t length, bool directory) {
  ArchiveNameKey key;
  if (!MakeArchiveNameKey(name, length, &key)) return -1;
  const uint8_t* d = DirectoryAt(r, r->currentDirectory);
  const uint32_t count = ReadLe32(d + kDirectoryCount);
  const uint32_t first = ReadLe32(d + kDirectoryFirstEntry);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t entry = first + i * r->entrySize;
    const uint8_t* e = EntryAt(r, entry);
    const bool isDirectory = (ReadLe32(e + kEntryAttributes) & kArchiveDirectoryAttribute) != 0;
    if (isDirectory == directory && NameMatches(r, e, key)) return entry;
  }
  return -1;
}

// The file entry a path names, walking from the current directory, which is
// put back afterwards. -1 when there is none.
int64_t FindArchiveFileEntry(ArchiveReader* r, const char* path) {
  const PathSplit split = SplitAtLastSeparator(path);
  const uint32_t saved = r->currentDirectory;
  if (split.folderLength > 0) {
    char directory[kArchivePathSize];
    const size_t length = split.FolderLengthWithoutSeparator();
    if (length + 1 >= sizeof directory) return -1;
    std::memcpy(directory, path, length);
    directory[length] = '\0';
    if (ChangeArchiveDir(r, directory) != 0) {
      r->currentDirectory = saved;
      return -1;
    }
  }
  const int64_t entry = FindInDirectory(r, split.name, std::strlen(split.name), false);
  r->currentDirectory = saved;
  return entry;
}

}  // namespace

bool MakeArchiveNameKey(const char* name, size_t length, ArchiveNameKey* key) {
  if (length > kArchiveNameMax) return false;
  const size_t units = (length + 4) / 4;
  std::memset(key->upper, 0, units * 4);
  std::memcpy(key->upper, name, length);
  ShiftJisUpper(reinterpret_cast<char*>(key->upper), length);
  uint32_t sum = 0;
  for (size_t i = 0; i < length; ++i) sum += key->upper[i];
  key->units = static_cast<uint16_t>(units);
  key->checksum = static_cast<uint16_t>(sum);
  return true;
}

int OpenArchive(ArchiveReader* reader, const char* path, const char* keyString) {
  std::memset(reader, 0, sizeof *reader);
  reader->file = PlainFileOpen(path, 0, 0, 1);
  if (!reader->file) return -1;
  reader->fileSize = PlainFileSize(reader->file);
  if (!ReadHeader(reader, keyString)) {
    CloseArchive(reader);
    return -1;
  }
  reader->table = static_cast<uint8_t*>(TrackedAlloc(reader->tableSize ? reader->tableSize : 1, __FILE__, __LINE__));
  if (!reader->table ||
      ReadArchiveBlock(reader, reader->table, reader->tableSize, reader->tableOffset) != reader->tableSize ||
      !ValidateTables(reader)) {
    CloseArchive(reader);
    return -1;
  }
  reader->currentDirectory = 0;
  return 0;
}

void CloseArchive(ArchiveReader* reader) {
  if (reader->file) PlainFileClose(reader->file);
  if (reader->table) TrackedFree(reader->table);
  std::memset(reader, 0, sizeof *reader);
}

int ChangeArchiveDir(ArchiveReader* reader, const char* path) {
  if (std::strcmp(path, ".") == 0) return 0;
  if (std::strcmp(path, "..") == 0) {
    if (reader->currentDirectory == 0) return -1;
    const uint32_t parent = ReadLe32(DirectoryAt(reader, reader->currentDirectory) + kDirectoryParent);
    if (parent == kArchiveNoParent) return -1;
    reader->currentDirectory = parent;
    return 0;
  }
  const char* p = path;
  if (IsPathSeparator(*p)) {
    reader->currentDirectory = 0;
    ++p;
  }
  while (*p) {
    const char* end = PathElementEnd(p);
    if (end > p) {
      const int64_t entry = FindInDirectory(reader, p, static_cast<size_t>(end - p), true);
      if (entry < 0) return -1;
      reader->currentDirectory = ReadLe32(EntryAt(reader, static_cast<uint32_t>(entry)) + kEntryData);
    }
    p = *end ? end + 1 : end;
  }
  return 0;
}

namespace {

// Takes the decompressed data of the entry when another handle holds it.
bool ShareData(ArchiveFile* file) {
  for (ArchiveSharedData& shared : file->reader->shared) {
    if (shared.users > 0 && shared.entry == file->entry) {
      ++shared.users;
      file->data = shared.data;
      return true;
    }
  }
  return false;
}

// The file's data in memory, decompressed once; the code is not needed
// after that.
bool DecompressIntoMemory(ArchiveFile* file) {
  if (ShareData(file)) {
    TrackedFree(file->code);
    file->code = nullptr;
    return true;
  }
  uint8_t* data = static_cast<uint8_t*>(TrackedAlloc(file->size ? file->size : 1, __FILE__, __LINE__));
  if (!data || DecompressArchiveData(file->code, file->codeSize, data, file->size) != file->size) {
    if (data) TrackedFree(data);
    return false;
  }
  TrackedFree(file->code);
  file->code = nullptr;
  file->data = data;
  for (ArchiveSharedData& shared : file->reader->shared) {
    if (shared.users == 0) {
      shared = {file->entry, 1, data};
      break;
    }
  }
  return true;
}

}  // namespace

int ArchiveFileOpen(ArchiveReader* reader, const char* innerPath, ArchiveFile* file) {
  std::memset(file, 0, sizeof *file);
  const int64_t entry = FindArchiveFileEntry(reader, innerPath);
  if (entry < 0) return -1;
  const uint8_t* e = EntryAt(reader, static_cast<uint32_t>(entry));
  file->reader = reader;
  file->entry = static_cast<uint32_t>(entry);
  file->size = ReadLe32(e + kEntrySize);
  file->dataStart = static_cast<uint64_t>(reader->dataOffset) + ReadLe32(e + kEntryData);
  if (IsStored(reader, e)) return 0;
  if (ShareData(file)) return 0;

  // A stated size beyond the cap, or beyond what the code's length pays
  // for, is refused before anything is read; the code is then checked (its
  // length is paid for in file bytes), and decompressed only by the read
  // that needs it.
  const uint32_t packed = ReadLe32(e + kEntryCompressedSize);
  const bool sizeAllowed = file->size <= kMaxWholeFileSize && ArchiveExpansionAllowed(file->size, packed);
  uint8_t* code = sizeAllowed ? static_cast<uint8_t*>(TrackedAlloc(packed, __FILE__, __LINE__)) : nullptr;
  const bool ok = code && ReadArchiveBlock(reader, code, packed, file->dataStart) == packed &&
                  ArchiveUncompressedSize(code, packed) == file->size && CheckArchiveCode(code, packed) == file->size;
  if (!ok) {
    if (code) TrackedFree(code);
    std::memset(file, 0, sizeof *file);
    return -1;
  }
  file->code = code;
  file->codeSize = packed;
  return 0;
}

void ArchiveFileClose(ArchiveFile* file) {
  if (file->data) {
    for (ArchiveSharedData& slot : file->reader->shared) {
      if (slot.users > 0 && slot.data == file->data) {
        if (--slot.users > 0) {
          file->data = nullptr;  // others still read it
        } else {
          slot.data = nullptr;
        }
        break;
      }
    }
    if (file->data) TrackedFree(file->data);
  }
  if (file->code) TrackedFree(file->code);
  std::memset(file, 0, sizeof *file);
}

size_t ArchiveFileRead(ArchiveFile* file, void* buffer, size_t count) {
  if (file->eofFlag || file->position >= file->size) {
    file->eofFlag = 1;
    return 0;
  }
  const size_t left = file->size - file->position;
  if (count > left) count = left;
  if (count == 0) return 0;
  if (file->code && file->position == 0 && count == file->size) {
    // The whole file into the caller's buffer: no copy of it is kept.
    if (DecompressArchiveData(file->code, file->codeSize, static_cast<uint8_t*>(buffer), count) != file->size) {
      return 0;
    }
    file->position = file->size;
    file->eofFlag = 0;
    return count;
  }
  if (file->code && !DecompressIntoMemory(file)) return 0;
  int64_t got;
  if (file->data) {
    std::memcpy(buffer, file->data + file->position, count);
    got = static_cast<int64_t>(count);
  } else {
    got = ReadArchiveBlock(file->reader, buffer, count, file->dataStart + file->position);
    if (got <= 0) return 0;
  }
  file->position += static_cast<uint32_t>(got);
  file->eofFlag = 0;
  return static_cast<size_t>(got);
}

int ArchiveFileSeek(ArchiveFile* file, int64_t offset, int origin) {
  int64_t target;
  if (!ClampedSeekTarget(file->position, file->size, offset, origin, &target)) return -1;
  file->position = static_cast<uint32_t>(target);
  file->eofFlag = 0;
  return 0;
}

bool ArchiveDirectoryItem(const ArchiveReader* reader, uint32_t directory, uint32_t index, FileInfo* info,
                          const char** upperName) {
  const bool root = directory == 0;
  const char* dots = index == 0 ? "." : (index == 1 && !root) ? ".." : nullptr;
  if (dots) {
    *upperName = dots;
    if (info) {
      std::memset(info, 0, sizeof *info);
      StrCopy(info->name, sizeof info->name, dots);
      info->isDirectory = 1;
    }
    return true;
  }
  const uint32_t k = index - (root ? 1 : 2);
  const uint8_t* d = DirectoryAt(reader, directory);
  if (k >= ReadLe32(d + kDirectoryCount)) return false;
  const uint8_t* e = EntryAt(reader, ReadLe32(d + kDirectoryFirstEntry) + k * reader->entrySize);
  const uint8_t* record = reader->table + ReadLe32(e + kEntryName);
  const char* upper = reinterpret_cast<const char*>(record + 4);
  *upperName = upper;
  if (info) {
    std::memset(info, 0, sizeof *info);
    StrCopy(info->name, sizeof info->name, upper + 4 * ReadLe16(record));
    info->isDirectory = (ReadLe32(e + kEntryAttributes) & kArchiveDirectoryAttribute) ? 1 : 0;
    info->sizeLow = ReadLe32(e + kEntrySize);
    FileTimeToDateRecord(ReadLe64(e + kEntryCreationTime), &info->creationTime);
    FileTimeToDateRecord(ReadLe64(e + kEntryLastWriteTime), &info->lastWriteTime);
  }
  return true;
}
