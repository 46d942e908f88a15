#include "tests/support/ArchiveWriter.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "runtime/ShiftJis.h"
#include "runtime/platform/archive/ArchiveFormat.h"
#include "runtime/platform/archive/ArchiveKey.h"
#include "runtime/platform/archive/ArchiveReader.h"
#include "tests/support/ByteWriter.h"

namespace {

std::string NameRecord(const std::string& name) {
  ArchiveNameKey key;
  MakeArchiveNameKey(name.data(), name.size(), &key);
  std::string written = name;
  written.resize(4u * key.units, '\0');
  return ByteWriter()
      .U16(key.units)
      .U16(key.checksum)
      .Raw(std::string_view(reinterpret_cast<const char*>(key.upper), 4u * key.units))
      .Raw(written)
      .Bytes();
}

// Splits at '\' that stands as a character of its own.
std::vector<std::string> Elements(std::string_view path) {
  std::vector<std::string> elements;
  std::string current;
  const std::string text(path);
  for (const char* p = text.c_str(); *p;) {
    const int n = ShiftJisCharLength(p);
    if (n == 1 && *p == '\\') {
      if (!current.empty()) elements.push_back(current);
      current.clear();
    } else {
      current.append(p, static_cast<size_t>(n));
    }
    p += n;
  }
  if (!current.empty()) elements.push_back(current);
  return elements;
}

// LZ encoder: greedy, with hash chains over 4-byte sequences.
class Compressor {
 public:
  explicit Compressor(std::string_view data) : data_(data) {}

  std::string Run() {
    std::array<size_t, 256> counts = {};
    for (const char c : data_) ++counts[static_cast<uint8_t>(c)];
    size_t best = 0;
    for (size_t b = 1; b < 256; ++b) {
      if (counts[b] < counts[best]) best = b;
    }
    escape_ = static_cast<uint8_t>(best);

    ByteWriter out;
    out.U32(static_cast<uint32_t>(data_.size())).U32(0).U8(escape_);  // the packed size is set at the end

    head_.assign(kHashSize, kNone);
    previous_.assign(data_.size(), kNone);
    size_t i = 0;
    while (i < data_.size()) {
      size_t length = 0;
      size_t distance = 0;
      FindMatch(i, &length, &distance);
      if (length == 0) {
        Literal(out, static_cast<uint8_t>(data_[i]));
        Insert(i);
        ++i;
        continue;
      }
      Match(out, length, distance);
      for (size_t k = 0; k < length; ++k) Insert(i + k);
      i += length;
    }
    PatchI32(out.Bytes(), 4, out.Size());
    return out.Bytes();
  }

 private:
  static constexpr size_t kHashBits = 16;
  static constexpr size_t kHashSize = size_t{1} << kHashBits;
  static constexpr size_t kNone = SIZE_MAX;
  static constexpr size_t kMaxLength = 4 + 31 + 255 * 32;
  static constexpr size_t kMaxDistance = size_t{1} << 24;
  static constexpr int kChainDepth = 16;

