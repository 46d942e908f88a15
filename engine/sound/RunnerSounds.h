#pragma once
// What the root event runner keeps of the sounds: the master volumes and the
// music and background sound playing, remembered so that a loaded game
// restarts them. The runner lives on a floor above; it installs the source
// of its fields, and until it does (in tests of this floor) a record of this
// floor stands in. Resolved at each use.

#include <cstdint>
#include <string>

struct RunnerSounds {
  int32_t* currentEntry[2];  // music, background sound: -1 none, -3 started from a file
  int32_t* masterVolume;     // 3: music, background sound, sound effects, in percent
  std::string* fileName[2];
  int32_t* values[2];        // 3 each: volume, tempo, loop start
};

RunnerSounds LiveRunnerSounds();
// Null puts back this floor's own record.
void SetRunnerSoundsSource(RunnerSounds (*source)());
