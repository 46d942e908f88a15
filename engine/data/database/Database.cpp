#include "engine/data/database/Database.h"

#include <algorithm>

#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"

int32_t DatabaseRangeErrorFlag = 0;

namespace {

const std::string kErrorText = "<<ERROR>>";
const std::string kNoData = "×NoData";
const std::string kEmpty;

// Reports of reads out of range: kept out of line so that the reads stay
// small.
[[gnu::noinline, gnu::cold]] void ReportRange(const std::string& line1, const std::string& line2,
                                              const std::string& line3) {
  ShowErrorScreen(line1, line2, line3);
  DatabaseRangeErrorFlag = 1;
}

bool Within(int32_t value, int32_t count) { return value >= 0 && value < count; }

}  // namespace

int32_t Database::GetDataCount(int32_t type) const {
  if (!Within(type, GetTypeCount())) return -1;
  const int32_t count = typeData[static_cast<size_t>(type)].RecordCount();
  return count == 0 ? -1 : count;
}

int32_t Database::GetItemCount(int32_t type) const {
  return Within(type, GetTypeCount()) ? typeData[static_cast<size_t>(type)].ItemCount() : -1;
}

const DatabaseTypeDefinition* Database::Definition(int32_t type) const {
  return Within(type, static_cast<int32_t>(typeDefinitions.size())) ? &typeDefinitions[static_cast<size_t>(type)]
                                                                     : nullptr;
}

int32_t Database::GetItemKind(int32_t type, int32_t item) const {
  const DatabaseTypeDefinition* definition = Definition(type);
  if (!definition || !Within(item, static_cast<int32_t>(definition->itemNames.size())) ||
      !Within(item, GetItemCount(type))) {
    return -1;
  }
  return DatabaseTypeData::CodeKind(typeData[static_cast<size_t>(type)].ItemCodes()[static_cast<size_t>(item)]);
}

int32_t Database::ItemDefault(int32_t type, int32_t item) const {
  const DatabaseTypeDefinition* definition = Definition(type);
  return definition && Within(item, static_cast<int32_t>(definition->itemDefaults.size()))
             ? definition->itemDefaults[static_cast<size_t>(item)]
             : 0;
}

int32_t Database::CellSlot(int32_t type, int32_t data, int32_t item, int32_t kind) const {
  if (!Within(type, GetTypeCount())) return -1;
  const DatabaseTypeData& entries = typeData[static_cast<size_t>(type)];
  if (!Within(data, entries.RecordCount()) || !Within(item, entries.ItemCount())) return -1;
  const int32_t code = entries.ItemCodes()[static_cast<size_t>(item)];
  return DatabaseTypeData::CodeKind(code) == kind ? DatabaseTypeData::CodeSlot(code) : -1;
}

int32_t Database::MissingTypeRead(int32_t type) {
  ReportRange("エラー：存在しないタイプ番号 " + std::to_string(type) + " を読みに行っています", ErrorLocationText(), "");
  return 0;
}

int32_t Database::MissingDataRead(int32_t type, int32_t data, int32_t item) const {
  ReportRange("エラー：タイプ " + std::to_string(type) + " に存在しないデータ番号 " + std::to_string(data) +
                  " を読みに行っています",
              "", "");
  // A negative item has no default: only its own error path could name it.
  return item < 0 ? 0 : ItemDefault(type, item);
}

const std::string& Database::GetString(int32_t type, int32_t data, int32_t item, std::string* out) const {
  const std::string* text = &kErrorText;
  if (type >= GetTypeCount()) {
    ReportRange("エラー：存在しないタイプ番号を読みに行っています", "", "");
  } else if (type < 0) {
    // silent
  } else if (data >= GetDataCount(type)) {
    ReportRange("エラー：存在しないデータ番号を読みに行っています", ErrorLocationText(), "");
  } else if (item >= GetItemCount(type)) {
    ReportRange("エラー：存在しない内容番号を読みに行っています",
                "Type" + std::to_string(type) + " ﾃﾞｰﾀ番号" + std::to_string(data) + " 内容" + std::to_string(item) +
                    "(Max" + std::to_string(GetItemCount(type)) + ")",
                ErrorLocationText());
  } else {
    const int32_t slot = CellSlot(type, data, item, DatabaseTypeData::kStringKind);
    if (slot >= 0) text = &typeData[static_cast<size_t>(type)].String(data, slot);
  }
  if (out) *out = *text;
  return *text;
}

const std::string& Database::GetTypeName(int32_t type) const {
  const DatabaseTypeDefinition* definition = Definition(type);
  return definition ? definition->typeName : kNoData;
}

const std::string& Database::GetItemName(int32_t type, int32_t item) const {
  const DatabaseTypeDefinition* definition = Definition(type);
  if (!definition || !Within(item, static_cast<int32_t>(definition->itemNames.size()))) return kNoData;
  return definition->itemNames[static_cast<size_t>(item)];
}

const std::string& Database::GetDataName(int32_t type, int32_t data) const {
  return GetDataName(type, data, DataNameSource(type));
}

int32_t Database::DataNameSource(int32_t type) const {
  if (NameMode(type) != 2) return type;
  int32_t source = type - 1;
  while (source >= 0 && NameMode(source) == 2) --source;
  return source;
}

