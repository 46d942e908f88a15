#pragma once
// Builds the bytes of a file in the game's formats: little-endian numbers and
// string fields (int32 length counting the closing NUL, the bytes, the NUL).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/FileBuffer.h"

class ByteWriter {
 public:
  ByteWriter& U8(uint8_t v);
  ByteWriter& U16(uint16_t v);
  ByteWriter& U32(uint32_t v);
  ByteWriter& U64(uint64_t v);
  ByteWriter& I32(int32_t v);
  ByteWriter& Text(std::string_view text);
  ByteWriter& Raw(std::string_view bytes);
  // List fields: int32 count, then the entries.
  ByteWriter& Texts(const std::vector<std::string>& texts);
  ByteWriter& I32List(std::span<const int32_t> values);
  ByteWriter& ByteList(std::span<const uint8_t> bytes);

  int32_t Size() const { return static_cast<int32_t>(bytes_.size()); }
  const std::string& Bytes() const { return bytes_; }
  std::string& Bytes() { return bytes_; }

 private:
  std::string bytes_;
};

// The bytes of a writer's output (or a fuzzer's input) in a cursor to read
// them with: a FileBuffer, or a SaveBuffer when asked.
template <typename Cursor = FileBuffer>
Cursor BufferOf(std::string_view bytes) {
  return Cursor(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// Overwrites the int32 at offset (a byte edit of a writer's output).
void PatchI32(std::string& bytes, size_t offset, int32_t value);

// Puts a header of headerSize filler bytes with the three seeds at
// seedOffsets before body and scrambles the body as the engine does. With
// checksum set, header byte 2 becomes the checksum of the plain body (none is
// made when every seed is 0).
std::string FrameDataFile(const std::string& body, int headerSize, const std::array<uint8_t, 3>& seeds,
                          const DataFileSeedOffsets& seedOffsets = kDataFileSeeds, bool checksum = true);
