#pragma once
// The definition part of one database type: its names, memo and item
// defaults, as the ".project" file holds them. The engine uses the type
// name, the data and item names and the item defaults; the other fields
// hold what the file gives.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"

// The two versions of the database files: 0xC0 ".project" records end after
// the memo, 0xC1 records go on with the item tables.
inline constexpr uint8_t kDatabaseVersionNamesOnly = 0xC0;
inline constexpr uint8_t kDatabaseVersionItemTables = 0xC1;

struct DatabaseTypeDefinition {
  static constexpr int32_t kMaxItems = 100;

  // A ".project" file holds at most this many definitions, item names and
  // data names, so that its definitions cost a bounded multiple of its size
  // (an empty definition or item name takes about 30 times its bytes). Far
  // beyond any game: variables name types 0 to 99, a type has at most
  // kMaxItems items, and the data names are those of the records (a type
  // holds at most 1,000,000 records without values).
  static constexpr int32_t kMaxDefinitionsPerFile = 10000;
  static constexpr int64_t kMaxItemNamesPerFile = 100000;
  static constexpr int64_t kMaxDataNamesPerFile = 1000000;
  // What is left of the names a file may still give.
  struct NamesLeft {
    int64_t items = kMaxItemNamesPerFile;
    int64_t data = kMaxDataNamesPerFile;
  };

  // The editor's files keep every string within this, the closing NUL
  // included.
  static constexpr int32_t kStringLimit = 2048;

  std::string typeName;
  std::string memo;
  std::vector<std::string> dataNames{""};
  std::vector<std::string> itemNames{""};
  std::array<uint8_t, kMaxItems> itemKindBytes{};
  std::vector<std::string> itemTexts{""};
  std::vector<std::vector<std::string>> itemOptionTexts{{}};
  std::vector<std::vector<int32_t>> itemOptionValues{{}};
  std::vector<int32_t> itemDefaults{0};

  // Reads one ".project" record in the layout of the format version (0xC0
  // records end after the memo). The per-item lists take as many entries as
  // there are item names. False, with the cursor's overrun flag set, when the
  // record is damaged: a negative count, more kind bytes than items can
  // have, more per-item entries than item names, a string over the limit or
  // a field past the end, more than kMaxItems item names, or more names than
  // are left.
  bool Read(ByteCursor& in, uint8_t formatVersion, NamesLeft& left);
  bool Read(ByteCursor& in, uint8_t formatVersion) {
    NamesLeft left;
    return Read(in, formatVersion, left);
  }

  // Type name, item-name count, data-name count and memo.
  static constexpr int64_t kSmallestRecordBytes = 4 * 4;

  bool operator==(const DatabaseTypeDefinition&) const = default;
};
