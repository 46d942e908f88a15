#include "engine/data/database/DatabaseTypeDefinition.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int32_t kLimit = DatabaseTypeDefinition::kStringLimit;

// The per-item lists hold one entry per item name; a count beyond that is
// damage.
template <typename T>
int32_t ItemCount(const std::vector<T>& list) {
  return static_cast<int32_t>(list.size());
}

}  // namespace

bool DatabaseTypeDefinition::Read(ByteCursor& in, uint8_t formatVersion, NamesLeft& left) {
  if (!in.ReadString(typeName, kLimit) ||
      !in.ReadStringList(itemNames, kLimit, static_cast<int32_t>(std::min<int64_t>(kMaxItems, left.items))) ||
      !in.ReadStringList(dataNames, kLimit, static_cast<int32_t>(std::min<int64_t>(INT32_MAX, left.data)))) {
    return false;
  }
  left.items -= static_cast<int64_t>(itemNames.size());
  left.data -= static_cast<int64_t>(dataNames.size());
  const size_t items = itemNames.size();
  itemTexts.resize(items);
  itemOptionTexts.resize(items);
  itemOptionValues.resize(items);
  itemDefaults.resize(items, 0);
  if (!in.ReadString(memo, kLimit)) return false;
  if (formatVersion == kDatabaseVersionNamesOnly) return true;

  int32_t kindCount = 0;
  if (!in.ReadCount(kindCount, 1, kMaxItems) || !in.ReadBytes(itemKindBytes.data(), kindCount)) return false;
  const auto readTexts = [](ByteCursor& c, std::vector<std::string>& texts) { return c.ReadStringList(texts, kLimit); };
  const auto readValues = [](ByteCursor& c, std::vector<int32_t>& values) { return c.ReadI32List(values); };
  return in.ReadStringListPrefix(itemTexts, kLimit, ItemCount(itemTexts)) >= 0 &&
         in.ReadListPrefix(itemOptionTexts, 4, ItemCount(itemOptionTexts), readTexts) >= 0 &&
         in.ReadListPrefix(itemOptionValues, 4, ItemCount(itemOptionValues), readValues) >= 0 &&
         in.ReadI32ListPrefix(itemDefaults, ItemCount(itemDefaults)) >= 0;
}
