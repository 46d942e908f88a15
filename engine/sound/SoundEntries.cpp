#include "engine/sound/SoundEntries.h"

#include "engine/data/database/Databases.h"

SoundEntries SoundEntryCounts;

void SoundEntries::StoreBaseRecordCounts() {
  for (int32_t kind = 0; kind < 3; ++kind) baseCount[kind] = SoundBaseRecordCount(kind);
}
