#include "tests/support/ByteWriter.h"

#include <cstring>

#include "engine/data/file/DataFileScramble.h"

ByteWriter& ByteWriter::U8(uint8_t v) {
  bytes_.push_back(static_cast<char>(v));
  return *this;
}

ByteWriter& ByteWriter::U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }

ByteWriter& ByteWriter::U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }

ByteWriter& ByteWriter::U64(uint64_t v) { return U32(static_cast<uint32_t>(v)).U32(static_cast<uint32_t>(v >> 32)); }

ByteWriter& ByteWriter::I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }

ByteWriter& ByteWriter::Text(std::string_view text) {
  I32(static_cast<int32_t>(text.size() + 1));
  bytes_.append(text);
  return U8(0);
}

ByteWriter& ByteWriter::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

ByteWriter& ByteWriter::Texts(const std::vector<std::string>& texts) {
  I32(static_cast<int32_t>(texts.size()));
  for (const std::string& text : texts) Text(text);
  return *this;
}

ByteWriter& ByteWriter::I32List(std::span<const int32_t> values) {
  I32(static_cast<int32_t>(values.size()));
  for (int32_t value : values) I32(value);
  return *this;
}

ByteWriter& ByteWriter::ByteList(std::span<const uint8_t> bytes) {
  I32(static_cast<int32_t>(bytes.size()));
  bytes_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return *this;
}

void PatchI32(std::string& bytes, size_t offset, int32_t value) {
  ByteWriter w;
  w.I32(value);
  std::memcpy(bytes.data() + offset, w.Bytes().data(), 4);
}

std::string FrameDataFile(const std::string& body, int headerSize, const std::array<uint8_t, 3>& seeds,
                          const DataFileSeedOffsets& seedOffsets, bool checksum) {
  std::string file(static_cast<size_t>(headerSize), '\0');
  for (int i = 0; i < headerSize; ++i) file[static_cast<size_t>(i)] = static_cast<char>(0xA5 ^ (i * 37));
  for (int k = 0; k < 3; ++k) file[static_cast<size_t>(seedOffsets.offsets[k])] = static_cast<char>(seeds[k]);
  std::string scrambled = body;
  uint8_t check = 0;
  DataFileScramble("", reinterpret_cast<uint8_t*>(scrambled.data()), scrambled.size(), 3, seeds.data(),
                   kScrambleMakeChecksum, check);
  if (checksum) file[2] = static_cast<char>(check);
  return file + scrambled;
}
