#pragma once
// Writes a database's file pair: the ".dat" file (the 10-byte header with
// seeds and checksum, then the scrambled body: version byte, type count,
// type-data blocks, version byte) and the ".project" file (plain: type
// count, type definitions in the layout of the version).
//
// A block's head follows the type's format tag: a tag of -2 or less writes
// the tag and the name mode, -1 writes the tag alone, and a tag of 0 or more
// asks for the plain head that is the item count itself.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/data/database/Database.h"

class TestDirectory;

struct DatabaseFileOptions {
  std::array<uint8_t, 3> seeds{0x19, 0x6B, 0xD4};
  uint8_t version = 0xC1;
  std::optional<uint8_t> closingVersion;  // the version byte again when empty
};

std::string WriteDatabaseDat(const Database& database, const DatabaseFileOptions& options = {});
std::string WriteDatabaseProject(const Database& database, uint8_t version = 0xC1);

// Writes both files of the database name (such as "BasicData\DataBase")
// under the folder Data of the directory.
void WriteDatabaseFiles(const TestDirectory& dir, const std::string& name, const Database& database,
                        const DatabaseFileOptions& options = {});
