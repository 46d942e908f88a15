#pragma once
// Writes archives in the runtime layer's own format, every version the
// reader accepts (0 to 3), with stored and LZ-compressed entries (from
// version 2), nested folders and names in any case or in Shift-JIS.
// Malformed archives are byte edits of this output: ArchiveXor takes the key
// off (and puts it back on) so that fields can be edited in the clear.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ArchiveWriter {
 public:
  explicit ArchiveWriter(int version = 3);

  // The key is made from this string as the game sets it; null or empty
  // uses the built-in fill.
  void SetKeyString(const char* keyString);
  // Scrambles with the second built-in key instead.
  void UseSecondKey();

  // path is CP932 with '\' separators, kept as written; its folders are
  // added as needed. Compression applies from version 2.
  void AddFile(std::string_view path, std::string_view data, bool compressed = false);
  // A compressed entry holding a code made elsewhere (ArchiveRunCode), its
  // size the one the code's head states.
  void AddCode(std::string_view path, std::string_view code);
  void AddFolder(std::string_view path);
  // Creation and last-write times of the entries added after this call.
  void SetTimes(uint64_t creation, uint64_t lastWrite);

  std::string Build() const;
  // The 12-byte key Build scrambles with.
  std::string Key() const;

  // Offsets in the table block of the last Build, for byte edits.
  struct Layout {
    uint32_t tableOffset;
    uint32_t entryTableOffset;  // in the block
    uint32_t directoryTableOffset;
    uint32_t entrySize;
  };
  const Layout& LastLayout() const { return layout_; }

 private:
  struct Node {
    std::string name;
    bool folder = false;
    std::string data;
    bool compressed = false;
    std::string code;         // made elsewhere, when statedSize is set
    uint32_t statedSize = 0;
    uint64_t creation = 0;
    uint64_t lastWrite = 0;
    std::vector<size_t> children;
  };
  size_t Child(size_t folder, std::string_view name, bool isFolder);
  size_t FileNode(std::string_view path);

  int version_;
  std::string keyString_;
  bool secondKey_ = false;
  uint64_t creation_ = 0x01D0000000000000ull;
  uint64_t lastWrite_ = 0x01D0000000000000ull;
  std::vector<Node> nodes_;
  mutable Layout layout_ = {};
};

// The LZ code of a compressed entry, with its 9-byte head.
std::string CompressArchiveData(std::string_view data);

// A code making size bytes of zeros: one literal, then runs copies of
// distance 1, as long as they can be while leaving at least 4 bytes to each
// later run (so 1 + 4 runs <= size <= 1 + 8195 runs). Its length is
// 10 + 4 runs bytes.
std::string ArchiveRunCode(uint32_t size, uint32_t runs);

// XORs the archive bytes with the key by file offset (scrambles or
// unscrambles).
void ArchiveXor(std::string* bytes, const std::string& key);
