#pragma once
// Writes "BasicData\TileSetData.dat": the 10-byte header with seeds and
// checksum, then the scrambled body (version byte, count, records, end byte).
// Version 0xCF writes each tile flag as one byte (its low 8 bits), 0xD0 as
// an int32.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/TileSet.h"

struct TileSetFileOptions {
  std::array<uint8_t, 3> seeds{0x47, 0x0C, 0xB3};
  uint8_t version = 0xD0;
  uint8_t endByte = 0xCF;
  uint8_t separator = 0xFF;
};

std::string WriteTileSetFile(const std::vector<TileSet>& tileSets, const TileSetFileOptions& options = {});
