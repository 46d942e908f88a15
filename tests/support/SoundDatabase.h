#pragma once
// Sound entries of the system database for tests: types 1 to 3 (music,
// background sounds, sound effects) with item 0 the file, 1 the volume, 2
// the tempo or frequency, 3 the loop start or free-after-play flag, each
// type followed by the ten spare records that sounds given by file name
// take. Types 0 and beyond 3 are kept.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/database/Database.h"

struct SoundRecord {
  std::string file;
  int32_t volume = 100;
  int32_t tempo = 100;
  int32_t third = 0;
};

void WriteSoundTypes(Database& db, const std::vector<SoundRecord>& music,
                     const std::vector<SoundRecord>& backgroundSounds, const std::vector<SoundRecord>& soundEffects);
