// The database files: the ".dat" file (scrambled type data, version byte
// before and after) and the ".project" file (plain type definitions), and
// the variable database's section of a save file.

#include <map>

#include "engine/data/file/DataFileFrame.h"
#include "engine/data/database/Database.h"
#include "engine/data/database/Databases.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kDataFileHeaderBytes = 10;

bool IsKnownVersion(uint8_t version) {
  return version == kDatabaseVersionNamesOnly || version == kDatabaseVersionItemTables;
}

// The ".project" layout follows the version of the ".dat" file read with it;
// a save's variable database is read long after, in a fresh database, and
// must still find the version of the game's files.
std::map<std::string, uint8_t>& LoadedVersions() {
  static std::map<std::string, uint8_t> versions;
  return versions;
}

[[noreturn]] void ExitMissing(const std::string& path) {
  const std::string text =
      "データベースファイル読み込みに失敗、強制終了します。\n\r\n\r" + path + "\r\nのファイルがあるか確認してください";
  ShowMessageBox(text.c_str(), "読み込みエラー");
  ExitProgram(1);
}

bool ReportDamaged(const std::string& name) {
  const std::string text = "データベースファイル\n" + name + "が\n破損しているか、バージョンが古い可能性があります。";
  ShowMessageBox(text.c_str(), "MsgBox");
  return false;
}

// Reads the blocks of types types into the list, over the types it holds.
// The list grows as blocks are read, so that a damaged file has built no
// more than it held; it ends types long in every case, as if resized first.
bool ReadTypeBlocks(ByteCursor& in, std::vector<DatabaseTypeData>& typeData, int32_t types) {
  if (typeData.size() > static_cast<size_t>(types)) typeData.resize(static_cast<size_t>(types));
  int64_t valuelessLeft = DatabaseTypeData::kMaxRecordsWithoutValuesPerFile;
  for (size_t t = 0; t < static_cast<size_t>(types); ++t) {
    if (t == typeData.size()) typeData.emplace_back();
    if (!typeData[t].Read(in, valuelessLeft)) {
      typeData.resize(static_cast<size_t>(types));
      return false;
    }
  }
  return true;
}

bool LoadProject(Database& database, const std::string& name, uint8_t formatVersion) {
  const std::string path = DataFolder() + name + ".project";
  FileBuffer file;
  if (!file.Load(path.c_str())) ExitMissing(path);
  return database.ReadProjectFile(file, name, formatVersion);
}

}  // namespace

uint8_t DatabaseFileVersion(const std::string& name) {
  const auto found = LoadedVersions().find(name);
  return found == LoadedVersions().end() ? kDatabaseVersionItemTables : found->second;
}

bool Database::Load(const std::string& name) {
  const std::string path = DataFolder() + name + ".dat";
  FileBuffer file;
  if (!file.Load(path.c_str())) ExitMissing(path);
  if (!ReadDataFile(file, name, path)) return false;
  file.Release();
  return LoadProject(*this, name, DatabaseFileVersion(name));
}

bool Database::ReadDataFile(ByteCursor& file, const std::string& name, const std::string& path) {
  DataFileFrame frame;
  uint8_t version = 0;
  if (!OpenDataFileFrame(file, kDataFileHeaderBytes, kDataFileSeeds, frame) || !file.ReadU8(version) ||
      !IsKnownVersion(version)) {
    return ReportDamaged(name);
  }
  LoadedVersions()[name] = version;
  int32_t types = 0;
  if (!file.ReadCount(types, DatabaseTypeData::kSmallestBlockBytes)) return ReportDamaged(name);
  if (!ReadTypeBlocks(file, typeData, types)) return ReportDamaged(name);
  if (!file.ReadU8(version) || !IsKnownVersion(version)) return ReportDamaged(name);
  TestDataFileChecksum(path, file, frame);
  return true;
}

bool Database::ReadProjectFile(ByteCursor& file, const std::string& name, uint8_t formatVersion) {
  int32_t types = 0;
  if (!file.ReadCount(types, DatabaseTypeDefinition::kSmallestRecordBytes,
                      DatabaseTypeDefinition::kMaxDefinitionsPerFile)) {
    return ReportDamaged(name);
  }
  typeDefinitions.resize(static_cast<size_t>(types));
  DatabaseTypeDefinition::NamesLeft namesLeft;
  for (DatabaseTypeDefinition& definition : typeDefinitions) {
    // A record is taken only when it was read whole.
    DatabaseTypeDefinition read = definition;
    if (!read.Read(file, formatVersion, namesLeft)) return ReportDamaged(name);
    definition = std::move(read);
  }
  return true;
}

bool Database::ReadSavedVariableDatabase(ByteCursor& in) {
  uint8_t marker = 0;
  int32_t types = 0;
  if (!in.ReadU8(marker) || !in.ReadCount(types, DatabaseTypeData::kSmallestBlockBytes)) return false;
  if (!ReadTypeBlocks(in, typeData, types)) return false;
  // The definitions are always the current game's.
  return LoadProject(*this, kVariableDatabaseName, DatabaseFileVersion(kVariableDatabaseName));
}
