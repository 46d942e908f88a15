#include "tests/support/SoundDatabase.h"

#include "engine/data/database/Databases.h"
#include "tests/support/DatabaseBuilder.h"

void WriteSoundTypes(Database& db, const std::vector<SoundRecord>& music,
                     const std::vector<SoundRecord>& backgroundSounds, const std::vector<SoundRecord>& soundEffects) {
  if (db.typeData.size() < 4) db.typeData.resize(4);
  if (db.typeDefinitions.size() < 4) db.typeDefinitions.resize(4);
  const std::vector<SoundRecord>* kinds[3] = {&music, &backgroundSounds, &soundEffects};
  for (int32_t kind = 0; kind < 3; ++kind) {
    const std::vector<SoundRecord>& records = *kinds[kind];
    const int32_t type = kind + 1;
    const auto count = static_cast<int32_t>(records.size());
    db.typeData[static_cast<size_t>(type)] = MakeTypeData({2000, 1000, 1001, 1002}, count + kSpareSoundRecords);
    db.typeDefinitions[static_cast<size_t>(type)] =
        MakeDefinition("sound", {"file", "volume", "tempo", "third"}, std::vector<std::string>(records.size(), "s"));
    for (int32_t r = 0; r < count; ++r) {
      const SoundRecord& record = records[static_cast<size_t>(r)];
      db.SetString(type, r, 0, record.file);
      db.SetInt(type, r, 1, record.volume);
      db.SetInt(type, r, 2, record.tempo);
      db.SetInt(type, r, 3, record.third);
    }
  }
}
