#pragma once
// The system state's bookkeeping of the sound entries: how many records of
// system database types 1 to 3 the game's files gave (the spare entries for
// sounds given by file name follow them), which spare entry each kind takes
// next, and the volume item of the music and background sound started last.
// Replaced with the system state at every title re-initialisation.

#include <cstdint>

struct SoundEntries {
  int32_t baseCount[3] = {0, 0, 0};
  // Spare entries used so far, 0..9, counting round; sound-effect files and
  // synthesized speech share theirs.
  int32_t fileCount[3] = {0, 0, 0};
  int32_t baseVolume[2] = {0, 0};

  // The record counts of types 1 to 3 without their spares, as loaded.
  void StoreBaseRecordCounts();
  // The kind's next spare entry.
  int32_t SpareEntry(int32_t kind) const { return baseCount[kind] + fileCount[kind]; }
  void AdvanceFileCount(int32_t kind) { fileCount[kind] = (fileCount[kind] + 1) % 10; }

  bool operator==(const SoundEntries&) const = default;
};

extern SoundEntries SoundEntryCounts;
