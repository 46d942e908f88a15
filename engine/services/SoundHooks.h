#pragma once
// The sound manager as the map and the characters reach it: background music,
// background sounds and sound effects by system-database entry, or prepared
// from a file name. The sound manager installs its functions through
// SetSoundHooks; until it does, nothing plays.

#include <cstdint>
#include <string>

struct SoundHooks {
  // kind 0 music, 1 background sound, 2 sound effect; entry -1 stops.
  void (*play)(int32_t kind, int32_t entry, int32_t fade, int32_t flag);
  // The entry to hand to play for a file below the Data folder, or
  // kNoSoundEntry when there is none.
  int32_t (*playFile)(const std::string& name, int32_t kind, int32_t fade, int32_t flag, int32_t volume,
                      int32_t pitch);
};

inline constexpr int32_t kNoSoundEntry = -10;

void SoundPlay(int32_t kind, int32_t entry, int32_t fade, int32_t flag);
int32_t SoundPlayFile(const std::string& name, int32_t kind, int32_t fade, int32_t flag, int32_t volume,
                      int32_t pitch);

// Null restores the defaults: play does nothing, playFile answers
// kNoSoundEntry. A table with a null member gets that member's default.
void SetSoundHooks(const SoundHooks* hooks);
