#pragma once
// Writes "Game.dat": a 10-byte header whose bytes 0, 8 and 6 are the seeds,
// then the scrambled body: setting bytes, setting strings, the end-byte
// offset, the key length, the 16-bit values, the two key tables, the bytes
// the tables point at, and the end byte. The file has no checksum.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct GameDatContent {
  std::vector<uint8_t> settingBytes;
  std::vector<std::string> settingStrings;
  std::vector<uint16_t> values16;
  std::string archiveKey;
  std::array<uint8_t, 3> seeds{0x5A, 0x13, 0xE7};
  uint8_t endByte = 0xC2;
};

// Where the writer put the fields that a malformed case edits.
struct GameDatLayout {
  size_t endOffsetField = 0;
  size_t keyLengthField = 0;
  size_t firstTableField = 0;
  size_t secondTableField = 0;
  size_t firstTable = 0;
  size_t endByte = 0;
};

std::string WriteGameDat(const GameDatContent& content, GameDatLayout* layout = nullptr);
