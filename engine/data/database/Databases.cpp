#include "engine/data/database/Databases.h"

#include <algorithm>

Database SystemDatabase;
Database UserDatabase;
Database VariableDatabase;
std::array<DatabaseNames, 3> DatabaseNameTables;

void LoadDatabases() {
  SystemDatabase = Database();
  UserDatabase = Database();
  VariableDatabase = Database();
  SystemDatabase.Load(kSystemDatabaseName);
  UserDatabase.Load(kUserDatabaseName);
  VariableDatabase.Load(kVariableDatabaseName);
  for (int32_t type = 1; type <= 3; ++type) {
    // A type without records counts as 0 records here, not as its data
    // count of -1, so that it too gets all its spares.
    const int32_t records = std::max(SystemDatabase.GetDataCount(type), 0);
    SystemDatabase.SetDataCount(type, records + kSpareSoundRecords);
  }
}

int32_t SoundBaseRecordCount(int32_t soundKind) {
  return SystemDatabase.GetDataCount(soundKind + 1) - kSpareSoundRecords;
}

Database* SelectDatabase(int32_t selector) {
  switch (selector) {
    case kSelectVariableDatabase: return &VariableDatabase;
    case kSelectSystemDatabase: return &SystemDatabase;
    case kSelectUserDatabase: return &UserDatabase;
    default: return nullptr;
  }
}

void BuildDatabaseNameMaps() {
  for (int32_t selector = 0; selector < 3; ++selector) {
    const Database& database = *SelectDatabase(selector);
    DatabaseNames& names = DatabaseNameTables[static_cast<size_t>(selector)];
    const int32_t types = database.GetTypeCount();
    names = DatabaseNames{};
    names.data.resize(static_cast<size_t>(types));
    names.items.resize(static_cast<size_t>(types));
    // Each type's name source once, upwards: a chain of types that borrow
    // their record names costs one step per type, not one per record.
    std::vector<int32_t> sources(static_cast<size_t>(types));
    for (int32_t type = 0; type < types; ++type) {
      const bool borrows = database.NameMode(type) == 2;
      const bool previousBorrows = type > 0 && sources[static_cast<size_t>(type - 1)] != type - 1;
      sources[static_cast<size_t>(type)] =
          !borrows ? type : previousBorrows ? sources[static_cast<size_t>(type - 1)] : type - 1;
    }
    // Downwards, so that the lowest number of a repeated name wins.
    for (int32_t type = types - 1; type >= 0; --type) {
      names.types[database.GetTypeName(type)] = type;
      for (int32_t data = database.GetDataCount(type) - 1; data >= 0; --data) {
        names.data[static_cast<size_t>(type)][database.GetDataName(type, data, sources[static_cast<size_t>(type)])] = data;
      }
      for (int32_t item = database.GetItemCount(type) - 1; item >= 0; --item) {
        names.items[static_cast<size_t>(type)][database.GetItemName(type, item)] = item;
      }
    }
  }
}
