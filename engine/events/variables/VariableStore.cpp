#include "engine/events/variables/VariableStore.h"

#include <algorithm>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/MapHooks.h"
#include "engine/events/variables/VariableId.h"
#include "engine/services/EngineRandom.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/VariableRead.h"
#include "runtime/ShiftJis.h"

// Built empty: the game's data is not loaded yet, and the title
// re-initialisation replaces it with a sized store.
VariableStore Variables(&RootRunner);

namespace {

const std::string kErrorText = "<<ERROR>>";
constexpr int32_t kNumberedSetCount = 10;
constexpr int32_t kFirstSetType = 14;

// Page conditions and other code below the interpreter read the global store.
int32_t ReadGlobalVariable(int32_t id) { return Variables.GetVariable(id); }
const bool kReaderInstalled = (SetVariableReadHandler(ReadGlobalVariable), true);

template <typename T>
T* Entry(std::vector<T>& list, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < list.size() ? &list[static_cast<size_t>(index)] : nullptr;
}

template <typename T>
T& GrowTo(std::vector<T>& list, int32_t index) {
  if (list.size() <= static_cast<size_t>(index)) {
    list.resize(static_cast<size_t>(index) + 1);
    InvalidateVariableCells();
  }
  return list[static_cast<size_t>(index)];
}

int32_t Wrapped(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

// Field 0/1 in tiles, 2/3 precise, 4 height; 5-9 nothing.
int32_t PositionField(const CharacterPosition& at, int32_t field) {
  switch (field) {
    case 0: return at.preciseX / 2;
    case 1: return at.preciseY / 2;
    case 2: return at.preciseX;
    case 3: return at.preciseY;
    case 4: return at.height;
    default: return 0;
  }
}

bool SetPositionField(CharacterPosition& at, int32_t field, int32_t value) {
  switch (field) {
    case 0: at.preciseX = Wrapped(int64_t{value} * 2); return true;
    case 1: at.preciseY = Wrapped(int64_t{value} * 2); return true;
    case 2: at.preciseX = value; return true;
    case 3: at.preciseY = value; return true;
    case 4: at.height = value; return true;
    default: return false;
  }
}

Database& DatabaseOf(VariableRange range) {
  if (range == VariableRange::kUserDatabase) return UserDatabase;
  if (range == VariableRange::kSystemDatabase) return SystemDatabase;
  return VariableDatabase;
}

// The variable database grows to hold a record that is asked for.
void GrowForAccess(Database& db, int32_t type, int32_t data) {
  if (data >= db.GetDataCount(type)) db.SetDataCount(type, data + 1);
}

// The error line quotes the assigned string in at most 255 bytes: the string
// is cut at a character boundary so that the whole line fits.
std::string StringWriteErrorLine(int32_t id, const std::string& value) {
  const std::string head = "格納先 " + std::to_string(id) + " 代入値「";
  const std::string tail = "」  文字列操作：「文字列」を格納すべき場所に「変数」を代入しようとしました";
  constexpr size_t kRoom = 255;
  const size_t room = kRoom > head.size() + tail.size() ? kRoom - head.size() - tail.size() : 0;
  const size_t keep = value.size() <= room ? value.size() : ShiftJisCutLength(value.data(), room);
  return head + value.substr(0, keep) + tail;
}

}  // namespace

VariableStore::VariableStore() { Reset(); }

VariableStore& VariableStore::operator=(const VariableStore& other) {
  if (this == &other) return *this;
  InvalidateVariableCells();
  mapOverride = other.mapOverride;
  mapSelfVariables = other.mapSelfVariables;
  numberedSets = other.numberedSets;
  stringVariables = other.stringVariables;
  commonSelfIntegers = other.commonSelfIntegers;
  commonSelfStrings = other.commonSelfStrings;
  return *this;
}

void VariableStore::Reset() {
  InvalidateVariableCells();
  mapOverride = -1;
  mapSelfVariables.clear();
  stringVariables.clear();
  const size_t commons = static_cast<size_t>(CommonEvents.Count());
  commonSelfIntegers.assign(commons, std::vector<int32_t>(kCommonSelfIntegers, 0));
  commonSelfStrings.assign(commons, std::vector<std::string>(kCommonSelfStrings));
  numberedSets.assign(kNumberedSetCount, {});
  if (SystemDatabase.GetTypeCount() >= 20) {
    for (int32_t set = 0; set < kNumberedSetCount; ++set) {
      const int32_t count = SystemDatabase.GetDataCount(kFirstSetType + set);
      numberedSets[static_cast<size_t>(set)].assign(static_cast<size_t>(std::max(count, 0)), 0);
    }
  }
}

int32_t VariableStore::TakeMap(int32_t mapId) {
  const int32_t taken = mapOverride;
  mapOverride = -1;
  if (mapId >= 0) return mapId;
  if (mapId == kOverrideOrCurrentMap && taken >= 0) return taken;
  return CurrentMapHooks().currentMapId();
}

int32_t VariableStore::GetVariable(int64_t id, Database* other) { return GetVariableOnMap(id, kOverrideOrCurrentMap, other); }

void VariableStore::SetVariable(int64_t id, int32_t value, Database* other) { SetVariableOnMap(id, value, kOverrideOrCurrentMap, other); }

std::string VariableStore::GetStringVariable(int64_t id, Database* other) {
  return GetStringVariableOnMap(id, kOverrideOrCurrentMap, other);
}

void VariableStore::SetStringVariable(int64_t id, const std::string& value, Database* other) {
  SetStringVariableOnMap(id, value, kOverrideOrCurrentMap, other);
}

int32_t VariableStore::GetVariableOnMap(int64_t id, int32_t mapId, Database* other) {
  // Normal and spare variables first: they are most of the reads.
  if (id >= 2000000 && id < 3000000) {
    mapOverride = -1;
    const int32_t n = static_cast<int32_t>(id);
    const std::vector<int32_t>* set = Entry(numberedSets, (n - 2000000) / 100000);
    if (!set) return 0;
    const int32_t entry = n % 100000;
    return static_cast<size_t>(entry) < set->size() ? (*set)[static_cast<size_t>(entry)] : 0;
  }
  const int32_t map = TakeMap(mapId);
  if (!IsVariableIdInRange(id)) return 0;
  return ReadInteger(static_cast<int32_t>(id), map, other);
}

void VariableStore::SetVariableOnMap(int64_t id, int32_t value, int32_t mapId, Database* other) {
  if (id >= 2000000 && id < 3000000) {
    mapOverride = -1;
    const int32_t n = static_cast<int32_t>(id);
    std::vector<int32_t>& set = GrowTo(numberedSets, (n - 2000000) / 100000);
    GrowTo(set, n % 100000) = value;
    return;
  }
  const int32_t map = TakeMap(mapId);
  if (!IsVariableIdInRange(id)) return;
  WriteInteger(static_cast<int32_t>(id), value, map, other);
}

std::string VariableStore::GetStringVariableOnMap(int64_t id, int32_t mapId, Database* other) {
  TakeMap(mapId);
  if (!IsVariableIdInRange(id)) return kErrorText;
  return ReadString(static_cast<int32_t>(id), other);
}

void VariableStore::SetStringVariableOnMap(int64_t id, const std::string& value, int32_t mapId, Database* other) {
  TakeMap(mapId);
  if (!IsVariableIdInRange(id)) return;
  WriteString(static_cast<int32_t>(id), value, other);
}

int32_t VariableStore::ReadInteger(int32_t id, int32_t map, Database* other) {
  const VariableIdParts p = DecodeVariableId(id);
  switch (p.range) {
    case VariableRange::kNumber:
      return id;
    case VariableRange::kMapSelf: {
      auto* events = Entry(mapSelfVariables, map);
      auto* slots = events ? Entry(*events, p.a) : nullptr;
      const int32_t* value = slots ? Entry(*slots, p.b) : nullptr;
      return value ? *value : 0;
    }
    case VariableRange::kOldCommonSelf:
      ShowErrorScreen("読込先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数]です、読み込めません", ErrorLocationText(), "");
      return 0;
    case VariableRange::kStringVariable:
      ShowErrorScreen("「変数」呼び出し時の呼び出しIDが不適切です => ID " + std::to_string(id), ErrorLocationText(), "");
      return -1;
    case VariableRange::kRandom:
      return static_cast<int32_t>(EngineRandom(kRandomStep) % (static_cast<uint32_t>(p.a) + 1u));
    case VariableRange::kSystemVariable:
      return ReadSystemVariable(p.a);
    case VariableRange::kMapEventPosition: {
      CharacterPosition at;
      return CurrentMapHooks().mapEventPosition(p.a, at) ? PositionField(at, p.b) : 0;
    }
    case VariableRange::kPartyPosition: {
      const MapHooks& hooks = CurrentMapHooks();
      if (p.a > hooks.followerCount()) return -1;
      CharacterPosition at;
      return hooks.partyMemberPosition(p.a, at) ? PositionField(at, p.b) : 0;
    }
    case VariableRange::kCommonSelf: {
      if (IsCommonSelfStringSlot(p.b)) return 0;
      auto* slots = Entry(commonSelfIntegers, p.a);
      const int32_t* value = slots ? Entry(*slots, p.b) : nullptr;
      return value ? *value : 0;
    }
    case VariableRange::kUserDatabase:
    case VariableRange::kSystemDatabase:
      return DatabaseOf(p.range).GetInt(p.a, p.b, p.c);
    case VariableRange::kVariableDatabase:
      if (other) return other->GetInt(p.a, p.b, p.c);
      GrowForAccess(VariableDatabase, p.a, p.b);
      return VariableDatabase.GetInt(p.a, p.b, p.c);
    default:
      return 0;
  }
}

void VariableStore::WriteInteger(int32_t id, int32_t value, int32_t map, Database* other) {
  const VariableIdParts p = DecodeVariableId(id);
  switch (p.range) {
    case VariableRange::kMapSelf:
      // No current map: there is no list to write into.
      if (map < 0 || map >= kMapIdLimit) return;
      GrowTo(GrowTo(GrowTo(mapSelfVariables, map), p.a), p.b) = value;
      return;
    case VariableRange::kCommonSelf:
      if (IsCommonSelfStringSlot(p.b)) {
        ShowErrorScreen("整数をコモンセルフの文字列域に代入しようとしました", "", "");
      } else if (auto* slots = Entry(commonSelfIntegers, p.a)) {
        // A list loaded short from a save keeps its length.
        if (int32_t* cell = Entry(*slots, p.b)) *cell = value;
      }
      return;
    case VariableRange::kSystemVariable:
      WriteSystemVariable(p.a, value);
      return;
    case VariableRange::kMapEventPosition: {
      const MapHooks& hooks = CurrentMapHooks();
      CharacterPosition at;
      if (hooks.mapEventPosition(p.a, at) && SetPositionField(at, p.b, value)) hooks.setMapEventPosition(p.a, at);
      return;
    }
    case VariableRange::kPartyPosition: {
      const MapHooks& hooks = CurrentMapHooks();
      CharacterPosition at;
      if (p.a <= hooks.followerCount() && hooks.partyMemberPosition(p.a, at) && SetPositionField(at, p.b, value)) {
        hooks.setPartyMemberPosition(p.a, at);
      }
      return;
    }
    case VariableRange::kNumber:
      ShowErrorScreen("格納先IDが1000000未満です => " + std::to_string(id), ErrorLocationText(), "");
      return;
    case VariableRange::kOldCommonSelf:
      ShowErrorScreen("格納先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数指定]です、格納できません", ErrorLocationText(), "");
      return;
    case VariableRange::kVariableDatabase: {
      Database& db = other ? *other : VariableDatabase;
      GrowForAccess(db, p.a, p.b);
      if (!db.SetInt(p.a, p.b, p.c, value)) {
        ShowErrorScreen("可変DBの「変数」を格納すべき場所に「文字列変数」を代入しようとしました", ErrorLocationText(),
                        "格納先 " + std::to_string(id));
      }
      return;
    }
    case VariableRange::kSystemDatabase:
    case VariableRange::kNothingHigh:
      ShowErrorScreen("格納先 " + std::to_string(id) + " 代入値 " + std::to_string(value) + "  変数処理:エラー、代入できません",
                      ErrorLocationText(), "");
      return;
    default:
      return;  // strings, random numbers, system strings, the user database, unused ranges
  }
}

std::string VariableStore::ReadString(int32_t id, Database* other) {
  const VariableIdParts p = DecodeVariableId(id);
  switch (p.range) {
    case VariableRange::kOldCommonSelf:
      ShowErrorScreen("読込先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数]です、読み込めません", ErrorLocationText(), "");
      return kErrorText;
    case VariableRange::kCommonSelf: {
      if (!IsCommonSelfStringSlot(p.b)) return kErrorText;
      auto* texts = Entry(commonSelfStrings, p.a);
      const std::string* text = texts ? Entry(*texts, p.b - 5) : nullptr;
      return text ? *text : std::string();
    }
    case VariableRange::kStringVariable: {
      const std::string* text = Entry(stringVariables, p.a);
      return text ? *text : std::string();
    }
    case VariableRange::kSystemString:
      return ReadSystemString(p.a);
    case VariableRange::kUserDatabase:
    case VariableRange::kSystemDatabase:
      return DatabaseOf(p.range).GetString(p.a, p.b, p.c);
    case VariableRange::kVariableDatabase:
      if (other) return other->GetString(p.a, p.b, p.c);
      GrowForAccess(VariableDatabase, p.a, p.b);
      return VariableDatabase.GetString(p.a, p.b, p.c);
    default:
      return kErrorText;
  }
}

void VariableStore::WriteString(int32_t id, const std::string& value, Database* other) {
  const VariableIdParts p = DecodeVariableId(id);
  switch (p.range) {
    case VariableRange::kOldCommonSelf:
      ShowErrorScreen("格納先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数指定]です､格納できません", ErrorLocationText(), "");
      return;
    case VariableRange::kCommonSelf:
      if (IsCommonSelfStringSlot(p.b)) {
        GrowTo(GrowTo(commonSelfStrings, p.a), p.b - 5) = value;
      } else {
        ShowErrorScreen("文字列をコモンセルフの整数域に代入しようとしました", ErrorLocationText(),
                        "格納先 " + std::to_string(id));
      }
      return;
    case VariableRange::kStringVariable:
      GrowTo(stringVariables, p.a) = value;
      return;
    case VariableRange::kSystemString:
      WriteSystemString(p.a, value);
      return;
    case VariableRange::kVariableDatabase: {
      Database& db = other ? *other : VariableDatabase;
      GrowForAccess(db, p.a, p.b);
      if (!db.SetString(p.a, p.b, p.c, value)) {
        ShowErrorScreen(other ? "可変DBの「文字列」を格納すべき場所に「変数」を代入しようとしました"
                              : "DBの「文字列」を格納すべき場所に「変数」を代入しようとしました",
                        ErrorLocationText(), "格納先 " + std::to_string(id));
      }
      return;
    }
    default:
      ShowErrorScreen(StringWriteErrorLine(id, value), ErrorLocationText(), "");
      return;
  }
}

IntegerVariableCell GetIntegerVariablePointer(int32_t id, int32_t commonEventIndex) {
  const VariableIdParts p = DecodeVariableId(id);
  switch (p.range) {
    case VariableRange::kUserDatabase:
    case VariableRange::kVariableDatabase:
    case VariableRange::kSystemDatabase: {
      const Database& db = DatabaseOf(p.range);
      if (!db.IntCellPointer(p.a, p.b, p.c)) return {};
      const int32_t selector = p.range == VariableRange::kUserDatabase     ? kSelectUserDatabase
                               : p.range == VariableRange::kSystemDatabase ? kSelectSystemDatabase
                                                                           : kSelectVariableDatabase;
      return {IntegerVariableCell::kDatabase, selector, p.a, p.b, p.c};
    }
    case VariableRange::kNumberedSet: {
      const IntegerVariableCell cell{IntegerVariableCell::kNumberedSet, p.a, p.b};
      return ResolveIntegerVariableCell(cell) ? cell : IntegerVariableCell{};
    }
    default:
      if (id >= 1600000 && id < 1600100 && !IsCommonSelfStringSlot(id % 100) && commonEventIndex >= 0) {
        const IntegerVariableCell cell{IntegerVariableCell::kCommonSelf, commonEventIndex, id % 100};
        return ResolveIntegerVariableCell(cell) ? cell : IntegerVariableCell{};
      }
      return {};
  }
}

int32_t* ResolveIntegerVariableCell(const IntegerVariableCell& cell) {
  switch (cell.kind) {
    case IntegerVariableCell::kNumberedSet: {
      auto* set = Entry(Variables.numberedSets, cell.a);
      return set ? Entry(*set, cell.b) : nullptr;
    }
    case IntegerVariableCell::kCommonSelf: {
      auto* slots = Entry(Variables.commonSelfIntegers, cell.a);
      return slots ? Entry(*slots, cell.b) : nullptr;
    }
    case IntegerVariableCell::kDatabase: {
      Database* db = SelectDatabase(cell.a);
      return db ? db->ResolveIntCell({cell.b, cell.c, cell.d}) : nullptr;
    }
    default:
      return nullptr;
  }
}
