#pragma once
// The game variables that are not database cells: map events' self
// variables (per map), ten numbered integer sets (set 0 the normal
// variables, 1-9 the spare ones), string variables, and each common event's
// own self variables (100 integers, 5 strings). Every access goes by
// variable ID (VariableId.h). The global store belongs to the running game;
// each saved-game snapshot holds another.
//
// A store is bound to the root runner whose fields back its system
// variables. The binding belongs to the owner: assigning one store from
// another copies the variables and keeps the target's own binding, so a
// snapshot copied into the live store still answers with the live runner.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/CellEpoch.h"
#include "engine/data/IntegerVariableCell.h"
#include "engine/data/database/Database.h"
#include "engine/data/file/SaveBuffer.h"
#include "engine/events/variables/RootEventRunner.h"

class VariableStore {
 public:
  // Map ids the store keeps self variables for: 0 to this - 1.
  static constexpr int32_t kMapIdLimit = 100000;
  static constexpr int32_t kCommonSelfIntegers = 100;
  static constexpr int32_t kCommonSelfStrings = 5;

  RootEventRunner* rootRunner = &RootRunner;  // referred to, not owned; may be null
  // One-shot map for the next access from outside the interpreter; -1 none.
  // Every access consumes it.
  int32_t mapOverride = -1;
  std::vector<std::vector<std::vector<int32_t>>> mapSelfVariables;  // [map][event][slot]
  std::vector<std::vector<int32_t>> numberedSets;                   // [set][entry]
  std::vector<std::string> stringVariables;
  std::vector<std::vector<int32_t>> commonSelfIntegers;  // [common event][slot]
  std::vector<std::vector<std::string>> commonSelfStrings;
  CellEpochMark epochMark;  // prepared commands re-resolve cells after any change of shape

  // Bound to the global root runner, sized by Reset.
  VariableStore();
  // Bound to the given runner, with every list empty and nothing read from
  // the game's data (for objects built before the data is loaded).
  explicit VariableStore(RootEventRunner* runner) : rootRunner(runner) {}
  VariableStore(const VariableStore&) = default;
  VariableStore& operator=(const VariableStore& other);

  // Empties every list, then sizes the common self lists from the global
  // common-event list and the numbered sets from system-database types
  // 14-23 (when it has at least 20 types; a missing type gives an empty set).
  void Reset();

  // Access by variable ID. `other` stands in for the variable database
  // (a saved game's). Reads of refused IDs give 0, -1, "" or "<<ERROR>>";
  // refused writes show the error screen or are dropped.
  int32_t GetVariable(int64_t id, Database* other = nullptr);
  void SetVariable(int64_t id, int32_t value, Database* other = nullptr);
  std::string GetStringVariable(int64_t id, Database* other = nullptr);
  void SetStringVariable(int64_t id, const std::string& value, Database* other = nullptr);

  // The same for the interpreter, which names the map of map self variables
  // itself (below 0: the current map). The one-shot override is dropped.
  int32_t GetVariableOnMap(int64_t id, int32_t mapId, Database* other = nullptr);
  void SetVariableOnMap(int64_t id, int32_t value, int32_t mapId, Database* other = nullptr);
  std::string GetStringVariableOnMap(int64_t id, int32_t mapId, Database* other = nullptr);
  void SetStringVariableOnMap(int64_t id, const std::string& value, int32_t mapId, Database* other = nullptr);

  // System variables and strings backed by the bound root runner.
  int32_t ReadSystemVariable(int32_t n) const;
  void WriteSystemVariable(int32_t n, int32_t value);
  std::string ReadSystemString(int32_t n) const;
  void WriteSystemString(int32_t n, const std::string& value);

  // The store's part of a save body: the engine's random state, then every
  // list. Loading expects a freshly constructed store; saveVersion chooses
  // the string length form (int16 before 111). False when the record runs
  // past the end or is damaged (the buffer's overrun flag is then set).
  bool SaveVariables(SaveBuffer& out) const;
  bool LoadVariables(SaveBuffer& in, int32_t saveVersion, bool restoreRandomState);

 private:
  static constexpr int32_t kOverrideOrCurrentMap = INT32_MIN;
  // The map an access names: mapId when 0 or more; for the plain accesses
  // (kOverrideOrCurrentMap) the one-shot override when set; else the current
  // map. Consumes the override.
  int32_t TakeMap(int32_t mapId);
  int32_t ReadInteger(int32_t id, int32_t map, Database* other);
  void WriteInteger(int32_t id, int32_t value, int32_t map, Database* other);
  std::string ReadString(int32_t id, Database* other);
  void WriteString(int32_t id, const std::string& value, Database* other);
};

// The running game's variables, bound to RootRunner.
extern VariableStore Variables;

// On the global store and databases: database integer cells, numbered-set
// entries that exist, and this common event's integer self variables
// (1600000-1600099 but 1600005-1600009) with commonEventIndex 0 or more.
// kNone for every other ID.
IntegerVariableCell GetIntegerVariablePointer(int32_t id, int32_t commonEventIndex);
// The cell's storage now, or null when it no longer exists.
int32_t* ResolveIntegerVariableCell(const IntegerVariableCell& cell);
