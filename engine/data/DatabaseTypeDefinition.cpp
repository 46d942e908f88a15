#include "engine/data/DatabaseTypeDefinition.h"

namespace {

constexpr int32_t kLimit = DatabaseTypeDefinition::kStringLimit;

// int32 count (at most maxCount), then that many strings, replacing the list.
bool ReadStrings(ByteCursor& in, std::vector<std::string>& list, int32_t maxCount = ByteCursor::kNoLimit) {
  int32_t count = 0;
  if (!in.ReadCount(count, 4, maxCount)) return false;
  list.resize(static_cast<size_t>(count));
  for (std::string& text : list) {
    if (!in.ReadString(text, kLimit)) return false;
  }
  return true;
}

bool ReadInts(ByteCursor& in, std::vector<int32_t>& list) {
  int32_t count = 0;
  if (!in.ReadCount(count, 4)) return false;
  list.resize(static_cast<size_t>(count));
  return in.ReadI32Array(list.data(), count);
}

// int32 count (at most the list's length), then that many entries read into
// the first entries of the list.
template <typename T, typename ReadEntry>
bool ReadPrefix(ByteCursor& in, std::vector<T>& list, int64_t minEntryBytes, ReadEntry readEntry) {
  int32_t count = 0;
  if (!in.ReadCount(count, minEntryBytes, static_cast<int32_t>(list.size()))) return false;
  for (int32_t i = 0; i < count; ++i) {
    if (!readEntry(list[static_cast<size_t>(i)])) return false;
  }
  return true;
}

}  // namespace

bool DatabaseTypeDefinition::Read(ByteCursor& in, uint8_t formatVersion) {
  if (!in.ReadString(typeName, kLimit) || !ReadStrings(in, itemNames) || !ReadStrings(in, dataNames)) return false;
  const size_t items = itemNames.size();
  itemTexts.resize(items);
  itemOptionTexts.resize(items);
  itemOptionValues.resize(items);
  itemDefaults.resize(items, 0);
  if (!in.ReadString(memo, kLimit)) return false;
  if (formatVersion == kDatabaseVersionNamesOnly) return true;

  int32_t kindCount = 0;
  if (!in.ReadCount(kindCount, 1, kMaxItems) || !in.ReadBytes(itemKindBytes.data(), kindCount)) return false;
  return ReadPrefix(in, itemTexts, 4, [&in](std::string& text) { return in.ReadString(text, kLimit); }) &&
         ReadPrefix(in, itemOptionTexts, 4, [&in](std::vector<std::string>& texts) { return ReadStrings(in, texts); }) &&
         ReadPrefix(in, itemOptionValues, 4, [&in](std::vector<int32_t>& values) { return ReadInts(in, values); }) &&
         ReadPrefix(in, itemDefaults, 4, [&in](int32_t& value) { return in.ReadI32(value); });
}
