#include <algorithm>

#include "engine/data/database/Databases.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundItems.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SpeechLibrary.h"
#include "runtime/Movan.h"

using namespace sound_items;

int32_t SoundManager::SynthesizeSpeech(const std::string& text, int32_t speed, int32_t volume, int32_t tempo) {
  if (!speechMarksSized) {
    speechMarks.assign(static_cast<size_t>(std::max(SoundEntryCounts.baseCount[kSoundEffect], 0)) + 10, 0);
    speechMarksSized = 1;
  }
  const int32_t target = SoundEntryCounts.SpareEntry(kSoundEffect);
  tempo = std::max(tempo, 20);
  int32_t size = 0;
  const unsigned char* wave = SpeechSynthesize(text.c_str(), Saturate(int64_t{speed} * 100 / tempo), &size);
  if (!wave) return kAdjusted;

  const int32_t type = TypeOf(kSoundEffect);
  SystemDatabase.SetString(type, target, 0, "合成音声");
  SystemDatabase.SetInt(type, target, 1, volume);
  SystemDatabase.SetInt(type, target, 2, tempo);
  // Freed once it has played.
  SystemDatabase.SetInt(type, target, 3, 1);
  SetSoundLoadMode(0);
  if (HandleOf(kSoundEffect, target) > 0) Release(kSoundEffect, target);
  const int32_t handle = size > 0 ? CreateSoundFromMemory(wave, static_cast<size_t>(size), 1, -1) : -1;
  if (handle != -1) handles[kSoundEffect][target] = handle;
  SetMark(speechMarks, target, 1);
  SpeechFreeWave(wave);
  SoundEntryCounts.AdvanceFileCount(kSoundEffect);
  return target;
}
