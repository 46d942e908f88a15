#pragma once
// A database: a list of types, each with a data part (item codes and one
// record per data number) and a definition part (names and item defaults).
// Every value is addressed by type, data and item. The game carries three:
// the system database (the engine's settings tables), the user database (the
// game's own tables) and the variable database (the tables the running game
// writes and every save file carries).
//
// Reads report numbers out of range on the error screen, set
// DatabaseRangeErrorFlag and give a neutral value; negative numbers give the
// neutral value silently. Writes of the wrong kind or out of range are
// refused with false and no message: their callers report them. Texts are
// returned by reference, valid until the database next changes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/database/DatabaseTypeData.h"
#include "engine/data/database/DatabaseTypeDefinition.h"
#include "engine/data/file/SaveBuffer.h"

// Set by a read out of range; the event run loop reports and clears it.
extern int32_t DatabaseRangeErrorFlag;

// An integer cell, kept by prepared commands and resolved at each use, so
// that it survives the database growing or being replaced.
struct DatabaseIntCell {
  int32_t type;
  int32_t data;
  int32_t item;

  bool operator==(const DatabaseIntCell&) const = default;
};

class Database {
 public:
  // While set, SetDataCount keeps each type's data names in step with its
  // records.
  uint8_t keepDataNames = 1;
  std::vector<DatabaseTypeData> typeData;                // index = type
  std::vector<DatabaseTypeDefinition> typeDefinitions;  // index = type

  // No types.
  Database() = default;

  int32_t GetTypeCount() const { return static_cast<int32_t>(typeData.size()); }
  // -1 when the type does not exist or has no record.
  int32_t GetDataCount(int32_t type) const;
  // -1 when the type does not exist.
  int32_t GetItemCount(int32_t type) const;
  // 1 integer, 2 string; -1 when the type or item has no definition.
  int32_t GetItemKind(int32_t type, int32_t item) const;

  // Inline: the reads of running events and of the map scene come here.
  int32_t GetInt(int32_t type, int32_t data, int32_t item) const;
  // When out is given it receives a copy of the text too.
  const std::string& GetString(int32_t type, int32_t data, int32_t item, std::string* out = nullptr) const;

  // "×NoData" when the type (or item) has no definition.
  const std::string& GetTypeName(int32_t type) const;
  const std::string& GetItemName(int32_t type, int32_t item) const;
  // The record's name as the type's name mode gives it.
  const std::string& GetDataName(int32_t type, int32_t data) const;
  // The type's name mode; 0 for a type that does not exist.
  int32_t NameMode(int32_t type) const;
  // The type whose records lend their names to the type's: the type itself,
  // or for name mode 2 the nearest earlier type of another mode (-1: none).
  int32_t DataNameSource(int32_t type) const;
  // GetDataName with the source already known, for walks over many records.
  const std::string& GetDataName(int32_t type, int32_t data, int32_t source) const;

  // The cell of an integer item; none when a number is out of range or the
  // item holds no integer.
  std::optional<DatabaseIntCell> IntCellPointer(int32_t type, int32_t data, int32_t item) const;
  // The cell now, or null when it no longer exists.
  int32_t* ResolveIntCell(const DatabaseIntCell& cell);

  bool SetInt(int32_t type, int32_t data, int32_t item, int32_t value);
  bool SetString(int32_t type, int32_t data, int32_t item, const std::string& text);

  // How far SetDataCount grows a type: as many records as a file may give a
  // type without values, and 2^24 cells (64 MiB of integers) over all the
  // records. Events address data numbers below 10000 and items below 100,
  // well inside both.
  static constexpr int32_t kMaxDataCount = DatabaseTypeData::kMaxRecordsWithoutValues;
  static constexpr int64_t kMaxCells = int64_t{1} << 24;

  // Makes the type hold n records; appended records take the item defaults.
  // False, changing nothing, when the type does not exist (after the error
  // screen), n is negative, or growing would pass the limits above.
  bool SetDataCount(int32_t type, int32_t n);
  // Resets one record to the type's defaults.
  void InitRecord(int32_t type, int32_t data);

  // Loads DataFolder() + name + ".dat" and ".project". A missing file is
  // reported in a message box and ends the process with exit code 1; a file
  // of an unknown version or a damaged one is reported in a message box and
  // gives false.
  bool Load(const std::string& name);
  // The ".dat" part on a file already in memory; path names it in messages.
  // The format version read is recorded as the version of this name's
  // files.
  bool ReadDataFile(ByteCursor& file, const std::string& name, const std::string& path);
  // The ".project" part on a file already in memory, in the layout of the
  // format version.
  bool ReadProjectFile(ByteCursor& file, const std::string& name, uint8_t formatVersion);

  // Reads the variable database's save section (marker byte, type count,
  // type-data blocks) into this database, then takes the definitions from
  // the game's variable-database ".project" file, in the layout its files
  // were loaded in. False, with the cursor's overrun flag set, when the
  // section runs past the end or is damaged.
  bool ReadSavedVariableDatabase(ByteCursor& in);

  bool operator==(const Database&) const = default;

 private:
  // The error paths of GetInt: report, set the flag, give the neutral value.
  [[gnu::cold]] static int32_t MissingTypeRead(int32_t type);
  [[gnu::cold]] int32_t MissingDataRead(int32_t type, int32_t data, int32_t item) const;

  const DatabaseTypeDefinition* Definition(int32_t type) const;
  int32_t ItemDefault(int32_t type, int32_t item) const;
  // Sets every integer item i below the record's cell count to its default
  // (0 when the item has none).
  void ApplyDefaults(int32_t type, int32_t data);
  // The slot of the cell when the numbers name an existing record and item
  // and the item holds a value of this kind, else -1.
  int32_t CellSlot(int32_t type, int32_t data, int32_t item, int32_t kind) const;
};

inline int32_t Database::GetInt(int32_t type, int32_t data, int32_t item) const {
  // One unsigned test for both ends; a type not below the count is reported
  // before a negative one is refused.
  if (static_cast<uint32_t>(type) >= typeData.size()) return type < 0 ? -1 : MissingTypeRead(type);
  const DatabaseTypeData& entries = typeData[static_cast<size_t>(type)];
  const int32_t records = entries.RecordCount();
  if (data >= (records == 0 ? -1 : records)) return MissingDataRead(type, data, item);
  if (data < 0 || static_cast<uint32_t>(item) >= static_cast<uint32_t>(entries.ItemCount())) return -1;
  const int32_t code = entries.ItemCodes()[static_cast<size_t>(item)];
  if (DatabaseTypeData::CodeKind(code) != DatabaseTypeData::kIntegerKind) return 0;
  return entries.Integer(data, DatabaseTypeData::CodeSlot(code));
}

// Writes the variable database's save section; every type's format tag
// becomes -2. False when the save buffer is full.
bool WriteVariableDatabase(SaveBuffer& out, Database& database);

// The version byte of the last ".dat" file read under this name, 0xC1 when
// none was read.
uint8_t DatabaseFileVersion(const std::string& name);
