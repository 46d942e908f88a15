#pragma once
// Small reads shared by the sound manager's parts: the items of a sound
// entry, the per-entry marks and the volume arithmetic.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/database/Databases.h"

namespace sound_items {

// System database type of a sound kind.
inline int32_t TypeOf(int32_t kind) { return kind + 1; }

inline int32_t Item(int32_t kind, int32_t entry, int32_t item) {
  return SystemDatabase.GetInt(TypeOf(kind), entry, item);
}

inline std::string FileItem(int32_t kind, int32_t entry) {
  std::string name;
  SystemDatabase.GetString(TypeOf(kind), entry, 0, &name);
  return name;
}

// Item 1 or 2, where 0 stands for 100 percent.
inline int32_t PercentItem(int32_t kind, int32_t entry, int32_t item) {
  const int32_t value = Item(kind, entry, item);
  return value == 0 ? 100 : value;
}

// The marks are sized from the data counts when the tables are made; an
// entry beyond them (the database grew since) reads 0 and keeps no mark.
inline int32_t MarkAt(const std::vector<int32_t>& marks, int32_t entry) {
  return entry >= 0 && static_cast<size_t>(entry) < marks.size() ? marks[static_cast<size_t>(entry)] : 0;
}
inline void SetMark(std::vector<int32_t>& marks, int32_t entry, int32_t value) {
  if (entry >= 0 && static_cast<size_t>(entry) < marks.size()) marks[static_cast<size_t>(entry)] = value;
}

inline int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// a x b / 100, truncated toward zero.
inline int32_t PercentOf(int32_t a, int32_t b) { return Saturate(int64_t{a} * b / 100); }

// A volume computed in floating point, truncated toward zero.
inline int32_t TruncateVolume(double value) {
  if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;
  return static_cast<int32_t>(value);
}

// ".ogg" or ".mid" (either letter case) among the last five characters.
inline bool EndsWithin(const std::string& name, const char* lower, const char* upper) {
  const std::string tail = name.size() > 5 ? name.substr(name.size() - 5) : name;
  return tail.find(lower) != std::string::npos || tail.find(upper) != std::string::npos;
}
inline bool IsOggName(const std::string& name) { return EndsWithin(name, ".ogg", ".OGG"); }
inline bool IsMidiName(const std::string& name) { return EndsWithin(name, ".mid", ".MID"); }

}  // namespace sound_items