int32_t Database::NameMode(int32_t type) const {
  return Within(type, GetTypeCount()) ? typeData[static_cast<size_t>(type)].nameMode : 0;
}

const std::string& Database::GetDataName(int32_t type, int32_t data, int32_t source) const {
  const DatabaseTypeDefinition* definition = Definition(type);
  if (!definition || !Within(data, static_cast<int32_t>(definition->dataNames.size()))) return kNoData;
  const int32_t mode = NameMode(type);
  if (mode == 0) return definition->dataNames[static_cast<size_t>(data)];
  if (mode == 1) {
    if (!Within(type, GetTypeCount())) return kEmpty;
    const DatabaseTypeData& entries = typeData[static_cast<size_t>(type)];
    return Within(data, entries.RecordCount()) && entries.StringCount() > 0 ? entries.String(data, 0) : kEmpty;
  }
  if (mode == 2) {
    // The nearest earlier type that names its records itself.
    if (source >= 0 && Within(data, static_cast<int32_t>(typeDefinitions[static_cast<size_t>(source)].dataNames.size()))) {
      return GetDataName(source, data, source);
    }
    return kNoData;
  }
  // Modes 10000 to 39999 name records after a linked database; no database
  // of this system is ever linked, so they name nothing, like every other
  // mode.
  return kEmpty;
}

std::optional<DatabaseIntCell> Database::IntCellPointer(int32_t type, int32_t data, int32_t item) const {
  if (CellSlot(type, data, item, DatabaseTypeData::kIntegerKind) < 0) return std::nullopt;
  return DatabaseIntCell{type, data, item};
}

int32_t* Database::ResolveIntCell(const DatabaseIntCell& cell) {
  const int32_t slot = CellSlot(cell.type, cell.data, cell.item, DatabaseTypeData::kIntegerKind);
  return slot < 0 ? nullptr : &typeData[static_cast<size_t>(cell.type)].Integer(cell.data, slot);
}

bool Database::SetInt(int32_t type, int32_t data, int32_t item, int32_t value) {
  int32_t* cell = ResolveIntCell({type, data, item});
  if (!cell) return false;
  *cell = value;
  return true;
}

bool Database::SetString(int32_t type, int32_t data, int32_t item, const std::string& text) {
  const int32_t slot = CellSlot(type, data, item, DatabaseTypeData::kStringKind);
  if (slot < 0) return false;
  typeData[static_cast<size_t>(type)].String(data, slot) = text;
  return true;
}

void Database::ApplyDefaults(int32_t type, int32_t data) {
  DatabaseTypeData& entries = typeData[static_cast<size_t>(type)];
  // Items are walked up to the record's cell count, not the item count: an
  // item past it (after codes that hold no value) keeps 0.
  const int32_t items = std::min(entries.ItemCount(), entries.IntegerCount() + entries.StringCount());
  for (int32_t i = 0; i < items; ++i) {
    const int32_t code = entries.ItemCodes()[static_cast<size_t>(i)];
    if (DatabaseTypeData::CodeKind(code) == DatabaseTypeData::kIntegerKind) {
      entries.Integer(data, DatabaseTypeData::CodeSlot(code)) = ItemDefault(type, i);
    }
  }
}

bool Database::SetDataCount(int32_t type, int32_t n) {
  if (!Within(type, GetTypeCount())) {
    ShowErrorScreen("このDBにタイプ" + std::to_string(type) + "は存在しません、対象DBを間違えていないかご確認下さい",
                    ErrorLocationText(), "");
    return false;
  }
  if (n < 0) return false;
  DatabaseTypeData& entries = typeData[static_cast<size_t>(type)];
  const int32_t old = entries.RecordCount();
  const int64_t cellsPerRecord = int64_t{entries.IntegerCount()} + entries.StringCount();
  if (n > old && (n > kMaxDataCount || n * cellsPerRecord > kMaxCells)) return false;
  entries.ResizeRecords(n);
  if (keepDataNames && Within(type, static_cast<int32_t>(typeDefinitions.size()))) {
    // Growing gives every record a name, also on a type that had no record
    // (whose name list need not match its zero records); names beyond the
    // records stay until the records are cut.
    std::vector<std::string>& names = typeDefinitions[static_cast<size_t>(type)].dataNames;
    if (n <= old || names.size() < static_cast<size_t>(n)) names.resize(static_cast<size_t>(n));
  }
  for (int32_t data = old; data < n; ++data) ApplyDefaults(type, data);
  return true;
}

void Database::InitRecord(int32_t type, int32_t data) {
  if (type >= GetTypeCount()) {
    ShowErrorScreen("DB初期化:初期化しようとしたタイプ番号" + std::to_string(type) + "がありません", "", "");
    return;
  }
  if (type < 0 || !Within(data, typeData[static_cast<size_t>(type)].RecordCount())) return;
  typeData[static_cast<size_t>(type)].ClearRecord(data);
  ApplyDefaults(type, data);
}

bool WriteVariableDatabase(SaveBuffer& out, Database& database) {
  bool ok = out.WriteU8(111) && out.WriteI32(database.GetTypeCount());
  for (DatabaseTypeData& entries : database.typeData) ok = ok && entries.Write(out);
  return ok;
}
