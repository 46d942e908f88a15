#include "engine/events/variables/VariableId.h"

#include "engine/data/database/Databases.h"

VariableIdParts DecodeVariableId(int32_t id) {
  using R = VariableRange;
  if (id < 1000000) return {R::kNumber};
  if (id < 1500000) return {R::kMapSelf, id % 100000 / 10, id % 10};
  if (id < 1600000) return {R::kOldCommonSelf};
  if (id < 2000000) return {R::kNothing};
  if (id < 3000000) return {R::kNumberedSet, (id - 2000000) / 100000, id % 100000};
  if (id < 4000000) return {R::kStringVariable, id % 1000000};
  if (id < 8000000) return {R::kNothing};
  if (id < 9000000) return {R::kRandom, id - 8000000};
  if (id < 9100000) return {R::kSystemVariable, id % 1000000};
  if (id < 9180000) return {R::kMapEventPosition, (id - 9100000) / 10, id % 10};
  if (id < 9190000) return {R::kPartyPosition, (id - 9180000) / 10, id % 10};
  if (id < 9900000) return {R::kNothing};
  if (id < 10000000) return {R::kSystemString, id % 100000};
  if (id < 15000000) return {R::kNothing};
  if (id < 16000000) return {R::kCommonSelf, id % 1000000 / 100, id % 100};
  if (id < 1000000000) return {R::kNothing};
  const int32_t data = id % 1000000 / 100;
  const int32_t item = id % 100;
  if (id < 1100000000) return {R::kUserDatabase, id % 1000000000 / 1000000, data, item};
  if (id < 1200000000) return {R::kVariableDatabase, (id - 1100000000) / 1000000, data, item};
  if (id < 1300000000) return {R::kNothingHigh};
  if (id < 1400000000) return {R::kSystemDatabase, (id - 1300000000) / 1000000, data, item};
  return {R::kNothingHigh};
}

int64_t RebaseRelativeVariableId(int32_t id, int32_t mapEventId, int32_t commonEventNumber) {
  if (id >= 1100000 && id < 1200000) return 1000000 + int64_t{mapEventId} * 10 + id % 10;
  if (id >= 1600000 && id < 1700000) return 15000000 + int64_t{commonEventNumber} * 100 + id % 100;
  if (id >= 9190000 && id < 9200000) return 9100000 + int64_t{mapEventId} * 10 + id % 10;
  return id;
}

bool IsIntegerVariableId(int32_t id) {
  const VariableIdParts parts = DecodeVariableId(id);
  switch (parts.range) {
    case VariableRange::kUserDatabase:
      return UserDatabase.GetItemKind(parts.a, parts.c) == 1;
    case VariableRange::kVariableDatabase:
      return VariableDatabase.GetItemKind(parts.a, parts.c) == 1;
    case VariableRange::kSystemDatabase:
      return SystemDatabase.GetItemKind(parts.a, parts.c) == 1;
    case VariableRange::kStringVariable:
    case VariableRange::kSystemString:
      return false;
    case VariableRange::kCommonSelf:
      return !IsCommonSelfStringSlot(parts.b);
    default:
      return !(id >= 1600005 && id <= 1600009);
  }
}
