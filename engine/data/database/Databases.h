#pragma once
// The game's three databases, their loading at start-up and the name tables
// through which events name types, data records and items.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/data/database/Database.h"

extern Database SystemDatabase;
extern Database UserDatabase;
extern Database VariableDatabase;

inline const std::string kSystemDatabaseName = "BasicData\\SysDataBase";
inline const std::string kUserDatabaseName = "BasicData\\DataBase";
inline const std::string kVariableDatabaseName = "BasicData\\CDataBase";

// Sound types of the system database (music, background sounds, sound
// effects) get this many spare records beyond their files' own, for sounds
// played by file name.
inline constexpr int32_t kSpareSoundRecords = 10;

// Replaces the three databases by fresh ones, loads them and adds the spare
// sound records.
void LoadDatabases();

// The records of the system database's sound kind (0 music, 1 background
// sounds, 2 sound effects: types 1 to 3) without the spares, as loaded;
// every title re-initialisation stores it with the system state.
int32_t SoundBaseRecordCount(int32_t soundKind);

enum DatabaseSelector : int32_t {
  kSelectVariableDatabase = 0,
  kSelectSystemDatabase = 1,
  kSelectUserDatabase = 2,
};

// The database a selector names; null for any other value.
Database* SelectDatabase(int32_t selector);

// Per database: type name to type number, and per type data name to data
// number and item name to item number; a name given to several numbers maps
// to the lowest.
struct DatabaseNames {
  std::map<std::string, int32_t> types;
  std::vector<std::map<std::string, int32_t>> data;   // index = type
  std::vector<std::map<std::string, int32_t>> items;  // index = type

  bool operator==(const DatabaseNames&) const = default;
};

// Index = DatabaseSelector.
extern std::array<DatabaseNames, 3> DatabaseNameTables;

void BuildDatabaseNameMaps();