  size_t Hash(size_t at) const {
    uint32_t v;
    std::memcpy(&v, data_.data() + at, 4);
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  void Insert(size_t at) {
    if (at + 4 > data_.size()) return;
    const size_t h = Hash(at);
    previous_[at] = head_[h];
    head_[h] = at;
  }

  static size_t MinLength(size_t distance) { return distance <= 256 ? 4 : distance <= 65536 ? 5 : 6; }

  void FindMatch(size_t at, size_t* length, size_t* distance) const {
    if (at + 4 > data_.size()) return;
    size_t candidate = head_[Hash(at)];
    const size_t limit = std::min(kMaxLength, data_.size() - at);
    for (int depth = 0; depth < kChainDepth && candidate != kNone; ++depth, candidate = previous_[candidate]) {
      const size_t d = at - candidate;
      if (d > kMaxDistance) break;
      size_t n = 0;
      while (n < limit && data_[candidate + n] == data_[at + n]) ++n;
      if (n >= MinLength(d) && n > *length) {
        *length = n;
        *distance = d;
      }
    }
  }

  void Literal(ByteWriter& out, uint8_t b) const {
    out.U8(b);
    if (b == escape_) out.U8(b);
  }

  void Match(ByteWriter& out, size_t length, size_t distance) const {
    const size_t extra = length - 4;
    const size_t d = distance - 1;
    const uint32_t sizeCode = d < 0x100 ? 0 : d < 0x10000 ? 1 : 2;
    uint32_t code = static_cast<uint32_t>((extra & 31) << 3) | sizeCode;
    if (extra >> 5) code |= 4;
    out.U8(escape_).U8(static_cast<uint8_t>(code >= escape_ ? code + 1 : code));
    if (extra >> 5) out.U8(static_cast<uint8_t>(extra >> 5));
    for (uint32_t k = 0; k <= sizeCode; ++k) out.U8(static_cast<uint8_t>(d >> (8 * k)));
  }

  std::string_view data_;
  uint8_t escape_ = 0;
  std::vector<size_t> head_;
  std::vector<size_t> previous_;
};

}  // namespace

ArchiveWriter::ArchiveWriter(int version) : version_(version) {
  nodes_.push_back(Node());
  nodes_[0].folder = true;
}

void ArchiveWriter::SetKeyString(const char* keyString) {
  keyString_ = keyString ? keyString : "";
  secondKey_ = false;
}

void ArchiveWriter::UseSecondKey() { secondKey_ = true; }

void ArchiveWriter::SetTimes(uint64_t creation, uint64_t lastWrite) {
  creation_ = creation;
  lastWrite_ = lastWrite;
}

size_t ArchiveWriter::Child(size_t folder, std::string_view name, bool isFolder) {
  for (const size_t c : nodes_[folder].children) {
    if (nodes_[c].name == name && nodes_[c].folder == isFolder) return c;
  }
  Node node;
  node.name = std::string(name);
  node.folder = isFolder;
  node.creation = creation_;
  node.lastWrite = lastWrite_;
  nodes_.push_back(node);
  nodes_[folder].children.push_back(nodes_.size() - 1);
  return nodes_.size() - 1;
}

size_t ArchiveWriter::FileNode(std::string_view path) {
  const std::vector<std::string> elements = Elements(path);
  size_t folder = 0;
  for (size_t i = 0; i + 1 < elements.size(); ++i) folder = Child(folder, elements[i], true);
  return Child(folder, elements.back(), false);
}

void ArchiveWriter::AddFile(std::string_view path, std::string_view data, bool compressed) {
  const size_t file = FileNode(path);
  nodes_[file].data = std::string(data);
  nodes_[file].compressed = compressed && version_ >= kArchiveFirstCompressingVersion;
}

void ArchiveWriter::AddCode(std::string_view path, std::string_view code) {
  Node& node = nodes_[FileNode(path)];
  node.compressed = true;
  node.code = std::string(code);
  node.statedSize = code.size() >= 4 ? ReadLe32(reinterpret_cast<const uint8_t*>(code.data())) : 0;
}

void ArchiveWriter::AddFolder(std::string_view path) {
  size_t folder = 0;
  for (const std::string& element : Elements(path)) folder = Child(folder, element, true);
}

std::string ArchiveWriter::Key() const {
  uint8_t key[kArchiveKeySize];
  if (secondKey_) {
    SecondArchiveKey(key);
  } else {
    BuildArchiveKey(keyString_.empty() ? nullptr : keyString_.c_str(), key);
  }
  return std::string(reinterpret_cast<const char*>(key), kArchiveKeySize);
}

std::string ArchiveWriter::Build() const {
  const uint32_t entrySize = version_ >= kArchiveFirstCompressingVersion ? kArchiveEntrySize : kArchiveEntrySizeOld;

  // Folders in breadth-first order: each gets a directory record, and its
  // children's entries stand together.
  std::vector<size_t> folders = {0};
  for (size_t i = 0; i < folders.size(); ++i) {
    for (const size_t c : nodes_[folders[i]].children) {
      if (nodes_[c].folder) folders.push_back(c);
    }
  }
  std::vector<uint32_t> recordOf(nodes_.size(), 0);
  for (size_t i = 0; i < folders.size(); ++i) recordOf[folders[i]] = static_cast<uint32_t>(i * kArchiveDirectoryRecordSize);

  std::string names;
  ByteWriter entries;
  ByteWriter directories;
  std::string data;
  std::vector<uint32_t> parentOf(nodes_.size(), kArchiveNoParent);
  for (const size_t f : folders) {
    for (const size_t c : nodes_[f].children) parentOf[c] = recordOf[f];
  }
  for (const size_t f : folders) {
    directories.U32(0).U32(parentOf[f]).U32(static_cast<uint32_t>(nodes_[f].children.size()));
    directories.U32(static_cast<uint32_t>(entries.Size()));
    for (const size_t c : nodes_[f].children) {
      const Node& node = nodes_[c];
      const uint32_t nameOffset = static_cast<uint32_t>(names.size());
      names += NameRecord(node.name);
      std::string stored = node.data;
      uint32_t compressedSize = kArchiveStored;
      if (node.compressed) {
        stored = node.statedSize ? node.code : CompressArchiveData(node.data);
        compressedSize = static_cast<uint32_t>(stored.size());
      }
      const uint32_t size = node.statedSize ? node.statedSize : static_cast<uint32_t>(node.data.size());
      entries.U32(nameOffset).U32(node.folder ? kArchiveDirectoryAttribute : 0x20);
      entries.U64(node.creation).U64(node.lastWrite).U64(node.lastWrite);
      entries.U32(node.folder ? recordOf[c] : static_cast<uint32_t>(data.size()));
      entries.U32(node.folder ? 0 : size);
      if (entrySize == kArchiveEntrySize) entries.U32(node.folder ? 0 : compressedSize);
      if (!node.folder) data += stored;
    }
  }

  layout_.entrySize = entrySize;
  layout_.entryTableOffset = static_cast<uint32_t>(names.size());
  layout_.directoryTableOffset = static_cast<uint32_t>(names.size()) + static_cast<uint32_t>(entries.Size());
  layout_.tableOffset = static_cast<uint32_t>(kArchiveHeaderSize + data.size());
  const std::string table = names + entries.Bytes() + directories.Bytes();

  ByteWriter out;
  out.Raw("MV").U16(static_cast<uint16_t>(version_)).U32(static_cast<uint32_t>(table.size()));
  out.U32(static_cast<uint32_t>(kArchiveHeaderSize)).U32(layout_.tableOffset);
  out.U32(layout_.entryTableOffset).U32(layout_.directoryTableOffset);
  out.Raw(data).Raw(table);
  ArchiveXor(&out.Bytes(), Key());
  return out.Bytes();
}

std::string CompressArchiveData(std::string_view data) { return Compressor(data).Run(); }

std::string ArchiveRunCode(uint32_t size, uint32_t runs) {
  // Escape 0xFF; each run is the longest form: escape, code with the long
  // flag, the length's high byte, a one-byte distance of 1.
  constexpr uint32_t kLongest = 4 + 31 + 255 * 32;
  ByteWriter out;
  out.U32(size).U32(10 + 4 * runs).U8(0xFF).U8(0);
  uint32_t left = size - 1;
  for (uint32_t i = 0; i < runs; ++i) {
    const uint32_t runsAfter = runs - 1 - i;
    const uint32_t length = std::max<uint32_t>(4, std::min<uint32_t>(kLongest, left - 4 * runsAfter));
    const uint32_t extra = length - 4;
    out.U8(0xFF).U8(static_cast<uint8_t>((extra & 31) << 3 | 4)).U8(static_cast<uint8_t>(extra >> 5)).U8(0);
    left -= length;
  }
  return out.Bytes();
}

void ArchiveXor(std::string* bytes, const std::string& key) {
  XorArchiveData(bytes->size(), bytes->data(), 0, reinterpret_cast<const uint8_t*>(key.data()));
}
