// The variable store's part of a save body. Every count is tested against
// the bytes left before anything is sized to it, so a damaged save can make
// the reader allocate no more than its own bytes pay for.

#include <algorithm>

#include "engine/data/CommonEventList.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/EngineRandom.h"

namespace {

// Saves from this version on give strings an int32 length, older ones int16.
constexpr int32_t kLongStringVersion = 111;

// A string of the store: the length counting the closing NUL, the text, NUL.
bool WriteStoreString(SaveBuffer& out, const std::string& text) { return out.WriteString(text); }

// Writes a list whose count the record keeps in one byte: the count modulo
// 256 and exactly that many entries.
template <typename T, typename WriteEntry>
bool WriteByteCountedList(SaveBuffer& out, const std::vector<T>& list, WriteEntry write) {
  const uint8_t count = static_cast<uint8_t>(list.size());
  if (!out.WriteU8(count)) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!write(list[i])) return false;
  }
  return true;
}

bool ReadI32Entries(SaveBuffer& in, std::vector<int32_t>& list, int32_t count) {
  if (!in.CountFits(count, 4)) return false;
  list.resize(static_cast<size_t>(count));
  return in.ReadI32Array(list.data(), count);
}

// The common self lists: as long as the stored count, or as the game's
// common events when it has more; an entry beyond the stored ones that did
// not exist yet takes `fresh`, one that existed keeps its values. Stored
// entries start empty: the record fills them.
template <typename T>
void SizeCommonLists(std::vector<T>& lists, size_t stored, size_t commons, const T& fresh) {
  const size_t had = lists.size();
  lists.resize(std::max(commons, stored));
  for (size_t i = std::max(had, stored); i < commons; ++i) lists[i] = fresh;
  if (stored >= commons) lists.resize(stored);
}

}  // namespace

bool VariableStore::SaveVariables(SaveBuffer& out) const {
  const auto writeI32 = [&out](int32_t value) { return out.WriteI32(value); };
  const auto writeString = [&out](const std::string& text) { return WriteStoreString(out, text); };
  bool ok = out.WriteI32(static_cast<int32_t>(EngineRandom(kRandomRead))) &&
            out.WriteI32(static_cast<int32_t>(mapSelfVariables.size()));
  for (const auto& events : mapSelfVariables) {
    ok = ok && out.WriteI32(static_cast<int32_t>(events.size()));
    for (const auto& slots : events) ok = ok && WriteByteCountedList(out, slots, writeI32);
  }
  ok = ok && out.WriteI32(static_cast<int32_t>(numberedSets.size()));
  for (const auto& set : numberedSets) {
    ok = ok && out.WriteI32(static_cast<int32_t>(set.size())) &&
         out.WriteBytes(set.data(), static_cast<int64_t>(set.size()) * 4);
  }
  ok = ok && out.WriteI32(static_cast<int32_t>(stringVariables.size()));
  for (const std::string& text : stringVariables) ok = ok && WriteStoreString(out, text);
  ok = ok && out.WriteI32(static_cast<int32_t>(commonSelfIntegers.size()));
  for (const auto& slots : commonSelfIntegers) ok = ok && WriteByteCountedList(out, slots, writeI32);
  ok = ok && out.WriteI32(static_cast<int32_t>(commonSelfStrings.size()));
  for (const auto& texts : commonSelfStrings) ok = ok && WriteByteCountedList(out, texts, writeString);
  return ok;
}

bool VariableStore::LoadVariables(SaveBuffer& in, int32_t saveVersion, bool restoreRandomState) {
  InvalidateVariableCells();
  const int lengthBytes = saveVersion >= kLongStringVersion ? 4 : 2;
  int32_t random = 0;
  if (!in.ReadI32(random)) return false;
  if (restoreRandomState) EngineRandom(kRandomSet, static_cast<uint32_t>(random));

  // Every map takes at least its event count, every event its slot byte.
  int32_t maps = 0;
  if (!in.ReadCount(maps, 4)) return false;
  mapSelfVariables.assign(static_cast<size_t>(maps), {});
  for (auto& events : mapSelfVariables) {
    int32_t eventCount = 0;
    if (!in.ReadCount(eventCount, 1)) return false;
    events.resize(static_cast<size_t>(eventCount));
    for (auto& slots : events) {
      uint8_t slotCount = 0;
      if (!in.ReadU8(slotCount) || !ReadI32Entries(in, slots, slotCount)) return false;
    }
  }

  int32_t sets = 0;
  if (!in.ReadCount(sets, 4)) return false;
  numberedSets.assign(static_cast<size_t>(sets), {});
  for (auto& set : numberedSets) {
    int32_t entries = 0;
    if (!in.ReadCount(entries, 4) || !ReadI32Entries(in, set, entries)) return false;
  }

  int32_t strings = 0;
  if (!in.ReadCount(strings, lengthBytes)) return false;
  stringVariables.assign(static_cast<size_t>(strings), {});
  for (std::string& text : stringVariables) {
    if (!in.ReadTerminatedString(text, lengthBytes)) return false;
  }

  // A game with more common events than the save knew gives the new ones
  // fresh self variables.
  const size_t commons = static_cast<size_t>(CommonEvents.Count());
  int32_t storedIntegers = 0;
  if (!in.ReadCount(storedIntegers, 1)) return false;
  SizeCommonLists(commonSelfIntegers, static_cast<size_t>(storedIntegers), commons,
                  std::vector<int32_t>(kCommonSelfIntegers, 0));
  for (int32_t i = 0; i < storedIntegers; ++i) {
    uint8_t count = 0;
    if (!in.ReadU8(count) || !ReadI32Entries(in, commonSelfIntegers[static_cast<size_t>(i)], count)) return false;
  }

  int32_t storedStrings = 0;
  if (!in.ReadCount(storedStrings, 1)) return false;
  SizeCommonLists(commonSelfStrings, static_cast<size_t>(storedStrings), commons,
                  std::vector<std::string>(kCommonSelfStrings));
  for (int32_t i = 0; i < storedStrings; ++i) {
    uint8_t count = 0;
    if (!in.ReadU8(count) || !in.CountFits(count, lengthBytes)) return false;
    std::vector<std::string>& texts = commonSelfStrings[static_cast<size_t>(i)];
    texts.resize(count);
    for (std::string& text : texts) {
      if (!in.ReadTerminatedString(text, lengthBytes)) return false;
    }
  }
  return true;
}
